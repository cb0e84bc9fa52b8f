#!/usr/bin/env bash
# Starts tonfang and a minimal Qt Widgets program alternately on a private Xvfb
# and prints, as medians over the runs, the time until the first window (the
# splash) is mapped and the resident memory once the main window is shown; and
# for the one-shot pick the time until it has grabbed the pointer, beside the
# minimal program's first map, with its peak memory by then:
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
start_xvfb 1280x1024x24
export QT_QPA_PLATFORM=xcb
work=$(mktemp -d -p "$xvfb_work")  # removed with the server

# One warm-up run each, so that both start from a warm file cache.
"$probe" Minimal Minimal -- "$minimal" >/dev/null 2>&1
(cd "$work" && "$probe" start "Tonfang - Quellwerk" -- "$tonfang" >/dev/null 2>&1)
(cd "$work" && "$probe" --grab -- "$tonfang" --pick >/dev/null 2>&1)
for ((i = 0; i < runs; i++)); do
  "$probe" Minimal Minimal -- "$minimal" 2>/dev/null >>"$work/minimal"
  # A working folder without language marker files.
  (cd "$work" && "$probe" start "Tonfang - Quellwerk" -- "$tonfang" 2>/dev/null >>"$work/tonfang")
  (cd "$work" && "$probe" --grab -- "$tonfang" --pick 2>/dev/null >>"$work/oneshot")
done

median() {  # column of a file
  cut -d' ' -f"$2" "$1" | sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
min_map=$(median "$work/minimal" 1); ton_map=$(median "$work/tonfang" 1)
min_rss=$(median "$work/minimal" 2); ton_rss=$(median "$work/tonfang" 2)
one_grab=$(median "$work/oneshot" 1); one_peak=$(median "$work/oneshot" 2)
awk -v runs="$runs" -v mm="$min_map" -v tm="$ton_map" -v mr="$min_rss" -v tr="$ton_rss" \
    -v og="$one_grab" -v op="$one_peak" 'BEGIN {
  printf "startup (median of %d runs)        minimal Qt   tonfang   ratio  target\n", runs
  printf "first window mapped (ms)           %10.1f %9.1f %7.2f  <= 1.5\n", mm, tm, tm / mm
  printf "resident memory, main shown (MiB)  %10.1f %9.1f %7.2f  <= 1.5\n", mr / 1024, tr / 1024, tr / mr
  printf "one-shot pick: pointer grabbed (ms)%10.1f %9.1f %7.2f  <= 1.3\n", mm, og, og / mm
  printf "one-shot pick: peak memory (MiB)   %10.1f %9.1f %7.2f\n", mr / 1024, op / 1024, op / mr
}'
