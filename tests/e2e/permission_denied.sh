#!/usr/bin/env bash
# A device the user may not open: the message names the device and the fix,
# not another program. Needs root to run fwupgrade as the unprivileged user
# nobody against a pseudo-terminal only root may open; skipped otherwise.
. "$(dirname "$0")/lib.sh"
if [ "$(id -u)" -ne 0 ] || ! id nobody >/dev/null 2>&1 || ! command -v setpriv >/dev/null; then
  echo "skipped: needs root and the user nobody"
  exit 77
fi
start_projector 1
device="$(head -n 1 "$work/sim1.out")"
chmod 600 "$device"
chmod 755 "$work" "$prog"
set +e
out="$(cd / && timeout 60 setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/nonexistent \
       "$prog/fwupgrade" test --port 1 2>&1)"
rc=$?
set -e
echo "$out"
[ "$rc" -eq 1 ] || fail "exit status $rc"
output_has "COM1 ($device) cannot be opened: this user has no permission to use it.  Please add the user to the dialout group, then log in again."
output_lacks "is currently being used by another program"
echo "passed"
