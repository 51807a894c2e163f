#!/usr/bin/env bash
# The window under a German locale, whose C library reads "1.6" as 1: a port
# number stored as 1.6 is COM2 all the same (rounded, halves to even), so the
# start-up's link test and model check reach COM2's projector, and nothing
# reaches COM1's.
. "$(dirname "$0")/lib.sh"
readonly GERMAN=de_DE.UTF-8
if ! locale -a | grep -qixE 'de_DE\.utf-?8'; then
  echo "skipped: the locale $GERMAN is not installed here (scripts/bootstrap test makes it)"
  exit 77
fi

start_projector 1
start_projector 2
printf '[RS232Set]\r\nCOM=1.6\r\n[PATH]\r\nFILE=%s\r\n' "$list" >> "$prog/settings.ini"

LC_ALL=$GERMAN QT_QPA_PLATFORM=offscreen start_window
# The model check ends the start-up; a projector's report follows its host's
# last command by a tenth of a second.
for _ in $(seq 300); do
  grep -qs '^commands=.*op model.name ?' "$work/report1.txt" "$work/report2.txt" && break
  sleep 0.1
done
sleep 0.5  # nothing more may follow
stop_window
stop_projectors
cat "$work/window.out"
report_has 2 "commands=ky nop|op model.name ?"
report_has 1 "commands="
echo "passed"
