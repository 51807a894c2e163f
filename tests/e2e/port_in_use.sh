#!/usr/bin/env bash
# A port another program holds: the tool names it and gives up at once.
. "$(dirname "$0")/lib.sh"
start_projector 1 --silent
(cd "$work" && timeout 60 "$prog/fwupgrade" test --port 1 > "$work/holder.out" 2>&1) &
holder=$!
sleep 1
fwupgrade test --port 1
kill "$holder" 2>/dev/null || true; wait "$holder" 2>/dev/null || true
[ "$rc" -eq 1 ] || fail "exit status $rc"
output_has "COM1 is currently being used by another program.  Please close that program and try again."
echo "passed"
