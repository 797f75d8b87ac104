#!/usr/bin/env bash
# File names typed in the prompt: one with a blank, and one with a comma given in double
# quotes. The files appear under exactly those names; an unquoted comma cuts the name.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

bin=${1:?usage: journey_file_names.sh path/to/kovrin}
e2e_start_display
e2e_make_workdir
e2e_start_editor "$bin"
e2e_wait_title "KOVRIN - default.rq" 5
e2e_focus
size=$((1221 + 12 * 9 + 15 * 6 + 8 * 4))

e2e_alt
e2e_keys Down     # "  File" with the focus
e2e_type a        # save As
e2e_type 'my model.rq'
e2e_keys Return
e2e_wait_file "$E2E_WORKDIR/my model.rq" 5 "$size"
e2e_wait_title "KOVRIN - my model.rq" 5

e2e_type a
e2e_type '"a,b.rq"'
e2e_keys Return
e2e_wait_file "$E2E_WORKDIR/a,b.rq" 5 "$size"
e2e_wait_title "KOVRIN - a,b.rq" 5

e2e_type a
e2e_type 'c.rq,d.rq'
e2e_keys Return
e2e_wait_file "$E2E_WORKDIR/c.rq" 5 "$size"

e2e_type q
e2e_wait_exit 5 || e2e_fail "Quit did not end the editor"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit code $E2E_STATUS after Quit"

listing=$(cd "$E2E_WORKDIR" && ls -1 | LC_ALL=C sort | tr '\n' '|')
[ "$listing" = "KOVRIN.INI|a,b.rq|c.rq|my model.rq|" ] ||
  e2e_fail "folder holds '$listing', expected KOVRIN.INI, a,b.rq, c.rq and 'my model.rq'"
cmp -s "$E2E_WORKDIR/my model.rq" "$E2E_WORKDIR/a,b.rq" || e2e_fail "the two saves differ"
echo "PASS: 'my model.rq', 'a,b.rq' (quoted) and 'c.rq' (cut at the comma) written"
