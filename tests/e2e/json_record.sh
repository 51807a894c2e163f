#!/usr/bin/env bash
# fwupgrade for a fleet driver: a whole upgrade as JSON lines on standard
# output, each held against docs/events.schema.json; the service record it
# leaves in the user's data folder and fwupgrade history reading it back; a
# declined upgrade asking on standard error; fwupgrade report making the
# customer's report of them; a record that cannot be written as a warning
# beside a test that passes.
. "$(dirname "$0")/lib.sh"
start_projector 1
fwupgrade_json upgrade --port 1 --yes --json "$list"
expect_rc 0 "JSON upgrade"
grep -q '"type":"image-progress",.*"sent_bytes":262144,"total_bytes":262144' "$work/events" || fail "no whole image"
tail -n 1 "$work/events" | grep -q '"type":"operation-ended",.*"outcome":"succeeded","reason":"none"' ||
  fail "last event: $(tail -n 1 "$work/events")"
stop_projectors

start_projector 1  # a projector just upgraded waits to be switched off and on
fwupgrade_json upgrade --port 1 --json "$list" <<< n
expect_rc 1 "declined"
grep -qF "Do you want to continue? [y/N]" "$work/err" || fail "not asked on standard error: $(cat "$work/err")"
tail -n 1 "$work/events" | grep -q '"outcome":"declined","reason":"declined"' || fail "not declined"
stop_projectors

# Two operations, each a line at its start and a line at its end.
[ "$(wc -l < "$record")" -eq 4 ] || fail "record: $(cat "$record")"
[ "$(cut -d, -f2 "$record" | uniq -c | awk '{ print $1 }' | tr '\n' ' ')" = "2 2 " ] || fail "ids: $(cat "$record")"
fwupgrade history
expect_rc 0 "history"
when='20[0-9-]{8}T[0-9:]{8}Z'
grep -qxE "$when  upgrade  COM1 /dev/[^ ]+  QT2416  QT2416_package.txt  declined  0:[0-9]{2}" <<< "$(sed -n 1p <<< "$out")" ||
  fail "newest entry"
grep -qxE "$when  upgrade  COM1 /dev/[^ ]+  QT2416  QT2416_package.txt  succeeded  [0-9]+:[0-9]{2}" <<< "$(sed -n 2p <<< "$out")" ||
  fail "oldest entry"
fwupgrade history --json --last 1
[ "$out" = "$(tail -n 1 "$record")" ] || fail "history --json is not the entry as stored"

# The customer's report of both, from the same record, with no display at
# hand: the upgrade's images by their SHA-256, its outcome, the declined one.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
fwupgrade report --last 2 --pdf "$work/Bericht für Saal.pdf"
expect_rc 0 "report"
output_has "Bericht für Saal.pdf: 2 operations: 1 succeeded, 1 not started"
pdftotext -layout "$work/Bericht für Saal.pdf" "$work/report.txt"
up_sha="$(sha256sum "$work/package/QT2416_uP.bin" | cut -d' ' -f1)"
grep -qF "$up_sha" "$work/report.txt" || fail "the uP image's SHA-256 is not in the report: $(cat "$work/report.txt")"
grep -qF "Download complete" "$work/report.txt" || fail "no outcome in the report"
grep -qF "Not started" "$work/report.txt" || fail "the declined upgrade is not in the report"
# A damaged line is read past with a warning; nothing matching, a usage
# mistake and a record that is not there each say so.
printf 'not an entry\n' >> "$record"
fwupgrade report --html "$work/report.html"
expect_rc 0 "report past a damaged line"
output_has "is not a record entry; read past it"
grep -qF '<p class="outcome declined">Not started</p>' "$work/report.html" || fail "HTML: $(cat "$work/report.html")"
fwupgrade report --id ffffffffffffffff --html "$work/none.html"
expect_rc 1 "report of no entry"
output_has "fwupgrade: no entry with the id ffffffffffffffff in "
fwupgrade report --record "$work/none.jsonl" --pdf "$work/none.pdf"
expect_rc 1 "report of no record"
output_has "fwupgrade: cannot read the service record $work/none.jsonl: there is no such file"
fwupgrade report --last 2 --id 0123 --pdf "$work/x.pdf"
expect_rc 2 "report with --last and --id"
fwupgrade report
expect_rc 2 "report without a file"
output_has "give one file to write: --pdf FILE or --html FILE"

start_projector 1
fwupgrade test --port 1 --record "$work/no folder/upgrades.jsonl"
expect_rc 0 "test beside an unwritable record"
output_has "Test OK!"
output_has "fwupgrade: warning: cannot write the service record $work/no folder/upgrades.jsonl: "
echo "passed"
