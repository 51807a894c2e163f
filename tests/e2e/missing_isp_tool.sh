#!/usr/bin/env bash
# Without the ISP tool in the program folder the scaler cannot be flashed:
# "ERROR: Can't find file.", exit status 1, no false success.
. "$(dirname "$0")/lib.sh"
rm "$prog/gf9450isp.exe"
start_projector 1
fwupgrade upgrade --port 1 --yes "$list"
[ "$rc" -eq 1 ] || fail "exit status $rc"
output_has "ERROR: Can't find file. gf9450isp.exe is expected in $prog."
output_lacks "Download complete"
stop_projectors
report_has 1 up_whole=yes
report_has 1 scaler_whole=no
echo "passed"
