#!/usr/bin/env bash
# The vendor's tool as a Windows program on Linux: fwupgrade runs the
# stand-in tool's Windows build (BIN_ISP_WINDOWS) through wine, in a wine
# prefix made in the program folder on first use, where COM1 is
# projector-sim's pseudo-terminal and the scaler image, in a folder with
# blanks and long names, is on drive Z: in its short form. Registered once
# with the 64-bit build and once with the 32-bit one, as the vendor's most
# likely is; the 32-bit one is skipped where no 32-bit program runs.
. "$(dirname "$0")/lib.sh"
skip() { echo "SKIPPED: $*"; exit 77; }
command -v wine >/dev/null || fail "wine is not installed (scripts/bootstrap installs it)"
if [ "${WINE_TOOL_BITS:-64}" = 32 ]; then
  "$SOURCE_DIR/scripts/runs-32bit" || skip "this machine runs no 32-bit programs, so no 32-bit Windows tool runs here (e2e.wine_32bit_refused checks what the technician is told)"
  [ -f "$BIN_ISP_WINDOWS" ] || skip "the 32-bit stand-in tool was not built (no i686 mingw-w64 compiler: scripts/bootstrap test installs it)"
fi
list="$("$BIN_PACKAGE" "$work/firmware package folder" 2416 2500000)"
finish_wine() { WINEPREFIX="$prog/wineprefix" wineserver -k 2>/dev/null || true; finish; }
trap finish_wine EXIT

cp "$BIN_ISP_WINDOWS" "$prog/gf9450isp.exe"
start_projector 1
fwupgrade upgrade --port 1 --yes "$list"
[ "$rc" -eq 0 ] || fail "exit status $rc with $BIN_ISP_WINDOWS"
output_has "Download complete. Don't forget to turn the projector AC power off and on again"
output_lacks "cannot set up the wine prefix"
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
echo "passed"
