#!/usr/bin/env bash
# A whole upgrade through fwupgrade on a pseudo-terminal, confirmed by what
# the simulated projector holds afterwards.
. "$(dirname "$0")/lib.sh"
start_projector 1
fwupgrade upgrade --port 1 --yes --transcript "$work/transcript.txt" "$list"
[ "$rc" -eq 0 ] || fail "exit status $rc"
output_has "Download complete. Don't forget to turn the projector AC power off and on again to complete the software upgrading process."
stop_projectors
report_has 1 up_whole=yes
report_has 1 scaler_whole=yes
grep -q ' >> op dlmy' "$work/transcript.txt" || grep -q '>> y' "$work/transcript.txt" || fail "transcript lacks the download"
# Each port's ISP tool runs, and leaves its log, in a folder of its own.
[ "$(tail -c 23 "$prog/isp-COM1/log.txt")" = "Command: 0503 0000 fafd" ] || fail "log.txt does not end with the success line"
echo "passed"
