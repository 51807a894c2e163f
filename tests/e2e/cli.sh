#!/usr/bin/env bash
# fwupgrade as a technician's shell meets it: usage errors, the package check,
# the confirmation asked on standard input when --yes is not given, a device
# path as --port, the ports listing; each with its exit status (0 success,
# 1 a failed operation, 2 a usage error) and its last word on standard error.
. "$(dirname "$0")/lib.sh"
set +e
"$prog/fwupgrade" upgrade --yes "$list" 2> "$work/err"; rc=$?
set -e
expect_rc 2 "missing --port"
[ "$(wc -l < "$work/err")" -eq 1 ] || fail "more than one line on standard error: $(cat "$work/err")"
grep -qx 'fwupgrade: .* (fwupgrade --help shows the usage)' "$work/err" || fail "usage error reads: $(cat "$work/err")"
fwupgrade --help
expect_rc 0 "--help"
output_has "Program folder: "

fwupgrade check "$list"
expect_rc 0 "check of a valid package"
output_has "Package valid: uP image $work/package/"
output_has " (262144 bytes), scaler image $work/package/"
printf '[uP]nothing.bin\r\n' > "$work/bad.txt"
fwupgrade check "$work/bad.txt"
expect_rc 1 "check of a broken package"
output_has "Selected text file is not valid. Please select a valid file."
output_has "fwupgrade: the package is not valid"

# Without --yes the confirmation is asked; anything but y, or no answer at
# all, leaves the projector untouched.
question="This upgrading process may take 15 minutes. During this time, DO NOT EXIT THIS PROGRAM and DO NOT PULL OUT COMMUNICATION CABLE. Otherwise, it will cause serious damage to the projector. Do you want to continue? [y/N] "
start_projector 1
for answer in n "" EOF; do
  if [ "$answer" = EOF ]; then fwupgrade upgrade --port 1 "$list" < /dev/null
  else fwupgrade upgrade --port 1 "$list" <<< "$answer"; fi
  expect_rc 1 "answer '$answer'"
  output_has "$question"
  output_has "fwupgrade: the upgrade was not started"
done
stop_projectors
report_has 1 up_whole=no

# A device path is used for that run alone: no [Ports] line, and
# settings.ini stays as it was (absent).
start_projector 1
device="$(head -n 1 "$work/sim1.out")"
rm -f "$prog/settings.ini"
fwupgrade test --port "$device"
expect_rc 0 "test on $device"
output_has "Test OK!"
[ ! -e "$prog/settings.ini" ] || fail "settings.ini was written: $(cat "$prog/settings.ini")"

# The ports listing against the kernel's serial devices (a UART only with a
# chip behind it, type 0 has none, that this user may open): each is listed,
# every line is well formed, and none is listed when there is none.
fwupgrade ports
expect_rc 0 "ports"
reported=0
for link in /sys/class/tty/*/device; do
  [ -e "$link" ] || continue
  tty="${link%/device}"
  name="${tty##*/}"
  if [ -e "$tty/type" ]; then
    [ "$(cat "$tty/type")" != 0 ] && [ -r "/dev/$name" ] && [ -w "/dev/$name" ] || continue
  fi
  reported=$((reported + 1))
  grep -qE $'^(COM[0-9]+|-)\t/dev/'"$name"$'\t' <<<"$out" || fail "ports does not list /dev/$name: $out"
done
[ "$reported" -gt 0 ] || [ -z "$out" ] || fail "ports listed what the kernel does not report: $out"
! grep -qvE $'^(COM[0-9]+|-)\t/' <<<"$out" || fail "ports printed an odd line: $out"
echo "passed"
