#!/usr/bin/env bash
# Three projectors at once through one ser2net with three ports: each is
# upgraded whole, each line of output carries its port.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/ser2net.sh"
specs=() ports=()
for n in 1 2 3; do
  start_projector "$n"
  p="$(free_port)"
  specs+=("rfc2217:$p:$n")
  ports+=(--port "rfc2217://127.0.0.1:$p")
done
start_ser2net "${specs[@]}"
fwupgrade upgrade "${ports[@]}" --yes "$list"
expect_rc 0 "three at once"
[ "$(grep -c '^\[COM[0-9]*\] Download complete' <<<"$out")" -eq 3 ] || fail "not three completed"
stop_projectors
for n in 1 2 3; do report_both_whole "$n"; done
echo "passed"
