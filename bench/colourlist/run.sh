#!/usr/bin/env bash
# Runs each case of bench_colourlistfile in a process of its own, so that the
# peak memory reported belongs to that case alone (peak_MB: the whole process,
# above_start_MB: above what the process held right after start-up; for saving
# this includes the list being saved). Opening runs on files of 1 and 26
# million lines (locale encoding 0, UTF-8 with a mark 1), each in a process of
# its own after its floor, a bare read loop over the same file; then saving:
#   bench/colourlist/run.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build/bench}
binary=$build/bench/colourlist/bench_colourlistfile
# FILTER: the medians of five runs of the cases it names, in a process of their own.
medians() {
  "$binary" --benchmark_filter="$1" --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true 2>/dev/null | grep -E '_median'
}
for case in Open Save; do
  for lines in 10000 100000 1000000; do
    medians "BM_${case}ColourListFile/${lines}\$"
  done
done
"$binary" --benchmark_filter=BM_ScrollAfterOpeningMillion 2>/dev/null | grep -E '^BM_'
# The large files are written once for all cases and removed at the end.
export TONFANG_BENCH_FILES=$build/colourlist-files
mkdir -p "$TONFANG_BENCH_FILES"
trap 'rm -rf "$TONFANG_BENCH_FILES"' EXIT
for lines in 1000000 26000000; do
  for encoding in 0 1; do
    medians "BM_(ReadFloor|OpenLargeColourListFile)/${lines}/${encoding}\$"
  done
  medians "BM_SaveLargeColourListFile/${lines}\$"
done
