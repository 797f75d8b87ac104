#!/usr/bin/env bash
# The desktop files: valid, consistent with each other, and installed where desktops look.
# Usage: desktop_files.sh KOVRIN_BINARY BUILD_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
build="$2"
data="$here/data"
fail() { echo "FAIL: $*" >&2; exit 1; }

desktop-file-validate "$data/kovrin.desktop" || fail "desktop-file-validate"
xmllint --noout "$data/kovrin-mime.xml" "$data/kovrin.svg" || fail "xml"
grep -q '^Exec=kovrin --thumbnail %i %o %s$' "$data/kovrin.thumbnailer" || fail "thumbnailer Exec"
types() { grep "^MimeType=" "$1" | cut -d= -f2; }
[ "$(types "$data/kovrin.desktop")" = "$(types "$data/kovrin.thumbnailer")" ] ||
  fail "the entry and the thumbnailer name different types"
for t in application/x-kovrin-rq model/x-ply; do
  grep -q "type=\"$t\"" "$data/kovrin-mime.xml" || fail "no definition of $t"
done

prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
for f in bin/kovrin share/applications/kovrin.desktop share/mime/packages/kovrin.xml \
         share/icons/hicolor/scalable/apps/kovrin.svg share/thumbnailers/kovrin.thumbnailer \
         share/man/man1/kovrin.1; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
# The thumbnailer's command line works as the file manager runs it.
"$prefix/bin/kovrin" --convert "$here/fuzz/corpus/obj/features.obj" "$prefix/m.rq"
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$prefix/bin/kovrin" --thumbnail \
  "$prefix/m.rq" "$prefix/thumb" 128 || fail "thumbnail"
[ "$(head -c 8 "$prefix/thumb" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "not a PNG"
echo "desktop files: ok"
