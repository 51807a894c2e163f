#!/usr/bin/env bash
# Runs the Windows adapters' tests under wine with COM7 mapped to a
# projector-sim and COM199 to nothing. Expects WINE_RUN, WINE_PREFIX_DIR,
# BIN_SIM (projector-sim for this machine), BIN_ISP (the stand-in tool's
# .exe) and BIN_TESTS (the tests' .exe).
set -euo pipefail
. "$(dirname "$0")/../../support/wine.sh"
work="$(mktemp -d /tmp/fwup-wine-adapters.XXXXXX)"
sim_pid=""
finish() {
  [ -z "$sim_pid" ] || { kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null; } || true
  rm -rf "$work"
}
trap finish EXIT
"$BIN_SIM" > "$work/sim.out" &
sim_pid=$!
map_com 7 "$(sim_device "$work/sim.out")"
unmap_com 199
FWUP_TEST_ISP_TOOL="Z:${BIN_ISP//\//\\}" FWUP_TEST_COM=7 FWUP_TEST_FREE_COM=199 QT_QPA_PLATFORM=offscreen "$WINE_RUN" "$WINE_PREFIX_DIR" "$BIN_TESTS"
