# Shared steps of the tests that run Windows programs under wine against
# projector-sim. Expects WINE_RUN (cmake/wine-run) and WINE_PREFIX_DIR.

# map_com N DEVICE: COMN of the prefix is DEVICE. The registry value lasts
# across wine starts; the link serves a wine already running.
map_com() {
  "$WINE_RUN" "$WINE_PREFIX_DIR" reg add 'HKLM\Software\Wine\Ports' /v "COM$1" /d "$2" /f >/dev/null 2>&1
  ln -sfn "$2" "$WINE_PREFIX_DIR/dosdevices/com$1"
}

# unmap_com N: COMN names no device.
unmap_com() {
  "$WINE_RUN" "$WINE_PREFIX_DIR" reg delete 'HKLM\Software\Wine\Ports' /v "COM$1" /f >/dev/null 2>&1 || true
  rm -f "$WINE_PREFIX_DIR/dosdevices/com$1"
}

# sim_device OUTFILE: waits for projector-sim's first line, its device.
sim_device() {
  for _ in $(seq 100); do [ -s "$1" ] && break; sleep 0.05; done
  head -n 1 "$1"
}
