#!/usr/bin/env bash
# Two projectors from one program folder, one of whose ISP tools fails: each
# job judges its own tool's log, so only the other projector is reported done.
. "$(dirname "$0")/lib.sh"
start_projector 1
start_projector 2
FWSIM_ISP_FAIL_PORT=2 fwupgrade upgrade --port 1 --port 2 --yes "$list"
[ "$rc" -eq 1 ] || fail "exit status $rc"
grep -q '^\[COM1\] Download complete' <<<"$out" || fail "COM1 did not complete"
grep -q '^\[COM2\] Communication with projector failed\.' <<<"$out" || fail "COM2's failure not reported"
! grep -q '^\[COM2\] Download complete' <<<"$out" || fail "COM2 reported complete"
grep -q 'fwupgrade: \[COM2\] the upgrade failed' <<<"$out" || fail "COM2 not named failed in the summary"
stop_projectors
report_has 1 scaler_whole=yes
report_has 2 scaler_whole=no
echo "passed"
