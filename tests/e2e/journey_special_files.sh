#!/usr/bin/env bash
# The real program given a FIFO as its model name on the command line: the load is refused at
# once (it used to block for good, close button included), the window works, and a name typed
# with non-ASCII characters is saved under exactly those characters. Alt+F4 then ends it.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

bin=${1:?usage: journey_special_files.sh path/to/kovrin}
e2e_start_display
e2e_make_workdir
mkfifo "$E2E_WORKDIR/pipe.rq" || e2e_fail "cannot make a FIFO"
e2e_start_editor "$bin" pipe.rq
e2e_wait_title "KOVRIN - default.rq" 5
e2e_focus
size=$((1221 + 12 * 9 + 15 * 6 + 8 * 4))
name='été €ü.rq'

e2e_alt
e2e_keys Down # "  File" with the focus
e2e_type a    # save As
e2e_type "$name"
sleep 0.3
shot="$E2E_WORKDIR/.prompt.png"
e2e_screenshot "$shot" && e2e_keep "$shot"
e2e_keys Return
e2e_wait_file "$E2E_WORKDIR/$name" 5 "$size"
e2e_wait_title "KOVRIN - $name" 5

e2e_keys alt+F4
e2e_wait_exit 5 || e2e_fail "Alt+F4 did not end the editor"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit code $E2E_STATUS after Alt+F4"
[ -p "$E2E_WORKDIR/pipe.rq" ] || e2e_fail "the FIFO is gone"
echo "PASS: a FIFO on the command line is refused without blocking; '$name' saved"
