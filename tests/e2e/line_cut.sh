#!/usr/bin/env bash
# The cable pulled halfway through the uP image: the failure is reported,
# nothing hangs, the exit status is 1 and no false success is claimed. Cuts
# at the first and the last byte run on the virtual clock.
. "$(dirname "$0")/lib.sh"
start_projector 1 --cut-after 131072
fwupgrade upgrade --port 1 --yes "$list"
[ "$rc" -eq 1 ] || fail "exit status $rc"
output_lacks "Download complete"
output_has "ERROR: uP software download failed!"
stop_projectors
report_has 1 up_whole=no
report_has 1 line_cut=yes
echo "passed"
