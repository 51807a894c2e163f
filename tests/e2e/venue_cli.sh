#!/usr/bin/env bash
# fwupgrade with several projectors: the question asked once for all of
# them before any starts; a venue file's labels on every line and in the
# JSON; --one-first leaving the others untouched when the first fails;
# --at-once 2 never having more than two projectors at work.
. "$(dirname "$0")/lib.sh"

# Asked once, naming both; both upgraded whole after one "y".
start_projector 1
start_projector 2
fwupgrade upgrade --port 1 --port 2 "$list" <<< y
expect_rc 0 "two projectors, one y"
[ "$(grep -o 'Do you want to continue? \[y/N\]' <<<"$out" | wc -l)" -eq 1 ] || fail "not asked exactly once"
output_has "Upgrading 2 projectors: COM1, COM2."
[ "$(grep -c '^\[COM[12]\] Download complete' <<<"$out")" -eq 2 ] || fail "not both completed"
stop_projectors
for n in 1 2; do report_both_whole "$n"; done

# Answered No: not a byte reaches either projector.
start_projector 1
start_projector 2
fwupgrade upgrade --port 1 --port 2 "$list" <<< n
expect_rc 1 "two projectors, n"
output_has "fwupgrade: [COM2] the upgrade was not started"
stop_projectors
for n in 1 2; do report_has "$n" received_bytes=0; done

# A venue: each line and each JSON object names its projector.
printf '[Venue]\r\nNAME=Hall A\r\n[Projectors]\r\nLeft stack=COM1\r\nRight stack=COM2\r\n' > "$work/hall.ini"
start_projector 1
start_projector 2
fwupgrade test --venue "$work/hall.ini"
expect_rc 0 "test of a venue"
output_has "[Left stack COM1] Test OK!"
output_has "[Right stack COM2] Test OK!"
fwupgrade_json check "$list" --venue "$work/hall.ini" --json
expect_rc 0 "JSON check of a venue"
# (jq 1.6's -e judges by the last line read, not the last found: the lines are counted instead.)
for label in "Left stack" "Right stack"; do
  found="$(jq -c --arg l "$label" 'select(.type == "operation-ended" and .label == $l and .outcome == "succeeded")' \
    "$work/events")"
  [ -n "$found" ] || fail "no end for $label"
done
[ "$(jq -r 'select(.port != null) | .label' "$work/events" | grep -vc stack)" -eq 0 ] || fail "a line without its label"
stop_projectors
# The record names each projector of the venue, and history shows it.
fwupgrade history --last 2
expect_rc 0 "history"
output_has "[Left stack, Hall A]"
output_has "[Right stack, Hall A]"

# One first, and the first fails: the others are never started, not a byte
# on their lines, and say so.
printf '[Projectors]\r\nBooth=COM1\r\nLeft=COM2\r\nRight=COM3\r\n' > "$work/first.ini"
start_projector 1 --silent
start_projector 2
start_projector 3
fwupgrade upgrade --venue "$work/first.ini" --one-first --yes "$list"
expect_rc 1 "one first, first silent"
output_has '[Left COM2] Not started: Booth (COM1) did not end with "Download complete".'
output_has '[Right COM3] Not started: Booth (COM1) did not end with "Download complete".'
output_has "fwupgrade: [Booth COM1] the projector does not answer: Communication with projector failed."
stop_projectors
for n in 2 3; do report_has "$n" received_bytes=0; done

# At most two at once, of four: counted in the order the lines came.
for n in 1 2 3 4; do start_projector "$n"; done
fwupgrade_json upgrade --port 1 --port 2 --port 3 --port 4 --at-once 2 --yes --json "$list"
expect_rc 0 "four, two at once"
most="$(jq -r 'select(.type == "operation-started" or .type == "operation-ended") | .type' "$work/events" |
  awk '/started/ { n++ } /ended/ { n-- } n > m { m = n } END { print m }')"
[ "$most" -eq 2 ] || fail "at most $most at work at once, not 2"
stop_projectors
for n in 1 2 3 4; do report_both_whole "$n"; done
echo "passed"
