#!/usr/bin/env bash
# A Windows build of the ISP tool and no wine to run it: the technician is
# told what to install, the upgrade ends as when the tool cannot be started
# (exit status 1, no false success), and no wine prefix is made or process
# left behind.
. "$(dirname "$0")/lib.sh"
printf 'MZ\220\0\3\0' > "$prog/gf9450isp.exe"  # how every Windows executable begins
start_projector 1
set +e
out="$(cd "$work" && timeout 240 env PATH=/nonexistent "$prog/fwupgrade" upgrade --port 1 --yes "$list" 2>&1)"
rc=$?
set -e
echo "$out"
[ "$rc" -eq 1 ] || fail "exit status $rc"
output_has "ERROR: Can't start gf9450isp.exe: it is a Windows program, and wine, which runs it here, is not installed."
output_has 'Please install wine (Debian package "wine"), or name the program that runs Windows programs as RUNNER= in the [ISP] section of settings.ini.'
output_lacks "Download complete"
[ ! -e "$prog/wineprefix" ] || fail "a wine prefix was made"
for p in /proc/[0-9]*; do
  if grep -qsF -- "$prog" "$p/cmdline" "$p/environ" || [[ "$(readlink "$p/cwd" 2>/dev/null)" == "$prog"* ]]; then
    fail "left running: $(tr '\0' ' ' < "$p/cmdline")"
  fi
done
stop_projectors
report_has 1 up_whole=yes
report_has 1 scaler_whole=no
echo "passed"
