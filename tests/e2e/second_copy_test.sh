#!/usr/bin/env bash
# A second copy of the program started while one runs: it ends at once with the running window
# brought to the front, and the working copy of the running copy is left as it was.
#   second_copy_test.sh <en|fr>
set -euo pipefail
edition=${1:?edition en or fr}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine_env.sh"
source "$here/program_env.sh"
trap program_cleanup EXIT

e2e_start_display
e2e_new_prefix
exe="zarvo-training-$edition.exe"
[ -f "$E2E_PROGRAM_DIR/$exe" ] || fail "not installed: $exe"
printf 'COM9\t1\tZarvoOrix\r\n' >"$E2E_PROGRAM_DIR/$INTERFACE_FILE_NAME"  # no port: no decoder

# A working copy left by an earlier run, so the first copy makes a crash copy of it.
printf '10000\tLAST WEEK\t0\t0\t0\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t\r\n' \
  >"$E2E_PROGRAM_DIR/Private/Session.trng"

start_program "$exe"
first_pid=$PROGRAM_PID
e2e_robot wait-window classeF 30000 || fail "no main window"
e2e_robot answer Message ok 15000 >/dev/null || fail "no decoder report"
answer_warning
working="$E2E_PROGRAM_DIR/Private/Session.trng"
cp "$working" "$E2E_WORK/working-before"
cp "$E2E_PROGRAM_DIR/VaZivivIvar.trng" "$E2E_WORK/crash-before"
sleep 1.1  # a rewritten working copy would show in its time stamp too
stamp_before=$(stat -c %Y "$working")

# The second copy: it must end by itself, without a box, within a few seconds.
(cd "$E2E_PROGRAM_DIR" && exec wine "./$exe") >"$E2E_WORK/second.out" 2>&1 &
second_pid=$!
for _ in $(seq 100); do kill -0 "$second_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$second_pid" 2>/dev/null; then
  e2e_screenshot "second-copy-$edition-still-running"
  kill "$second_pid" 2>/dev/null || true
  fail "the second copy did not end"
fi
wait "$second_pid" || fail "the second copy exited with an error"
cmp -s "$E2E_WORK/working-before" "$working" || fail "the second copy rewrote the working copy"
cmp -s "$E2E_WORK/crash-before" "$E2E_PROGRAM_DIR/VaZivivIvar.trng" || fail "the second copy replaced the crash copy"
expect_equal "working copy time stamp" "$stamp_before" "$(stat -c %Y "$working")"
e2e_robot no-box Message 500 || fail "the second copy showed a decoder report"
e2e_robot wait-window classeF 1000 || fail "the first window is gone"
e2e_screenshot "second-copy-$edition"

PROGRAM_PID=$first_pid
close_program
echo "second copy test ($edition) passed"
