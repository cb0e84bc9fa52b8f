#!/usr/bin/env bash
# Runs bench_eyedropper on a private Xvfb:
#   bench/eyedropper/run.sh [BUILD_DIR] [benchmark arguments...]
set -euo pipefail
build=${1:-build/bench}
shift || true
binary=$build/bench/eyedropper/bench_eyedropper

work=$(mktemp -d)
xvfb=
cleanup() {
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
read -r -t 30 number <"$work/display"
export DISPLAY=":$number" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY QT_SCALE_FACTOR
"$binary" --benchmark_min_time=1 "$@"
