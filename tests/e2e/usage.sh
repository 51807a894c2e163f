#!/usr/bin/env bash
# Usage errors exit with 2 and one line on standard error; a package check
# needs no projector.
. "$(dirname "$0")/lib.sh"
set +e
"$prog/fwupgrade" upgrade --yes "$list" 2> "$work/err"; rc=$?
set -e
[ "$rc" -eq 2 ] || fail "missing --port: exit status $rc"
[ "$(wc -l < "$work/err")" -eq 1 ] || fail "more than one line on standard error"
fwupgrade check "$list"
[ "$rc" -eq 0 ] || fail "check of a valid package: exit status $rc"
output_has "Package valid"
printf '[uP]nothing.bin\r\n' > "$work/bad.txt"
fwupgrade check "$work/bad.txt"
[ "$rc" -eq 1 ] || fail "check of a broken package: exit status $rc"
output_has "Selected text file is not valid. Please select a valid file."
echo "passed"
