# Serial servers for the network-port tests, sourced after lib.sh: Debian's
# ser2net on 127.0.0.1 bridging TCP ports to projector-sim's
# pseudo-terminals, and net-relay (delays, a server that claims another
# rate) in front of it. Expects BIN_RELAY beside lib.sh's programs.
command -v ser2net >/dev/null || { echo "skipped: ser2net is not installed (scripts/bootstrap installs it)"; exit 77; }

# free_port: a TCP port on 127.0.0.1 nothing listens on.
free_port() {
  local p
  while :; do
    p=$((20000 + RANDOM % 30000))
    (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || { echo "$p"; return; }
  done
}

# await_port PORT: until something listens on it (looked at, never connected to).
await_port() {
  for _ in $(seq 100); do [ -n "$(ss -Hltn "sport = :$1")" ] && return 0; sleep 0.05; done
  fail "nothing listens on $1"
}

# start_ser2net KIND:PORT:N ...: one ser2net serving projector N's line on
# PORT, as telnet with RFC 2217 (KIND rfc2217) or raw TCP (KIND socket).
start_ser2net() {
  local conf="$work/ser2net.yaml" entry kind port n accepter
  : > "$conf"
  for entry in "$@"; do
    IFS=: read -r kind port n <<<"$entry"
    accepter="tcp,127.0.0.1,$port"
    [ "$kind" = rfc2217 ] && accepter="telnet(rfc2217),$accepter"
    printf 'connection: &com%s\n  accepter: %s\n  connector: serialdev,%s,38400n81,local\n' \
      "$n" "$accepter" "$(head -n 1 "$work/sim$n.out")" >> "$conf"
  done
  ser2net -n -d -c "$conf" -P "$work/ser2net.pid" > "$work/ser2net.log" 2>&1 &
  server_pid=$!
  sims+=("$server_pid")  # ended with the simulators, whatever happens
  for entry in "$@"; do IFS=: read -r kind port n <<<"$entry"; await_port "$port"; done
}

# start_relay TARGET_PORT [net-relay options]: a network in front of the
# server; sets $relay_port.
start_relay() {
  local target="$1"; shift
  rm -f "$work/relay.out"
  "$BIN_RELAY" --to "127.0.0.1:$target" "$@" > "$work/relay.out" &
  sims+=($!)
  for _ in $(seq 100); do [ -s "$work/relay.out" ] && break; sleep 0.05; done
  relay_port="$(head -n 1 "$work/relay.out")"
}
