#!/usr/bin/env bash
# A port the system refuses: held by another program, named with its
# process, or a device this user may not open, named with its group. Each
# with its own fix, and the run gives up at once.
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
# The holder is named as the system shows it (/proc/*/fd).
grep -qE "^COM1 \($device\) is used by (.*, )?fwupgrade \(process $holder\)(, .*)?\.  Please close that program and try again\.$" \
  <<<"$out" || fail "the holder is not named"
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
# The group to join is the device's own (dialout for one of the root group).
group="$(stat -c %G "$device")"
[ "$group" != root ] || group=dialout
output_has "COM1 ($device) cannot be opened: this user has no permission to use it.  Please add the user to the $group group, then log in again."
echo "passed"
