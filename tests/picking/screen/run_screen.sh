#!/usr/bin/env bash
# Runs the eyedropper's screen tests of one configuration on a private Xvfb:
#   run_screen.sh CONFIG TEST_BINARY [gtest arguments...]
# CONFIG is depth24, depth16, depth30, scale2, scale1.5, monitors or portal.
set -euo pipefail
config=$1 binary=$2
shift 2

geometry=1280x1024x24 filter='PickingScreen.*:ScreenDepth.*:ListDrag.*:Magnifying.*:OneShot.*' scale= monitors= bus=
case $config in
  depth24) ;;
  depth16) geometry=1280x1024x16 filter='ScreenDepth.*' ;;
  depth30) geometry=1280x1024x30 filter='ScreenDepth.*' ;;
  scale2) scale=2 filter='HiDpi.*:Magnifying.*:OneShot.*' ;;
  scale1.5) scale=1.5 filter='HiDpi.*:Magnifying.*' ;;
  monitors) geometry=1600x700x24 monitors=yes filter='Monitors.*:MagnifyingMonitors.*' ;;
  portal) bus=yes filter='Portal.*' ;;
  *) echo "unknown configuration: $config" >&2; exit 2 ;;
esac

source "$(dirname "$0")/../../../scripts/xvfb.sh"
start_xvfb "$geometry"
export QT_QPA_PLATFORM=xcb

if [ -n "$monitors" ]; then
  # Two monitors side by side, the primary on the right; with the output's own
  # full-size monitor switched off, the strip below them is on no monitor.
  xrandr --setmonitor '*R' 800/211x600/158+800+0 none
  xrandr --setmonitor L 800/211x600/158+0+0 none
  xrandr --output screen --off --fb 1600x700
  export TONFANG_PATTERN_SCREEN=L
fi

if [ -n "$scale" ]; then export QT_SCALE_FACTOR=$scale; fi

command=("$binary" "--gtest_filter=$filter" "$@")
if [ -n "$bus" ]; then
  # A bus of its own configuration: the system's service folders would let a
  # call start an installed portal beside the fake one.
  dbus-run-session --config-file="$(dirname "$0")/private_bus.conf" -- "${command[@]}"
else
  "${command[@]}"
fi
