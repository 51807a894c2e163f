#!/usr/bin/env bash
# The stand-in ISP tool's Windows build, run under wine on a pseudo-terminal
# that the wine prefix names COM9: through CreateFile on \\.\COM9,
# SetCommState and ReadFile/WriteFile it flashes projector-sim's scaler
# whole, ends by itself and leaves the result line in log.txt.
# Expects WINE_RUN, WINE_PREFIX_DIR, BIN_ISP (the .exe) and BIN_SIM (a
# projector-sim built for this machine) in the environment.
set -euo pipefail
. "$(dirname "$0")/../../support/wine.sh"

work="$(mktemp -d /tmp/fwup-wine-isp.XXXXXX)"
sim_pid=""
finish() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

yes 'QT2416 scaler image' | head -c 300000 > "$work/scaler.bin" || true
printf 'placeholder\n' > "$work/GF9450_CFI_DRIVER.BIN"

"$BIN_SIM" --report "$work/report.txt" > "$work/sim.out" &
sim_pid=$!
device="$(sim_device "$work/sim.out")"
[ -e "$device" ] || fail "projector-sim gave no device"
map_com 9 "$device"

# The projector's scaler into ISP mode, as the upgrade does before it starts the tool.
exec 7<>"$device"
stty -F "$device" raw -echo
printf 'op dlgf\r' >&7
sleep 1
exec 7>&-

image="Z:$(printf '%s' "$work/scaler.bin" | tr '/' '\\')"
rc=0
(cd "$work" && timeout 120 "$WINE_RUN" "$WINE_PREFIX_DIR" "$BIN_ISP" \
  -c 9 -l GF9450_CFI_DRIVER.BIN -d 7 -b 115200 -p "$image") || rc=$?
[ "$rc" -eq 0 ] || { cat "$work/log.txt" >&2 || true; fail "exit status $rc"; }
grep -q 'Port COM9 (\\\\.\\COM9) at 115200 bit/s' "$work/log.txt" || fail "log names no \\\\.\\COM9"
[ "$(tail -n 1 "$work/log.txt" | tr -d '\r')" = "Command: 0503 0000 fafd" ] || fail "log ends $(tail -n 1 "$work/log.txt")"

kill "$sim_pid"; wait "$sim_pid" 2>/dev/null || true; sim_pid=""
grep -qx 'scaler_bytes=300000' "$work/report.txt" || fail "$(cat "$work/report.txt")"
grep -qx 'scaler_whole=yes' "$work/report.txt" || fail "scaler not whole"
echo "passed"
