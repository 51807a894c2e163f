#!/usr/bin/env bash
# The cable pulled at the start, the middle and the end of the uP image: the
# failure is reported, nothing hangs, the exit status is 1 and no false
# success is claimed.
. "$(dirname "$0")/lib.sh"
for cut in 0 131072 262143; do
  start_projector 1 --cut-after "$cut"
  fwupgrade upgrade --port 1 --yes "$list"
  [ "$rc" -eq 1 ] || fail "cut at $cut: exit status $rc"
  output_lacks "Download complete"
  output_has "ERROR: uP software download failed!"
  stop_projectors
  report_has 1 up_whole=no
  report_has 1 line_cut=yes
  ports_ini=""
done
echo "passed"
