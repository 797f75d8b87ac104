#!/usr/bin/env bash
# The window-less tools as a script runs them, with no display at all: every command's
# success and failure, and other programs reading what --convert writes.
# Usage: tools.sh KOVRIN_BINARY [BUILD_DIR]
set -euo pipefail
bin="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
here="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
fail() { echo "FAIL: $*" >&2; exit 1; }

cp "$here/fuzz/corpus/obj/features.obj" quad.obj
cp "$here/fuzz/corpus/ply/ascii_vertex_colors.ply" colours.ply
# A closed box in OBJ: the reference for the conversions.
cat > box.obj <<'OBJ'
v 0 0 0
v 2 0 0
v 2 3 0
v 0 3 0
v 0 0 4
v 2 0 4
v 2 3 4
v 0 3 4
g bottom
f 1 4 3 2
g walls
f 1 2 6 5
f 2 3 7 6
f 3 4 8 7
f 4 1 5 8
g lid
f 5 6 7 8
OBJ

# Successes (exit 0, no message).
for args in "--render box.obj -o a.png" "--render box.obj -o a.bmp" "--render colours.ply -o b.bmp --size 320x200 --view iso --rdet 2" \
            "--render quad.obj -o c.png --view top --rdet 0" "--thumbnail box.obj t.png 128" \
            "--convert box.obj box.stl" "--convert box.obj box.ply" "--convert box.ply box2.obj" \
            "--convert box.stl box.rq" "--info box.rq"; do
  # shellcheck disable=SC2086
  "$bin" $args > out.txt 2> err.txt || fail "kovrin $args: exit $? $(cat err.txt)"
  [ ! -s err.txt ] || fail "kovrin $args said: $(cat err.txt)"
done
[ ! -e KOVRIN.INI ] || fail "a tool wrote KOVRIN.INI"
grep -qx "volume: 24" out.txt || fail "box volume: $(cat out.txt)"
grep -qx "surface area: 52" out.txt || fail "box area"
grep -qx "open edges: 0" out.txt || fail "box open edges"

# Other programs read what we write: the PNG holds the pixels of the BMP of the same frame.
[ "$(compare -metric AE a.png a.bmp null: 2>&1)" = 0 ] || fail "a.png and a.bmp differ"
admesh box.stl > admesh.txt 2>&1 || fail "admesh could not read box.stl"
grep -Eq "Number of facets *: *12" admesh.txt || fail "admesh: $(grep -i facets admesh.txt)"
for f in box.stl box.ply box2.obj; do
  assimp info "$f" > assimp.txt 2>&1 || fail "assimp info could not read $f: $(tail -3 assimp.txt)"
  grep -Eq "Faces: +12" assimp.txt || fail "assimp info $f: $(grep -i faces assimp.txt)"
done

# Failures: exit 1, one line on standard error, no output file.
printf 'v 1 2\nf 1 1 1\n' > bad.obj
for args in "--render missing.stl -o x.png" "--render bad.obj -o x.png" "--convert bad.obj x.stl" \
            "--render box.obj -o nodir/x.png" "--thumbnail missing.rq x.png 64" "--info bad.obj" \
            "--convert box.obj x.dxf" "--render box.obj -o x.png --size 10"; do
  # shellcheck disable=SC2086
  if "$bin" $args > out.txt 2> err.txt; then fail "kovrin $args succeeded"; fi
  [ "$(wc -l < err.txt)" -eq 1 ] || fail "kovrin $args: not one line: $(cat err.txt)"
  ls x.* nodir 2>/dev/null && fail "kovrin $args left a file"
done
echo "tools: ok"
