#!/usr/bin/env bash
# Screenshots under a private Xvfb.
#   screenshot.sh                   the screenshot that software centres show
#                                   (the AppStream metadata points to it on the
#                                   web site): the English main window after a
#                                   colour has been picked from the desktop.
#                                   Writes assets/screenshot-main-window.png;
#                                   upload that to the web site's /tonfang/.
#   screenshot.sh windows [FOLDER]  the main window at 13 decimal places, beside
#                                   the unit affixes dialog in both languages,
#                                   and the colour dialog, on a German desktop
#                                   at scale 1 and 2, to look at (FOLDER/scale1,
#                                   FOLDER/scale2; build/screenshots by default).
#   screenshot.sh scaled [FOLDER]   the German splash, the magnifier over a white,
#                                   a black and a grey desktop, and every help
#                                   page and report window at scale 2, to look
#                                   at (FOLDER/scale2).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/deps.sh

# A scratch folder to start the program in; the program, the folder and the X
# server go when the script ends. Call after start_xvfb.
folder_for_the_program() {
  folder=$(mktemp -d)
  program_pid=
  trap finish EXIT
}
finish() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; wait "$program_pid" 2>/dev/null || true; fi
  rm -rf "$folder"
  stop_xvfb
}

if [ "${1:-}" = scaled ]; then
  out=$(realpath -m "${2:-build/screenshots}")/scale2
  build=$root/build/test
  [ -f build/test/CMakeCache.txt ] || cmake -S . -B build/test -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/test --target tonfang help_screenshots
  mkdir -p "$out"
  source scripts/xvfb.sh
  start_xvfb 2400x1600x24
  export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2
  # No marker file: German, the splash with its overlay.
  folder_for_the_program
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

if [ "${1:-}" = windows ]; then
  out=$(realpath -m "${2:-build/screenshots}")
  # The test tree builds the picture taker and the German locale it runs in.
  [ -f build/test/CMakeCache.txt ] || cmake -S . -B build/test -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build/test --target window_screenshots
  source scripts/xvfb.sh
  start_xvfb 2560x1600x24
  for scale in 1 2; do
    mkdir -p "$out/scale$scale"
    LOCPATH="$root/build/test/locales" LC_ALL=de_DE.UTF-8 QT_QPA_PLATFORM=xcb \
      QT_SCALE_FACTOR=$scale build/test/tests/app/screen/window_screenshots "$out/scale$scale"
  done
  echo "Screenshots: $out"
  exit 0
fi

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTONFANG_TESTS=OFF -DTONFANG_BENCH=OFF >/dev/null
cmake --build build/release --target tonfang

source scripts/xvfb.sh
start_xvfb 1024x768x24
# The colour to pick: the desktop itself.
xsetroot -solid '#2E86C1'

folder_for_the_program
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
