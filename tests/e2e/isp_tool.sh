#!/usr/bin/env bash
# The ISP tool as a real process: hung past [ISP] TIMELIMIT, or failing for
# one of two projectors flashed at once from one program folder (a missing
# tool is the runner's start failure, pinned where the runner is tested).
# Each time the uP image is in, the failure is reported, the exit status is 1,
# no false success is claimed and nothing is left running.
. "$(dirname "$0")/lib.sh"
# Stopped at its limit with the child it started, run once more, stopped again.
start_projector 1
printf '[ISP]\r\nTIMELIMIT=5\r\n' >> "$prog/settings.ini"
FWSIM_ISP_HANG=1 fwupgrade upgrade --port 1 --yes "$list"
expect_rc 1 "hung ISP tool"
output_has "Running the ISP tool on the scaler (time limit 0:05) ..."
output_has "Communication with projector failed."
output_lacks "Download complete"
left="$(pgrep -af -- "$prog/gf9450isp.exe" || true)"
[ -z "$left" ] || fail "left running: $left"
stop_projectors

# Each job judges its own tool's log, so only the other projector is done.
start_projector 1
start_projector 2
FWSIM_ISP_FAIL_PORT=2 fwupgrade upgrade --port 1 --port 2 --yes "$list"
expect_rc 1 "one of two failing"
[ "$(grep -c '^\[COM1\] Download complete' <<<"$out")" -eq 1 ] || fail "COM1 did not complete once"
grep -q '^\[COM2\] Communication with projector failed\.' <<<"$out" || fail "COM2's failure not reported"
! grep -q '^\[COM2\] Download complete' <<<"$out" || fail "COM2 reported complete"
grep -q 'fwupgrade: \[COM2\] the upgrade failed' <<<"$out" || fail "COM2 not named failed in the summary"
! grep -q 'fwupgrade: \[COM1\]' <<<"$out" || fail "COM1 named failed in the summary"
stop_projectors
report_has 1 scaler_whole=yes
report_has 2 scaler_whole=no
echo "passed"
