#!/usr/bin/env bash
# A port another program holds: the tool names it and gives up at once.
. "$(dirname "$0")/lib.sh"
start_projector 1 --silent
device="$(head -n 1 "$work/sim1.out")"
"$prog/fwupgrade" test --port 1 > "$work/holder.out" 2>&1 &
holder=$!
sims+=("$holder")  # ended with the simulator, whatever happens
# The second run starts once the first holds the device open.
holds_device() {
  local fd
  for fd in /proc/"$holder"/fd/*; do [ "$(readlink "$fd" 2>/dev/null)" = "$device" ] && return 0; done
  return 1
}
for _ in $(seq 200); do holds_device && break; sleep 0.05; done
holds_device || fail "the first run never opened $device"
fwupgrade test --port 1
[ "$rc" -eq 1 ] || fail "exit status $rc"
output_has "COM1 is currently being used by another program.  Please close that program and try again."
echo "passed"
