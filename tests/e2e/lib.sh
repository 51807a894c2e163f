# Shared steps of the end-to-end tests: a program folder with the tool and
# the stand-in ISP tool, a sample package, and projector-sim processes.
# Expects BIN_FWUPGRADE, BIN_ISP, BIN_SIM and BIN_PACKAGE in the environment.
# With WINE_RUN and WINE_PREFIX_DIR set the programs are Windows builds run
# under wine, and port N is COMN of the prefix.
set -euo pipefail
if [ -n "${WINE_RUN:-}" ]; then
  . "$(dirname "${BASH_SOURCE[0]}")/../support/wine.sh"
  run=("$WINE_RUN" "$WINE_PREFIX_DIR")
else
  run=()
fi
# A path as the program takes it: Z: is the root under wine.
arg_path() { if [ -n "${WINE_RUN:-}" ]; then printf 'Z:%s' "${1//\//\\}"; else printf '%s' "$1"; fi; }

base="$(mktemp -d /tmp/fwup-e2e.XXXXXX)"
work="$base/Prüfung ä"  # a technician's folder names are not ASCII
prog="$work/program"
mkdir -p "$prog"
# The service record goes to the user's data folder: this test's own.
export XDG_DATA_HOME="$base/data"
record="$XDG_DATA_HOME/firmware-upgrade-tool/upgrades.jsonl"
cp "$BIN_FWUPGRADE" "$BIN_ISP" "$prog/"
printf 'placeholder\n' > "$prog/GF9450_CFI_DRIVER.BIN"
list="$("$BIN_PACKAGE" "$work/package" 2416 2500000)"
sims=()
ports_ini=""
window_pid=""

finish() {
  stop_window
  stop_projectors
  rm -rf "$base"
}
trap finish EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }

# start_projector N [projector-sim options]: a simulated projector as COMN.
start_projector() {
  local n="$1"; shift
  # An earlier simulator's output must not be taken for this one's device.
  rm -f "$work/sim$n.out" "$work/report$n.txt"
  "$BIN_SIM" --report "$work/report$n.txt" "$@" > "$work/sim$n.out" &
  sims+=($!)
  for _ in $(seq 100); do [ -s "$work/sim$n.out" ] && break; sleep 0.05; done
  local device
  device="$(head -n 1 "$work/sim$n.out")"
  if [ -n "${WINE_RUN:-}" ]; then map_com "$n" "$device"; return; fi
  ports_ini+="COM$n=$device"$'\r\n'
  printf '[Ports]\r\n%s' "$ports_ini" > "$prog/settings.ini"
}

# stop_projectors: ends the simulators so their reports are final; the
# next start_projector maps its ports afresh.
stop_projectors() {
  for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${sims[@]}"; do wait "$pid" 2>/dev/null || true; done
  sims=()
  ports_ini=""
}

# fwupgrade ARGS...: runs the tool with a time limit; sets $rc and $out.
# Its output goes through a file: a program it left running cannot hold the
# test up by keeping a pipe open, and is found by the checks after the run.
fwupgrade() {
  set +e
  (cd "$work" && timeout 240 "${run[@]}" "$prog/$(basename "$BIN_FWUPGRADE")" "$@" > "$work/fwupgrade.out" 2>&1)
  rc=$?
  set -e
  out="$(cat "$work/fwupgrade.out")"
  echo "$out"
  [ "$rc" -ne 124 ] || fail "fwupgrade hung"
}

# fwupgrade_json ARGS...: fwupgrade with its standard output alone in
# $work/events, each line held against docs/events.schema.json; sets $rc.
fwupgrade_json() {
  set +e
  (cd "$work" && timeout 240 "$prog/fwupgrade" "$@" > "$work/events" 2> "$work/err")
  rc=$?
  set -e
  "$BIN_CHECK_EVENTS" "$EVENT_SCHEMA" < "$work/events" || fail "events not as documented: $(cat "$work/err")"
}

# start_window ARGS...: the window program (BIN_WINDOW) from the program
# folder, in the working folder, its output in $work/window.out; ended
# with the test or by stop_window.
start_window() {
  cp "$BIN_WINDOW" "$prog/"
  (cd "$work" && exec "$prog/$(basename "$BIN_WINDOW")" "$@" > "$work/window.out" 2>&1) &
  window_pid=$!
}
stop_window() {
  [ -z "$window_pid" ] || { kill "$window_pid" 2>/dev/null; wait "$window_pid" 2>/dev/null; } || true
  window_pid=""
}
window_pid=""

# A window on a virtual display, as a technician finds and works it
# (xdotool). window_named TITLE [SECONDS]: the id of a shown window whose
# whole title matches TITLE, once it is there; fails quietly when it does
# not come, loudly when the window program (start_window) ended.
window_named() {
  local id
  for _ in $(seq $((${2:-30} * 10))); do
    id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)" && [ -n "$id" ] && { echo "$id"; return; }
    [ -z "${window_pid:-}" ] || kill -0 "$window_pid" 2>/dev/null || fail "the program ended: $(cat "$work/window.out")"
    sleep 0.1
  done
  return 1
}
press() { xdotool windowfocus --sync "$1" && xdotool key --clearmodifiers "$2"; }
# gone ID TITLE: waits until that window is no longer shown.
gone() {
  for _ in $(seq 300); do
    xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | grep -qx "$1" || return 0
    sleep 0.1
  done
  return 1
}
# copied_text ID: what a box shows, copied with Ctrl+C as Windows allows.
copied_text() {
  press "$1" ctrl+c
  sleep 0.5
  xclip -o -selection clipboard 2>/dev/null || true
}

expect_rc() { [ "$rc" -eq "$1" ] || fail "$2: exit status $rc, not $1"; }
report_has() { grep -qx "$2" "$work/report$1.txt" || fail "report $1 lacks $2: $(cat "$work/report$1.txt")"; }
# The projector holds both images, each byte for byte.
report_both_whole() { report_has "$1" up_whole=yes; report_has "$1" scaler_whole=yes; }
output_has() { grep -qF -- "$1" <<<"$out" || fail "output lacks: $1"; }
output_lacks() { ! grep -qF -- "$1" <<<"$out" || fail "output holds: $1"; }

# The download as a cable carries it, read from a --transcript file: what
# was sent, one write a line, image blocks as their size: the command a
# character at a time, CR, "y", the length, 256 blocks of 1024 bytes and
# CR LF, in this order.
expect_download_on_wire() {
  local sent
  sent="$(awk '$2 == ">>" { sub(/^ *[0-9.]+ >> /, "")
                            if (length($0) > 64) { gsub(/<[0-9A-F][0-9A-F]>/, "."); $0 = "[" length($0) "]" }
                            printf "%s|", $0 }' "$1")"
  grep -qF -- "o|p| |d|l|m|y|<0D>|y|40000|$(printf '[1024]|%.0s' $(seq 256))<0D><0A>|" <<<"$sent" ||
    fail "transcript lacks the download: ${sent:0:400}"
}
