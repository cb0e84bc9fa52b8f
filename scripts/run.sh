#!/usr/bin/env bash
# Builds Tonfang and starts it. Without a display it starts the program under
# Xvfb, takes a screenshot once the main window is up and prints where it is.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTONFANG_TESTS=OFF -DTONFANG_BENCH=OFF >/dev/null
cmake --build build/release --target tonfang

program="$PWD/build/release/app/tonfang"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
fi

shot="$PWD/build/tonfang-screenshot.png"
echo "No display found: starting Tonfang under Xvfb instead."
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
  "$1" & pid=$!
  # The splash hands over to the main window after 2.5 s.
  sleep 4
  import -window root "$2"
  kill "$pid"; wait "$pid" 2>/dev/null || true
' _ "$program" "$shot"
echo "Screenshot of the screen: $shot"
