#!/usr/bin/env bash
# A 32-bit Windows build of the ISP tool on a Linux that runs no 32-bit
# programs: wine cannot run it there, so the technician is told why and what
# to do (not "Communication with projector failed."), the upgrade ends as
# when the tool cannot be started (exit status 1, no "Download complete",
# the uP image in and the scaler left alone), the service record says so,
# and no wine prefix is made. Where 32-bit programs run, e2e.wine_upgrade_32bit
# runs such a tool instead.
. "$(dirname "$0")/lib.sh"
if "$SOURCE_DIR/scripts/runs-32bit"; then
  echo "SKIPPED: this machine runs 32-bit programs (e2e.wine_upgrade_32bit upgrades with a 32-bit tool)"
  exit 77
fi
command -v wine >/dev/null || fail "wine is not installed (scripts/bootstrap installs it)"
# A Windows program's header, built for 32-bit x86 (machine 0x014c).
{ printf 'MZ'; head -c 58 /dev/zero; printf '\100\0\0\0PE\0\0\114\001'; } > "$prog/gf9450isp.exe"
start_projector 1
fwupgrade upgrade --port 1 --yes "$list"
expect_rc 1 "32-bit tool"
output_has "ERROR: Can't start gf9450isp.exe: it is a 32-bit Windows program, and this computer's Linux runs no 32-bit programs"
output_has "kernel option ia32_emulation=1"
output_lacks "Communication with projector failed."
output_lacks "Download complete"
[ ! -e "$prog/wineprefix" ] || fail "a wine prefix was made"
grep -q '"reason":"isp-tool-not-started"' "$record" || fail "the record does not say the tool was not started: $(tail -n 1 "$record")"
grep -qF "it is a 32-bit Windows program" "$record" || fail "the record lacks the message: $(tail -n 1 "$record")"
stop_projectors
report_has 1 up_whole=yes
report_has 1 scaler_whole=no
echo "passed"
