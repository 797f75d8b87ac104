#!/usr/bin/env bash
# Undo and the unsaved mark in the real window, then recovery: SIGTERM keeps the unsaved
# model, the next start names the recovery file, --recover opens it under its own name, and
# Save writes it there and removes the recovery file.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

bin=${1:?usage: journey_undo_recover.sh path/to/kovrin}
e2e_start_display
e2e_make_workdir
state="$E2E_WORKDIR/.state/kovrin"
e2e_start_editor "$bin"
e2e_wait_title "KOVRIN - default.rq" 5
e2e_focus

e2e_keys F6                       # invert the selection: the model changed
e2e_wait_title "KOVRIN - *default.rq" 5
e2e_keys ctrl+z
e2e_wait_title "KOVRIN - default.rq" 5
e2e_keys ctrl+shift+z
e2e_wait_title "KOVRIN - *default.rq" 5
e2e_keys ctrl+z ctrl+y
e2e_wait_title "KOVRIN - *default.rq" 5
shot="$E2E_WORKDIR/.undo.png"
e2e_screenshot "$shot"
e2e_keep "$shot"

kill -TERM "$E2E_PID"
e2e_wait_exit 5 || e2e_fail "SIGTERM did not end the editor"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit code $E2E_STATUS after SIGTERM"
count=$(ls "$state"/*.rq 2>/dev/null | wc -l)
[ "$count" = 1 ] || e2e_fail "$count recovery files after SIGTERM, expected 1"
[ ! -e "$E2E_WORKDIR/default.rq" ] || e2e_fail "SIGTERM wrote the model file itself"

e2e_start_editor "$bin"
e2e_wait_title "KOVRIN - default.rq" 5
grep -q -- "--recover" "$E2E_WORKDIR/.stderr" || e2e_fail "no line naming the recovery file"
e2e_keys alt+F4
e2e_wait_exit 5 || e2e_fail "Alt+F4 did not end the editor"

e2e_start_editor "$bin" --recover
e2e_wait_title "KOVRIN - *default.rq" 5
e2e_focus
e2e_alt
e2e_keys Down                     # "  File" with the focus
e2e_type s                        # Save
e2e_wait_file "$E2E_WORKDIR/default.rq" 5 $((1221 + 12 * 9 + 15 * 6 + 8 * 4))
e2e_wait_title "KOVRIN - default.rq" 5
count=$(ls "$state"/*.rq 2>/dev/null | wc -l)
[ "$count" = 0 ] || e2e_fail "$count recovery files left after Save"
# The saved model has the inverted selection: six flag bytes 0x80.
flags=$(od -An -tx1 -j $((21 + 12 * 9 + 12 * 6)) -N 6 "$E2E_WORKDIR/default.rq" | tr -d ' \n')
[ "$flags" = 808080808080 ] || e2e_fail "flag bytes $flags, expected the selection of F6"
e2e_type q
e2e_wait_exit 5 || e2e_fail "Quit did not end the editor"
echo "PASS: undo/redo mark the title, SIGTERM keeps the model, --recover and Save bring it back"
