#!/usr/bin/env bash
# The Windows ZIP unpacked into an empty folder, and its programs under wine:
# fwupgrade.exe --help, then the window on a virtual display, driven as a
# technician would. With settings.ini made beside the .exe (the remembered
# port and package) and the stand-in ISP tool put there, it starts and
# checks the projector; "Upgrade SW" is clicked, the question answered with
# Yes; the last box is read with Ctrl+C, as Windows lets one copy a message
# box, and must be "Download complete"; the projector holds both images.
# Then the venue window, started with --venue and three projectors on COM1
# to COM3: Alt+U for "Upgrade all", Alt+Y on the one question, and the one
# summary box must say all three were upgraded, each holding both images.
# Arial is Liberation Sans here, as wine has no Arial.
# SCREENSHOT names a PNG to take of the screen while the ISP tool runs.
# Expects WINE_RUN, WINE_PREFIX_DIR and BUILD_DIR (the Windows build)
# besides what lib.sh needs.
. "$(dirname "$0")/lib.sh"
# The display comes first: wine's desktop process serves every window of the
# prefix the display it was started with.
WINEPREFIX="$WINE_PREFIX_DIR" wineserver -k 2>/dev/null || true
xvfb_pid=""
finish_window() {
  WINEPREFIX="$WINE_PREFIX_DIR" wineserver -k 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  finish
}
trap finish_window EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")" FWUP_WINE_DISPLAY=":$(cat "$work/display")"
"$WINE_RUN" "$WINE_PREFIX_DIR" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f \
  >/dev/null 2>&1
cpack -G ZIP -B "$work/cpack" --config "$BUILD_DIR/CPackConfig.cmake" >/dev/null
zip="$(ls "$work"/cpack/FirmwareUpgradeTool-*-windows.zip)"
echo "ZIP: $(basename "$zip"), $(du -k "$zip" | cut -f1) KB"
mkdir "$work/unpacked"
(cd "$work/unpacked" && unzip -q "$zip")
prog="$(ls -d "$work"/unpacked/FirmwareUpgradeTool-*-windows)"
fwupgrade --help
expect_rc 0 "--help from the ZIP"
output_has "usage: fwupgrade"
[ -f "$prog/docs/events.md" ] || fail "the ZIP lacks docs/events.md"
tr -d '\r' <<<"$out" | grep -q '^Documentation: .*\\docs$' || fail "--help does not name the docs beside it"
cp "$BIN_ISP" "$prog/gf9450isp.exe"
printf 'placeholder\n' > "$prog/GF9450_CFI_DRIVER.BIN"

start_projector 1
printf '[RS232Set]\r\nCOM=1\r\n[PATH]\r\nFILE=%s\r\n' "$(arg_path "$list")" > "$prog/settings.ini"
(cd "$work" && "$WINE_RUN" "$WINE_PREFIX_DIR" "$prog/firmware-upgrade-tool.exe" >/dev/null 2>&1 &)

main="$(window_named "Firmware Upgrade Tool 1\.[0-9.]*" 60)" || fail "the main window did not appear"
# Upgrade SW, once the start-up check has switched it on: the question comes.
read -r x y <<<"$(xdotool getwindowgeometry --shell "$main" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^HEIGHT=/{h=$2} END {print x + 368, y + h - 41}')"
for _ in $(seq 30); do
  xdotool mousemove "$x" "$y" click 1
  box="$(window_named "Firmware Upgrade Tool" 1)" && break
done
[ -n "${box:-}" ] || fail "Upgrade SW asked nothing"
press "$box" alt+y
processing="$(window_named "Kavora Firmware Upgrade Tool" 120)" || fail "the ISP tool's window did not appear"
[ -z "${SCREENSHOT:-}" ] || { sleep 2; mkdir -p "$(dirname "$SCREENSHOT")"; import -window root "$SCREENSHOT"; }
box="$(window_named "Firmware Upgrade Tool" 300)" || fail "no box after the upgrade"
shown="$(copied_text "$box")"
grep -qF "Download complete. Don't forget to turn the projector AC power off and on again" <<<"$shown" \
  || fail "the last box says: $shown"
xdotool key Return
sleep 0.5
press "$main" alt+F4  # the window closes; the venue takes the ports next
gone "$main" "Firmware Upgrade Tool 1\.[0-9.]*" || fail "the main window stayed open"
stop_projectors
report_both_whole 1

for n in 1 2 3; do start_projector "$n"; done
printf '[Venue]\r\nNAME=Hall A\r\n[Projectors]\r\nLeft=COM1\r\nMiddle=COM2\r\nRight=COM3\r\n' > "$work/hall.ini"
(cd "$work" && "$WINE_RUN" "$WINE_PREFIX_DIR" "$prog/firmware-upgrade-tool.exe" --venue "$(arg_path "$work/hall.ini")" \
  >/dev/null 2>&1 &)
venue="$(window_named "Venue - Firmware Upgrade Tool" 60)" || fail "the venue window did not appear"
sleep 2  # the package is checked off the window's thread
press "$venue" alt+u
question="$(window_named "Firmware Upgrade Tool" 30)" || fail "Upgrade all asked nothing"
grep -qF "Do you want to continue?" <<<"$(copied_text "$question")" || fail "Upgrade all asked no question"
press "$question" alt+y
gone "$question" "Firmware Upgrade Tool" || fail "the question stayed open"
summary="$(window_named "Firmware Upgrade Tool" 600)" || fail "no summary after the venue's upgrades"
shown="$(copied_text "$summary")"
grep -qF "3 of 3 projectors upgraded." <<<"$shown" || fail "the summary says: $shown"
xdotool key Return
stop_projectors
for n in 1 2 3; do report_both_whole "$n"; done
echo "passed"
