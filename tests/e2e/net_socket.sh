#!/usr/bin/env bash
# A projector behind a raw TCP gateway (ser2net without telnet): the line
# is the gateway's, so the program keeps to its pace (the uP image takes the
# minute a serial line takes) and the ISP tool's bytes pass as they are.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/ser2net.sh"
start_projector 1
port="$(free_port)"
start_ser2net "socket:$port:1"
start="$(date +%s)"
fwupgrade upgrade --port "socket://127.0.0.1:$port" --yes "$list"
expect_rc 0 "upgrade through socket://"
output_has "Download complete. Don't forget to turn the projector AC power off and on again"
stop_projectors
report_both_whole 1
transfer_ms="$(awk -F= '$1 == "up_transfer_ms" { print int($2) }' "$work/report1.txt")"
# 262144 bytes at 38400 bit/s take 68.3 s; the program runs at most 8 kB (2.1 s) ahead.
[ "$transfer_ms" -ge 65000 ] || fail "the image went faster than its line: $transfer_ms ms"
echo "passed in $(($(date +%s) - start)) s"
