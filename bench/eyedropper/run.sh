#!/usr/bin/env bash
# Runs bench_eyedropper on a private Xvfb:
#   bench/eyedropper/run.sh [BUILD_DIR] [benchmark arguments...]
set -euo pipefail
build=${1:-build/bench}
shift || true
binary=$build/bench/eyedropper/bench_eyedropper

source "$(dirname "$0")/../../scripts/xvfb.sh"
start_xvfb 1280x1024x24
export QT_QPA_PLATFORM=xcb
# The server shares the machine with everything else: five runs of each, in a
# shuffled order, give medians that a busy moment does not decide.
"$binary" --benchmark_min_time=0.3 --benchmark_repetitions=5 \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true "$@"
