#!/usr/bin/env bash
# Screenshots under a private Xvfb.
#   scripts/screenshot.sh
#     The one software centres show (the AppStream metadata points to it on the
#     web site): the English main window after a colour has been picked from the
#     desktop. Writes assets/screenshot-main-window.png; upload that to the web
#     site's /tonfang/.
#   scripts/screenshot.sh scaled [FOLDER]
#     To look at what a screen scaled by two shows: the German splash, the
#     magnifier over a white, a black and a grey desktop, and every help page
#     and report window. Builds in $TONFANG_BUILD (default build/test, a tree
#     configured with the tests) and writes to FOLDER (default build/screenshots).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ "${1:-}" = scaled ]; then
  out=$(realpath -m "${2:-build/screenshots}")
  build=$(realpath -m "${TONFANG_BUILD:-build/test}")
  cmake --build "$build" --target tonfang help_screenshots
  mkdir -p "$out"
  source scripts/xvfb.sh
  start_xvfb 2400x1600x24
  export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2
  folder=$(mktemp -d) # no marker file: German, the splash with its overlay
  program_pid=
  finish() {
    if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; wait "$program_pid" 2>/dev/null || true; fi
    rm -rf "$folder"
    stop_xvfb
  }
  trap finish EXIT
  (cd "$folder" && exec "$build/app/tonfang") &
  program_pid=$!
  splash=$(xdotool search --sync --onlyvisible --name '^start$')
  sleep 0.3 # let its first paint reach the screen
  import -window "$splash" "$out/splash.png"
  xdotool mousemove --window "$splash" 20 20 click 1
  window=$(xdotool search --sync --onlyvisible --name '^Tonfang - Quellwerk$')

  # Pick from the desktop in each colour; Z shows the magnifier on the first
  # pick, and later picks keep it. The pointer stands low on the right, so the
  # magnifier stands above and to its left.
  key=z
  for colour in white black '#808080'; do
    xsetroot -solid "$colour"
    xdotool mousemove --window "$window" 172 392 mousedown 1 mousemove 2200 1400
    if [ -n "$key" ]; then xdotool key "$key"; key=; fi
    xdotool mousemove 2210 1410
    sleep 0.5
    import -window root -crop 420x420+1800+1000 +repage "$out/magnifier-${colour#\#}.png"
    xdotool mouseup 1
  done
  kill "$program_pid"; wait "$program_pid" 2>/dev/null || true; program_pid=

  "$build/tests/help/screen/help_screenshots" "$out"
  echo "Screenshots at scale 2: $out"
  exit 0
fi

bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTONFANG_TESTS=OFF -DTONFANG_BENCH=OFF >/dev/null
cmake --build build/release --target tonfang

source scripts/xvfb.sh
start_xvfb 1024x768x24
# The colour to pick: the desktop itself.
xsetroot -solid '#2E86C1'

folder=$(mktemp -d)
program_pid=
finish() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; wait "$program_pid" 2>/dev/null || true; fi
  rm -rf "$folder"
  stop_xvfb
}
trap finish EXIT
touch "$folder/en"
(cd "$folder" && exec "$root/build/release/app/tonfang") &
program_pid=$!

# The main window is the one whose title is exactly the program's; a click on
# the splash shows it at once.
splash=$(xdotool search --sync --onlyvisible --name '^start')
xdotool mousemove --window "$splash" 10 10 click 1
window=$(xdotool search --sync --onlyvisible --name '^Tonfang - Quellwerk$')
# Press on the pick button (its centre, below the menu bar), drag onto the desktop
# and let go: the colour lands in every model and in the colour list.
xdotool mousemove --window "$window" 86 196 mousedown 1 \
        mousemove 700 500 mousemove 720 520 mouseup 1
sleep 0.5  # let the last repaint reach the screen before it is read
import -window "$window" assets/screenshot-main-window.png
echo "Screenshot: $root/assets/screenshot-main-window.png"
