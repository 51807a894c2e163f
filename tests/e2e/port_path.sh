#!/usr/bin/env bash
# A device path given as --port is used for that run alone: the test passes
# without any [Ports] line and settings.ini stays as it was (absent).
# fwupgrade ports lists what it finds, one device a line, and exits 0.
. "$(dirname "$0")/lib.sh"
"$BIN_SIM" > "$work/sim.out" &
sims+=($!)
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
device="$(head -n 1 "$work/sim.out")"
rm -f "$prog/settings.ini"
fwupgrade test --port "$device"
[ "$rc" -eq 0 ] || fail "test on $device: exit status $rc"
output_has "Test OK!"
[ ! -e "$prog/settings.ini" ] || fail "settings.ini was written: $(cat "$prog/settings.ini")"

fwupgrade ports
[ "$rc" -eq 0 ] || fail "ports: exit status $rc"
if [ -n "$out" ]; then
  grep -qvE $'^(COM[0-9]+|-)\t/' <<<"$out" && fail "ports printed an odd line: $out"
fi
fwupgrade ports --json
[ "$rc" -eq 0 ] || fail "ports --json: exit status $rc"
if [ -n "$out" ]; then
  grep -qvE '^\{"port":([0-9]+|null),"device":"' <<<"$out" && fail "ports --json printed an odd line: $out"
fi
echo "passed"
