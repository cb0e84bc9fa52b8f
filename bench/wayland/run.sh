#!/usr/bin/env bash
# Runs measure.py on a private headless sway, started as the Wayland tests
# start theirs:
#   bench/wayland/run.sh [BUILD_DIR] [OUT.json] [RUNS [MOVES]]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build/bench}" && pwd)
out=$(realpath -m "${2:-$build/results/wayland.json}")
shift $(($# < 2 ? $# : 2))
for binary in app/tonfang bench/wayland/bench_bare_overlay bench/wayland/bench_virtualpointer; do
  [ -x "$build/$binary" ] || { echo "missing $build/$binary: build the project there first" >&2; exit 1; }
done
bash "$here/../../tests/wayland/run_wayland.sh" bench python3 "$here/measure.py" "$build/app/tonfang" \
  "$build/bench/wayland/bench_bare_overlay" "$build/bench/wayland/bench_virtualpointer" "$out" "$@"
