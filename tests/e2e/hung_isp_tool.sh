#!/usr/bin/env bash
# An ISP tool that never ends is stopped at [ISP] TIMELIMIT, with the child
# it started, run once more and stopped again; the upgrade fails and nothing
# is left running.
. "$(dirname "$0")/lib.sh"
start_projector 1
printf '[ISP]\r\nTIMELIMIT=5\r\n' >> "$prog/settings.ini"
FWSIM_ISP_HANG=1 fwupgrade upgrade --port 1 --yes "$list"
[ "$rc" -eq 1 ] || fail "exit status $rc"
output_has "Running the ISP tool on the scaler (time limit 0:05) ..."
output_has "Communication with projector failed."
output_lacks "Download complete"
left="$(pgrep -f -- "$prog/gf9450isp.exe" || true)"
[ -z "$left" ] || fail "left running: $(ps -o pid,args -p "$left")"
echo "passed"
