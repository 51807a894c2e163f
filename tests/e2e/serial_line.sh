#!/usr/bin/env bash
# The serial line end to end. The cable pulled halfway through the uP image:
# the failure is reported, nothing hangs, no false success is claimed (cuts
# at the first and the last byte run on the virtual clock). Then a whole
# upgrade at the line's own speed (38400 bit/s, about 70 s for the uP
# image), confirmed with "y" on standard input, and what the simulated
# projector holds afterwards: the program must not run ahead of the line by
# more than the loader's wait for its verdict allows.
. "$(dirname "$0")/lib.sh"
start_projector 1 --cut-after 131072
fwupgrade upgrade --port 1 --yes "$list"
expect_rc 1 "line cut"
output_has "ERROR: uP software download failed!"
output_lacks "Download complete"
stop_projectors
report_has 1 up_whole=no
report_has 1 line_cut=yes

start_projector 1 --paced
fwupgrade upgrade --port 1 --transcript "$work/transcript.txt" "$list" <<< y
expect_rc 0 "confirmed upgrade"
output_has "Do you want to continue? [y/N] "
# Off a terminal the transfer's progress is a line at every tenth, climbing
# to the whole image.
progress="$(grep -oE '^uP image +[0-9.]+ %' <<<"$out" | grep -oE '[0-9.]+ %' | tr -d ' %' | tr '\n' ' ')"
[ "$progress" = "0.4 10.2 20.3 30.1 40.2 50.0 60.2 70.3 80.1 90.2 100.0 " ] || fail "progress lines: $progress"
output_has "uP image 100.0 %  262144 of 262144 bytes"
output_has "Running the ISP tool on the scaler (time limit 20:00) ..."
output_has "Download complete. Don't forget to turn the projector AC power off and on again to complete the software upgrading process."
output_lacks "Communication with projector failed."  # nothing went wrong on the way
stop_projectors
report_both_whole 1
expect_download_on_wire "$work/transcript.txt"
# Each port's ISP tool runs, and leaves its log, in a folder of its own.
[ "$(tail -c 23 "$prog/isp-COM1/log.txt")" = "Command: 0503 0000 fafd" ] || fail "log.txt does not end with the success line"
echo "passed"
