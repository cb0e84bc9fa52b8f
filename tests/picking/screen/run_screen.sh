#!/usr/bin/env bash
# Runs the eyedropper's screen tests of one configuration on a private Xvfb:
#   run_screen.sh CONFIG TEST_BINARY [gtest arguments...]
# CONFIG is depth24, depth16, depth30, scale2, scale1.5, monitors or portal.
set -euo pipefail
config=$1 binary=$2
shift 2

geometry=1280x1024x24 filter='PickingScreen.*:ScreenDepth.*' scale= monitors= bus=
case $config in
  depth24) ;;
  depth16) geometry=1280x1024x16 filter='ScreenDepth.*' ;;
  depth30) geometry=1280x1024x30 filter='ScreenDepth.*' ;;
  scale2) scale=2 filter='HiDpi.*' ;;
  scale1.5) scale=1.5 filter='HiDpi.*' ;;
  monitors) geometry=1600x700x24 monitors=yes filter='Monitors.*' ;;
  portal) bus=yes filter='Portal.*' ;;
  *) echo "unknown configuration: $config" >&2; exit 2 ;;
esac

work=$(mktemp -d)
xvfb=
cleanup() {
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it is ready.
# -noreset keeps the server (and what it shows) alive between clients.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 "$geometry" -noreset -nolisten tcp 3>"$work/display" \
  2>"$work/xvfb.log" &
xvfb=$!
if ! read -r -t 30 number <"$work/display"; then
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$number"

if [ -n "$monitors" ]; then
  # Two monitors side by side, the primary on the right; with the output's own
  # full-size monitor switched off, the strip below them is on no monitor.
  xrandr --setmonitor '*R' 800/211x600/158+800+0 none
  xrandr --setmonitor L 800/211x600/158+0+0 none
  xrandr --output screen --off --fb 1600x700
  export TONFANG_PATTERN_SCREEN=L
fi

export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY XDG_SESSION_TYPE QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS \
  QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING
if [ -n "$scale" ]; then export QT_SCALE_FACTOR=$scale; fi

command=("$binary" "--gtest_filter=$filter" "$@")
if [ -n "$bus" ]; then
  dbus-run-session -- "${command[@]}"
else
  "${command[@]}"
fi
