#!/usr/bin/env bash
# A port the system refuses: held by another program, or a device this user
# may not open. Each is named with its own fix and the run gives up at once.
# The second needs root, to run fwupgrade as the user nobody against a
# pseudo-terminal only root may open; without it the test is skipped.
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
expect_rc 1 "port held by another program"
output_has "COM1 is currently being used by another program.  Please close that program and try again."
kill "$holder"; wait "$holder" 2>/dev/null || true

if [ "$(id -u)" -ne 0 ] || ! id nobody >/dev/null 2>&1 || ! command -v setpriv >/dev/null; then
  echo "skipped: the permission case needs root and the user nobody"
  exit 77
fi
chmod 600 "$device"
chmod 755 "$base" "$work" "$prog"
set +e
out="$(cd / && timeout 60 setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/nonexistent \
       "$prog/fwupgrade" test --port 1 2>&1)"
rc=$?
set -e
echo "$out"
expect_rc 1 "device this user may not open"
output_has "COM1 ($device) cannot be opened: this user has no permission to use it.  Please add the user to the dialout group, then log in again."
echo "passed"
