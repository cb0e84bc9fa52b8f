#!/usr/bin/env bash
# Starts tonfang and a minimal Qt Widgets program alternately on a private Xvfb
# and prints, as medians over the runs, the time until the first window (the
# splash) is mapped and the resident memory 3 s after that map; and for the
# one-shot pick the time until it has grabbed the pointer, beside the minimal
# program's first map, with its peak memory by then. Both set-ups a desktop
# may have are measured: no window manager and no session bus, then openbox
# with a session bus:
#   bench/startup/run.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-build/bench}" && pwd)
runs=${2:-15}
probe=$build/bench/startup/startup_launch_probe
minimal=$build/bench/startup/startup_minimal_window
tonfang=$build/app/tonfang
for binary in "$probe" "$minimal" "$tonfang"; do
  [ -x "$binary" ] || { echo "missing $binary: build the project in $build first" >&2; exit 1; }
done

source "$(dirname "$0")/../../scripts/xvfb.sh"
start_xvfb 1280x800x24
export QT_QPA_PLATFORM=xcb
work=$(mktemp -d -p "$xvfb_work")  # removed with the server

median() {  # column of a file
  cut -d' ' -f"$2" "$1" | sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# measure NAME: the interleaved runs of one set-up and their medians.
measure() {
  local out=$work/$1
  mkdir -p "$out"
  # One warm-up run each, so that both start from a warm file cache.
  "$probe" Minimal -- "$minimal" >/dev/null 2>&1 || true
  (cd "$work" && "$probe" start -- "$tonfang" >/dev/null 2>&1) || true
  (cd "$work" && "$probe" --grab -- "$tonfang" --pick >/dev/null 2>&1) || true
  # A run that sees no window in time is left out of the medians, and counted.
  for ((i = 0; i < runs; i++)); do
    "$probe" Minimal -- "$minimal" 2>/dev/null >>"$out/minimal" || true
    # A working folder without language marker files.
    (cd "$work" && "$probe" start -- "$tonfang" 2>/dev/null >>"$out/tonfang") || true
    (cd "$work" && "$probe" --grab -- "$tonfang" --pick 2>/dev/null >>"$out/oneshot") || true
  done
  awk -v what="$2" -v runs="$(cat "$out"/* | wc -l)/$((3 * runs))" -v mm="$(median "$out/minimal" 1)" -v tm="$(median "$out/tonfang" 1)" \
      -v mr="$(median "$out/minimal" 2)" -v tr="$(median "$out/tonfang" 2)" \
      -v og="$(median "$out/oneshot" 1)" -v op="$(median "$out/oneshot" 2)" 'BEGIN {
    printf "%s (medians of interleaved runs, %s succeeded)\n", what, runs
    printf "                                   minimal Qt   tonfang   ratio  target\n"
    printf "first window mapped (ms)           %10.1f %9.1f %7.2f  <= 1.3\n", mm, tm, tm / mm
    printf "resident memory 3 s after (MiB)    %10.1f %9.1f %7.2f  <= 1.4\n", mr / 1024, tr / 1024, tr / mr
    printf "one-shot pick: pointer grabbed (ms)%10.1f %9.1f %7.2f  <= 1.3\n", mm, og, og / mm
    printf "one-shot pick: peak memory (MiB)   %10.1f %9.1f %7.2f\n", mr / 1024, op / 1024, op / mr
  }'
}

(unset DBUS_SESSION_BUS_ADDRESS; measure bare "No window manager, no session bus")

# A private session bus, and openbox managing the windows.
read -r bus_address bus_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -sd' ')
openbox --sm-disable >/dev/null 2>&1 &
openbox_pid=$!
trap 'kill "$openbox_pid" "$bus_pid" 2>/dev/null || true; stop_xvfb' EXIT
export DBUS_SESSION_BUS_ADDRESS=$bus_address
for ((i = 0; i < 100; i++)); do  # until openbox has announced itself on the root window
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
measure desktop "Openbox with a session bus"
