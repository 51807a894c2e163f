#!/usr/bin/env bash
# The window program started with --venue on a virtual display (Xvfb),
# driven from the keyboard as a technician would: Alt+U for "Upgrade all",
# Alt+Y on the question; eight simulated projectors on eight pseudo-
# terminals, each upgraded whole, each with its own entry in the service
# record. Skipped (77) without xvfb-run and xdotool.
if [ -z "${VENUE_E2E_DISPLAY:-}" ]; then
  command -v xvfb-run > /dev/null && command -v xdotool > /dev/null || exit 77
  VENUE_E2E_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
. "$(dirname "$0")/lib.sh"
unset QT_QPA_PLATFORM
readonly ROWS=8 RUN_LIMIT_S=300

for n in $(seq "$ROWS"); do start_projector "$n"; done
printf '[PATH]\r\nFILE=%s\r\n' "$list" >> "$prog/settings.ini"  # the main window's package
{ printf '[Venue]\r\nNAME=Hall A\r\n[Projectors]\r\n'; for n in $(seq "$ROWS"); do printf 'Row %s=COM%s\r\n' "$n" "$n"; done; } \
  > "$work/hall.ini"
start_window --venue "$work/hall.ini"

venue="$(window_named "Venue - Firmware Upgrade Tool")" || fail "no venue window"
sleep 2  # the package is checked off the window's thread
press "$venue" alt+u
question="$(window_named "Firmware Upgrade Tool")" || fail "Upgrade all asked nothing"
press "$question" alt+y
gone "$question" "Firmware Upgrade Tool" || fail "the question stayed open"
# The one summary box comes once every row has ended.
summary="$(window_named "Firmware Upgrade Tool" "$RUN_LIMIT_S")" || fail "no summary"
ended="$(jq -r 'select(.state == "ended") | .outcome' "$record" | sort | uniq -c | awk '{ print $1 " " $2 }')"
[ "$ended" = "$ROWS succeeded" ] || fail "record: $ended"
press "$summary" Return
stop_window
stop_projectors
for n in $(seq "$ROWS"); do report_both_whole "$n"; done
echo "passed"
