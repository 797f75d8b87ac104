#!/usr/bin/env bash
# A model named on the command line: select all of it (F3 "sl. eNtire model"), move it by
# X1 = 7 through F4 "Move selection", Save; a second start loads the moved model and saves
# it under another name, and both files hold the moved coordinates.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

bin=${1:?usage: journey_move_selection.sh path/to/kovrin}
e2e_start_display
e2e_make_workdir

# A unit cube at the origin: 8 vertices, 12 triangles, 1 line, part names "default".
python3 - "$E2E_WORKDIR/cube.rq" <<'PY'
import struct, sys
pts = [(x, y, z) for z in (0.0, 1.0) for y in (0.0, 1.0) for x in (0.0, 1.0)]
tris = [(0, 2, 1), (1, 2, 3), (4, 5, 6), (5, 7, 6), (0, 1, 4), (1, 5, 4),
        (2, 6, 3), (3, 6, 7), (0, 4, 2), (2, 4, 6), (1, 3, 5), (3, 7, 5)]
out = b"RQNEW" + struct.pack("<4i", len(pts), len(tris), 1, 1)
out += b"".join(struct.pack("<3f", *p) for p in pts)
out += b"".join(struct.pack("<3i", *t) for t in tris)
out += bytes(len(tris)) + struct.pack("<12H", *([0x7FFF] * 12)) + struct.pack("<2i", 0, 7)
out += b"default     " + bytes(12 * 99)
open(sys.argv[1], "wb").write(out)
PY
size=$(stat -c %s "$E2E_WORKDIR/cube.rq")

e2e_start_editor "$bin" cube.rq
e2e_wait_title "KOVRIN - cube.rq" 5
e2e_focus
e2e_keys F3 F3    # "Selection...", then its focus
e2e_type n        # sl. eNtire model
e2e_keys F4       # "Actions" (the focus follows: a menu had it)
e2e_type m        # Move selection
e2e_type 1        # X1
e2e_type 7
e2e_keys Return
e2e_type .        # ....confirm.....
e2e_alt
e2e_keys Down     # "  File"
e2e_type s        # Save (replaces the file whole once the new contents are written)
first_x() { python3 -c "import struct,sys; print(struct.unpack_from('<f', open(sys.argv[1],'rb').read(), 21)[0])" "$1"; }
for i in $(seq 1 50); do
  [ "$(first_x "$E2E_WORKDIR/cube.rq")" = 7.0 ] && break
  sleep 0.1
done
e2e_type q
e2e_wait_exit 5 || e2e_fail "Quit did not end the editor"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit code $E2E_STATUS after Quit"

check_moved() {
  python3 - "$1" "$size" <<'PY' || e2e_fail "$1 does not hold the moved cube"
import struct, sys
data = open(sys.argv[1], "rb").read()
assert len(data) == int(sys.argv[2]), (len(data), sys.argv[2])
v, t, l, flag = struct.unpack_from("<4i", data, 5)
assert (v, t, l, flag) == (8, 12, 1, 1), (v, t, l, flag)
pts = [struct.unpack_from("<3f", data, 21 + 12 * i) for i in range(v)]
want = [(x + 7.0, y, z) for z in (0.0, 1.0) for y in (0.0, 1.0) for x in (0.0, 1.0)]
assert pts == want, pts
assert all(f & 0x80 for f in data[21 + 12 * v + 12 * t: 21 + 12 * v + 13 * t]), "not all selected"
PY
}
check_moved "$E2E_WORKDIR/cube.rq"

# Start again: the moved model comes back and is written again as it was read.
e2e_start_editor "$bin" cube.rq
e2e_wait_title "KOVRIN - cube.rq" 5
e2e_focus
e2e_alt
e2e_keys Down
e2e_type a
e2e_type again.rq
e2e_keys Return
e2e_wait_file "$E2E_WORKDIR/again.rq" 5 "$size"
e2e_type q
e2e_wait_exit 5 || e2e_fail "Quit did not end the second editor"
check_moved "$E2E_WORKDIR/again.rq"
echo "PASS: whole model selected, moved by X1 = 7, saved, loaded again and saved again"
