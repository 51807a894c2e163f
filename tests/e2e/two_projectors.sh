#!/usr/bin/env bash
# Two projectors upgraded at once, each on its own port and with its own
# prefix on every line.
. "$(dirname "$0")/lib.sh"
start_projector 1
start_projector 2
fwupgrade upgrade --port 1 --port 2 --yes "$list"
[ "$rc" -eq 0 ] || fail "exit status $rc"
[ "$(grep -c '^\[COM1\] Download complete' <<<"$out")" -eq 1 ] || fail "COM1 did not complete"
[ "$(grep -c '^\[COM2\] Download complete' <<<"$out")" -eq 1 ] || fail "COM2 did not complete"
stop_projectors
for n in 1 2; do report_has "$n" up_whole=yes; report_has "$n" scaler_whole=yes; done
echo "passed"
