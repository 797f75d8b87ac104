#!/usr/bin/env bash
# A first session: in an empty folder create a cube through F2 and typed numbers, save it
# with "save As", export it as STL and quit; both files hold exactly what was built.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

bin=${1:?usage: journey_create_cube.sh path/to/kovrin}
e2e_start_display
e2e_make_workdir
e2e_start_editor "$bin"
e2e_wait_title "KOVRIN - default.rq" 5
e2e_focus

# F2 opens "create Primitive" without the focus (nothing had it); F2 again focuses it.
e2e_keys F2 F2
# "new cUbe", then X1 = 10, Tab Y1 = 20, Tab Z1 = 30, Enter; "siZe" = 4, Enter; create.
e2e_type u
e2e_type 1
e2e_type 10
e2e_keys Tab
e2e_type 20
e2e_keys Tab
e2e_type 30
e2e_keys Return
e2e_type z
e2e_type 4
e2e_keys Return
e2e_type .

# Alt gives the menu bar the focus, Down opens "  File" with the focus.
e2e_alt
e2e_keys Down
e2e_type a
e2e_type cube.rq
e2e_keys Return
e2e_wait_file "$E2E_WORKDIR/cube.rq" 5 $((1221 + 12 * 17 + 15 * 18 + 8 * 4))
e2e_wait_title "KOVRIN - cube.rq" 5
e2e_type p
e2e_type cube.stl
e2e_keys Return
e2e_wait_file "$E2E_WORKDIR/cube.stl" 5 $((84 + 50 * 18))
e2e_type q
e2e_wait_exit 5 || e2e_fail "Quit did not end the editor"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit code $E2E_STATUS after Quit, expected 0"

python3 - "$E2E_WORKDIR" <<'PY' || e2e_fail "file contents differ (see above)"
import struct, sys
d = sys.argv[1]
rq = open(f"{d}/cube.rq", "rb").read()
assert rq[:5] == b"RQNEW", rq[:5]
v, t, l, flag = struct.unpack_from("<4i", rq, 5)
assert (v, t, l, flag) == (17, 18, 4, 1), (v, t, l, flag)
pts = [struct.unpack_from("<3f", rq, 21 + 12 * i) for i in range(v)]
cube = pts[9:]
for axis, lo, hi in ((0, 8.0, 12.0), (1, 18.0, 22.0), (2, 30.0, 34.0)):
    assert sorted({p[axis] for p in cube}) == [lo, hi], (axis, cube)
tris = [struct.unpack_from("<3i", rq, 21 + 12 * v + 12 * i) for i in range(t)]
assert all(9 <= i < 17 for tri in tris[6:] for i in tri), tris[6:]
stl = open(f"{d}/cube.stl", "rb").read()
(count,) = struct.unpack_from("<I", stl, 80)
assert count == 18, count
corners = {struct.unpack_from("<3f", stl, 84 + 50 * i + 12 + 12 * k) for i in range(18) for k in range(3)}
assert {tuple(p) for p in cube} <= corners, "cube corners missing from the STL"
PY
echo "PASS: cube created by keys, saved as cube.rq ($(stat -c %s "$E2E_WORKDIR/cube.rq") bytes), exported, Quit with 0"
