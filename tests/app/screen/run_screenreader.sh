#!/usr/bin/env bash
# Runs screenreader_stress.py on a private Xvfb and a private session bus that
# activates nothing, with the AT-SPI bus and registry started here:
#   run_screenreader.sh ROUNDS TONFANG_EXECUTABLE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../scripts/xvfb.sh"
start_xvfb 1280x1024x24
export QT_QPA_PLATFORM=xcb

pids=()
stop_all() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  stop_xvfb
}
trap stop_all EXIT
trap "exit 1" INT TERM

cat >"$xvfb_work/session.conf" <<EOF
<busconfig>
  <type>session</type>
  <listen>unix:dir=$xvfb_work</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/>
  </policy>
</busconfig>
EOF
{ read -r DBUS_SESSION_BUS_ADDRESS; read -r bus_pid; } < <(
  dbus-daemon --config-file="$xvfb_work/session.conf" --fork --print-address=1 --print-pid=1)
pids+=("$bus_pid")
export DBUS_SESSION_BUS_ADDRESS

/usr/libexec/at-spi-bus-launcher --launch-immediately --a11y=1 &
pids+=($!)
until dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
  org.a11y.Bus.GetAddress >/dev/null 2>&1; do
  kill -0 "${pids[-1]}"  # gives up if the launcher died
done
/usr/libexec/at-spi2-registryd &
pids+=($!)

/usr/bin/python3 "$here/screenreader_stress.py" "$@"
