#!/usr/bin/env bash
# A network that adds 20, 50 and 100 ms each way between the program and
# the serial server (net-relay on loopback): the communication test passes
# at each, and at 100 ms a whole upgrade, scaler included.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/ser2net.sh"
port="$(free_port)"
for delay in 20 50; do
  start_projector 1
  start_ser2net "rfc2217:$port:1"
  start_relay "$port" --delay-ms "$delay"
  fwupgrade test --port "rfc2217://127.0.0.1:$relay_port"
  expect_rc 0 "communication test at $delay ms each way"
  output_has "Test OK!"
  stop_projectors
done
start_projector 1
start_ser2net "rfc2217:$port:1"
start_relay "$port" --delay-ms 100
fwupgrade upgrade --port "rfc2217://127.0.0.1:$relay_port" --yes "$list"
expect_rc 0 "upgrade at 100 ms each way"
output_has "Download complete. Don't forget to turn the projector AC power off and on again"
stop_projectors
report_both_whole 1
echo "passed"
