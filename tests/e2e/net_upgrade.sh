#!/usr/bin/env bash
# A projector behind a serial server, Debian's ser2net: a whole upgrade
# through rfc2217://, the stand-in ISP tool flashing the scaler at its own
# rate through the program's relay, the loader given exactly what a serial
# line gives it. Then the faults, each named with its server and never
# ending in "Download complete": nothing listening, a server that claims
# another rate, and the server stopped in the middle of the image.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/ser2net.sh"
start_projector 1
port="$(free_port)"
start_ser2net "rfc2217:$port:1"
fwupgrade upgrade --port "rfc2217://127.0.0.1:$port" --yes --transcript "$work/transcript.txt" "$list"
expect_rc 0 "upgrade through rfc2217://"
output_has "Download complete. Don't forget to turn the projector AC power off and on again"
stop_projectors
report_both_whole 1
expect_download_on_wire "$work/transcript.txt"  # exactly what a cable gives the loader
# The tool ran on a local line at its own rate, and succeeded.
tool_log="$(cat "$prog"/isp-COM*/log.txt)"
grep -qE '^Port COM[0-9]+ \(/dev/pts/[0-9]+\) at 115200 bit/s' <<<"$tool_log" || fail "tool log: $tool_log"
[ "$(tail -c 23 "$prog"/isp-COM*/log.txt)" = "Command: 0503 0000 fafd" ] || fail "tool log does not end with success"

free="$(free_port)"
fwupgrade test --port "rfc2217://127.0.0.1:$free"
expect_rc 1 "nothing listening"
output_has "Communication with projector failed. The serial server at 127.0.0.1:$free refused the connection."

start_projector 1
start_ser2net "rfc2217:$port:1"
start_relay "$port" --claim-rate 9600
fwupgrade test --port "rfc2217://127.0.0.1:$relay_port"
expect_rc 1 "a server at another rate"
output_has "The serial server at 127.0.0.1:$relay_port set the line to 9600 bit/s, not 38400."
stop_projectors

# At 38400 bit/s the image takes a minute; the server goes at its tenth.
start_projector 1 --paced
start_ser2net "rfc2217:$port:1"
(cd "$work" && exec timeout 240 "$prog/fwupgrade" upgrade --port "rfc2217://127.0.0.1:$port" --yes "$list" \
  > "$work/fwupgrade.out" 2>&1) &
job=$!
for _ in $(seq 600); do grep -q 'uP image  10.2 %' "$work/fwupgrade.out" && break; sleep 0.1; done
kill "$server_pid"
set +e; wait "$job"; rc=$?; set -e
out="$(cat "$work/fwupgrade.out")"
echo "$out"
expect_rc 1 "server stopped mid-image"
output_has "ERROR: uP software download failed! The connection to the serial server at 127.0.0.1:$port was lost."
output_lacks "Download complete"
stop_projectors
report_has 1 up_whole=no
echo "passed"
