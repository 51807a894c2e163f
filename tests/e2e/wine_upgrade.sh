#!/usr/bin/env bash
# The vendor's tool as a Windows program on Linux: fwupgrade runs the
# stand-in tool's Windows build through wine, in a wine prefix made in the
# program folder on first use, where COM1 is projector-sim's pseudo-terminal
# and the scaler image, in a folder with blanks and long names, is on drive
# Z: in its short form. The tool as a 64-bit program (BIN_ISP_WINDOWS), then
# as a 32-bit one (BIN_ISP_WINDOWS32), as the vendor's most likely is.
. "$(dirname "$0")/lib.sh"
command -v wine >/dev/null || fail "wine is not installed (scripts/bootstrap installs it)"
list="$("$BIN_PACKAGE" "$work/firmware package folder" 2416 2500000)"
finish_wine() { WINEPREFIX="$prog/wineprefix" wineserver -k 2>/dev/null || true; finish; }
trap finish_wine EXIT

for tool in "$BIN_ISP_WINDOWS" "$BIN_ISP_WINDOWS32"; do
  cp "$tool" "$prog/gf9450isp.exe"
  start_projector 1
  fwupgrade upgrade --port 1 --yes "$list"
  [ "$rc" -eq 0 ] || fail "exit status $rc with $tool"
  output_has "Download complete. Don't forget to turn the projector AC power off and on again"
  log="$prog/isp-COM1/log.txt"
  [ "$(tail -c 23 "$log")" = "Command: 0503 0000 fafd" ] || fail "log.txt does not end with the success line"
  grep -qF 'Port COM1 (\\.\COM1)' "$log" || fail "the tool did not open COM1: $(cat "$log")"
  grep -qE '^Image Z:\\[^ ]*\\[^ ~]{1,8}~[^ ]*\.BIN, ' "$log" || fail "the image was not given short on Z: $(grep Image "$log")"
  # This run's tool only, and a tool that has ended but is not reaped yet
  # (wine leaves that to init) runs no more.
  running="$(ps -eo stat=,args= | grep -F "${base##*/}" | grep gf9450isp | grep -v '^Z' || true)"
  [ -z "$running" ] || fail "the tool still runs: $running"
  stop_projectors
  report_both_whole 1
done
echo "passed"
