#!/usr/bin/env bash
# fwupgrade.exe under wine, from a program folder whose name has blanks and
# a letter of the ANSI code page, with a package in a folder whose name is
# beyond it: a whole upgrade on COM1 with both images whole and no link
# failure on the way (the ports there take no DTR level); the line cut
# during the image; a hung tool stopped at its time limit with its child;
# the customer's report of the whole upgrade as a PDF; two projectors of a
# venue file at once, asked once, each line labelled; and COM12
# (\\.\COM12 to Windows). With the argument "32bit", only COM12,
# with the 32-bit build of the stand-in tool (BIN_ISP32), as the vendor's
# tool most likely is: skipped where no 32-bit program runs.
# Expects WINE_RUN and WINE_PREFIX_DIR besides what lib.sh needs.
. "$(dirname "$0")/lib.sh"
list="$("$BIN_PACKAGE" "$work/Пакет 日本" 2416 2500000)"

# upgrade_on_com12: a whole upgrade on a port Windows names \\.\COM12.
upgrade_on_com12() {
  start_projector 12
  fwupgrade upgrade --port 12 --yes "$(arg_path "$list")"
  expect_rc 0 "upgrade on COM12 with $1"
  grep -qF 'Port COM12 (\\.\COM12)' "$prog/isp-COM12/log.txt" || fail "the tool did not open COM12"
  stop_projectors
  report_both_whole 12
}

if [ "${1:-}" = 32bit ]; then
  "$SOURCE_DIR/scripts/runs-32bit" || { echo "SKIPPED: this machine runs no 32-bit programs, so no 32-bit Windows tool runs here"; exit 77; }
  [ -f "${BIN_ISP32:-}" ] || { echo "SKIPPED: the 32-bit stand-in tool was not built (no i686 mingw-w64 compiler: scripts/bootstrap test installs it)"; exit 77; }
  cp "$BIN_ISP32" "$prog/gf9450isp.exe"
  upgrade_on_com12 "the 32-bit tool"
  echo "passed"
  exit 0
fi

start_projector 1
fwupgrade upgrade --port 1 --yes "$(arg_path "$list")"
expect_rc 0 "whole upgrade"
output_has "Download complete. Don't forget to turn the projector AC power off and on again"
output_lacks "Communication with projector failed."
[ "$(tail -c 23 "$prog/isp-COM1/log.txt")" = "Command: 0503 0000 fafd" ] || fail "COM1's log does not end with the success line"
stop_projectors
report_both_whole 1

# The customer's report of that upgrade, as the Windows build writes a PDF,
# read back by a reader: both images' SHA-256 and the outcome.
fwupgrade report --last 1 --pdf "$(arg_path "$work/Bericht Süd.pdf")"
expect_rc 0 "report"
report_text="$(pdftotext -layout -enc UTF-8 "$work/Bericht Süd.pdf" -)" || fail "pdftotext cannot read the report"
for image in "$(dirname "$list")"/QT2416_uP.bin "$(dirname "$list")"/QT2416_scaler.bin; do
  grep -qF "$(sha256sum < "$image" | cut -d' ' -f1)" <<<"$report_text" || fail "the report lacks $image's SHA-256: $report_text"
done
grep -qF "Download complete" <<<"$report_text" || fail "the report lacks the outcome: $report_text"

# A venue's two projectors at once, each in its own ISP folder.
start_projector 2
start_projector 3
printf '[Venue]\r\nNAME=Hall A\r\n[Projectors]\r\nLeft stack=COM2\r\nRight stack=COM3\r\n' > "$work/hall.ini"
fwupgrade upgrade --venue "$(arg_path "$work/hall.ini")" --yes "$(arg_path "$list")"
expect_rc 0 "a venue's upgrade"
output_has "[Left stack COM2] Download complete."
output_has "[Right stack COM3] Download complete."
stop_projectors
report_both_whole 2
report_both_whole 3

start_projector 1 --cut-after 131072
fwupgrade upgrade --port 1 --yes "$(arg_path "$list")"
expect_rc 1 "line cut"
output_has "ERROR: uP software download failed!"
output_lacks "Download complete"
stop_projectors
report_has 1 up_whole=no

# A tool that hangs, with the child it started, is stopped at the time limit
# through its job object, run once more and stopped again.
start_projector 1
printf '[ISP]\r\nTIMELIMIT=5\r\n' > "$prog/settings.ini"
FWSIM_ISP_HANG=1 fwupgrade upgrade --port 1 --yes "$(arg_path "$list")"
expect_rc 1 "hung ISP tool"
output_has "Running the ISP tool on the scaler (time limit 0:05) ..."
output_has "Communication with projector failed."
output_lacks "Download complete"
left="$(ps -eo stat=,args= | grep -F "${base##*/}" | grep gf9450isp | grep -v '^Z' || true)"
[ -z "$left" ] || fail "left running: $left"
rm "$prog/settings.ini"
stop_projectors

upgrade_on_com12 "the 64-bit tool"
echo "passed"
