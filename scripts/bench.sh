#!/usr/bin/env bash
# Builds the benchmarks (optimised) and runs them all, printing the figures and
# the ratios in which the speed and memory targets are stated:
#   bash scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/bench
out=$build/results
mkdir -p "$out"

bash scripts/deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTONFANG_TESTS=OFF >/dev/null
cmake --build "$build"

# ratio FILE NUMERATOR DENOMINATOR LABEL TARGET: compares two benchmarks of a JSON
# result, by the median of their repetitions where they were repeated.
ratio() {
  python3 - "$@" <<'PY'
import json, sys
path, top, bottom, label, target = sys.argv[1:6]
times = {}
for b in json.load(open(path))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        times[b["run_name"]] = b["real_time"]
    elif b.get("run_type", "iteration") == "iteration":
        times.setdefault(b["name"], b["real_time"])
print(f"  {label}: {times[top] / times[bottom]:.2f} (target {target})")
PY
}

json() { echo "--benchmark_out=$out/$1.json --benchmark_out_format=json"; }

echo "== Colour core: time per colour"
"$build/bench/core/bench_core" $(json core)

echo "== Main window synchroniser (offscreen)"
"$build/bench/editor/bench_editor" $(json editor)
ratio "$out/editor.json" RGBtoALL_sameColour RGBtoALL_changingColour \
  "same colour twice / changing colour" "a small fraction"

echo "== Colour list: memory and steps at 1 and 26 million entries (offscreen)"
QT_QPA_PLATFORM=offscreen "$build/bench/editor/bench_colourlist" $(json colourlist)
python3 - "$out/colourlist.json" <<'PY'
import json, sys
runs = json.load(open(sys.argv[1]))["benchmarks"]
def counter(name, key):
    return next(b[key] for b in runs if b["name"].startswith(name + "/"))
def median(name):
    return next(b["real_time"] for b in runs
                if b["name"].startswith(name + "/") and b.get("aggregate_name") == "median")
print(f"  1 M entries above an empty list: {counter('BM_MillionEntriesMemory', 'added_MB'):.1f} MB (target <= 20)")
print(f"  26 M entries, whole process: {counter('BM_HugeListMemory', 'resident_MB'):.0f} MB (target < 1024)")
for case, what in (("ScrollStep", "scroll step"), ("DeleteTop", "Delete at the top"),
                   ("DeleteMiddle", "Delete in the middle"), ("AppendOne", "one appended entry")):
    print(f"  26 M entries, {what}: {median('BM_HugeList' + case):.2f} ms, median of 5 (target <= 50)")
print(f"  after clearing, above the memory before growth: {counter('BM_HugeListCleared', 'above_before_MB'):.1f} MB (target <= 30)")
PY

echo "== Colour list file: open and save (median of 5, peak memory per case)"
bash bench/colourlist/run.sh "$build" | tee "$out/colourlistfile.txt"
python3 - "$out/colourlistfile.txt" <<'PY'
import re, sys
times = {}
for line in open(sys.argv[1]):
    m = re.match(r"BM_(Open|Save)ColourListFile/(\d+)_median\s+([\d.]+) (\w+)", line)
    if m:
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[m.group(4)]
        times[(m.group(1), int(m.group(2)))] = float(m.group(3)) * scale
for case in ("Open", "Save"):
    a, b, c = (times.get((case, n)) for n in (10000, 100000, 1000000))
    if a and b and c:
        print(f"  {case}: 100k/10k {b / a:.1f}x, 1M/100k {c / b:.1f}x (target <= 12x);"
              f" 1M lines {c:.0f} ms (target < {2000 if case == 'Open' else 1000} ms)")
PY
python3 - "$out/colourlistfile.txt" <<'PY'
import re, sys
floor, stream, save = {}, {}, {}
for line in open(sys.argv[1]):
    m = re.match(r"BM_(ReadFloor|OpenLargeColourListFile)/(\d+)/(\d)_median\s+([\d.]+) ms", line)
    if m:
        key = (int(m.group(2)), int(m.group(3)))
        # Counters carry an SI suffix in the console (m: thousandths, k: thousands).
        scale = {"": 1, "n": 1e-9, "u": 1e-6, "m": 1e-3, "k": 1e3, "M": 1e6, "G": 1e9}
        counters = {name: str(float(value) * scale[unit]) for name, value, unit
                    in re.findall(r"(\w+)=(-?[\d.]+)([numkMG]?)", line)}
        (floor if m.group(1) == "ReadFloor" else stream)[key] = (float(m.group(4)), counters)
    m = re.match(r"BM_SaveLargeColourListFile/(\d+)_median\s+([\d.]+) ms", line)
    if m:
        save[int(m.group(1))] = float(m.group(2))
for (lines, encoding), (time, counters) in sorted(stream.items()):
    name = f"{lines // 1000000}M lines, {'UTF-8 with mark' if encoding else 'locale encoding'}"
    if (lines, encoding) in floor:
        print(f"  open {name}: {time:.1f} ms = {time / floor[(lines, encoding)][0]:.1f}x the"
              f" bare read loop (target <= 20x)")
    kept, cleared = float(counters.get("kept_MB", 0)), float(counters.get("cleared_MB", 0))
    over = float(counters.get("peak_over_kept_MB", 0))
    budget = "<= 20 MB" if lines <= 1000000 else "process < 1 GB"
    print(f"  open {name}: list keeps {kept:.0f} MB ({budget}), peak {over:.0f} MB above it"
          f" (target <= 64 MB), {max(cleared, 0.0):.0f} MB left after clearing (target <= 30 MB)")
for lines, time in sorted(save.items()):
    print(f"  save {lines // 1000000}M lines: {time:.0f} ms")
PY

echo "== Eyedropper: one move, with and without the magnifier, and the pixel read (Xvfb)"
bash bench/eyedropper/run.sh "$build" $(json eyedropper)
ratio "$out/eyedropper.json" BM_PixelRead BM_BareXRequests "pixel read / bare X requests" "<= 1.3"
ratio "$out/eyedropper.json" BM_EyedropperMoveMagnified BM_EyedropperMove \
  "move with the magnifier / move without" "<= 1.5"
ratio "$out/eyedropper.json" BM_QtGrabWindow1x1 BM_BareXRequests "QScreen::grabWindow 1x1 / bare X requests" "for comparison"

echo "== Eyedropper on Wayland: the native pick on a headless sway with two outputs"
bash bench/wayland/run.sh "$build" "$out/wayland.json"
python3 - "$out/wayland.json" "$out/eyedropper.json" <<'PY'
import json, sys
native = json.load(open(sys.argv[1]))
scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}
x11 = {b["run_name"]: b["real_time"] * scale[b["time_unit"]] for b in json.load(open(sys.argv[2]))["benchmarks"]
       if b.get("aggregate_name") == "median"}
print(f"  overlays shown, tonfang / bare client: {native['ready_tonfang_ms'] / native['ready_bare_ms']:.2f} (target <= 1.5)")
for key, name, what in (("move_us", "BM_EyedropperMove", "move"),
                        ("move_magnified_us", "BM_EyedropperMoveMagnified", "move with the magnifier")):
    print(f"  {what}, native {native[key]:.1f} us / X11 {x11[name]:.1f} us: {native[key] / x11[name]:.2f} (target <= 1.5)")
PY

echo "== Start-up against a minimal Qt program (Xvfb)"
bash bench/startup/run.sh "$build"
