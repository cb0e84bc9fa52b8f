"""The native pick on a headless sway that run_wayland.sh has started, on two
outputs: the time from exec until `tonfang --pick` shows its overlays (its
"bench ready" line) beside the bare client, interleaved; then the time tonfang
spends on Wayland events per pointer move ("bench frame N" lines), with and
without the magnifier. Writes the medians as JSON:
  measure.py TONFANG BARE_OVERLAY VIRTUAL_POINTER OUT.json [RUNS [MOVES]]"""
import json
import os
import selectors
import signal
import statistics
import subprocess
import sys
import tempfile
import time

tonfang, bare, virtual_pointer, out = sys.argv[1:5]
runs = int(sys.argv[5]) if len(sys.argv) > 5 else 15
moves = int(sys.argv[6]) if len(sys.argv) > 6 else 200
LAYOUT = (2560, 800)  # two outputs of 1280 x 800 side by side
POINTS = ((400, 300), (800, 500))  # on the first output, far enough apart to redraw

env = dict(os.environ, TONFANG_BENCH_READY="1", TONFANG_WAYLAND_PICKER="native")
env.pop("QT_QPA_PLATFORM", None)
work = tempfile.mkdtemp()  # no language marker: the same texts each run


class Lines:
    """Lines of a pipe, each awaited for a few seconds at most."""

    def __init__(self, pipe):
        self.fd, self.rest = pipe.fileno(), b""
        self.selector = selectors.DefaultSelector()
        self.selector.register(self.fd, selectors.EVENT_READ)

    def next(self, timeout=10.0):
        end = time.monotonic() + timeout
        while b"\n" not in self.rest:
            left = end - time.monotonic()
            if left <= 0 or not self.selector.select(left):
                return None
            chunk = os.read(self.fd, 4096)
            if not chunk:
                return None
            self.rest += chunk
        line, self.rest = self.rest.split(b"\n", 1)
        return line.decode(errors="replace")

    def until(self, prefix):
        while (line := self.next()) is not None:
            if line.startswith(prefix):
                return line
        return None


def swaymsg(*arguments):
    return subprocess.run(["swaymsg", *arguments], check=True, capture_output=True, text=True).stdout


def start_pick(*arguments):
    process = subprocess.Popen([tonfang, "--pick", *arguments], cwd=work, env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    return process, Lines(process.stderr)


def end(process):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
    process.wait(timeout=10)


def ready_tonfang():
    start = time.perf_counter()
    process, lines = start_pick()
    shown = lines.until("bench ready")
    elapsed = time.perf_counter() - start
    end(process)
    return elapsed * 1000 if shown else None


def ready_bare():
    start = time.perf_counter()
    process = subprocess.Popen([bare], stdout=subprocess.PIPE, env=env)
    shown = Lines(process.stdout).until("ready")
    elapsed = time.perf_counter() - start
    end(process)
    return elapsed * 1000 if shown else None


swaymsg("create_output")
swaymsg("output HEADLESS-2 resolution 1280x800 position 1280 0 bg #5080B0 solid_color")
for _ in range(200):  # until sway lists both outputs as on
    if sum(o["active"] for o in json.loads(swaymsg("-t", "get_outputs", "-r"))) == 2:
        break
    time.sleep(0.05)
pointer = subprocess.Popen([virtual_pointer], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)


def move_to(point):
    pointer.stdin.write(f"motion {point[0]} {point[1]} {LAYOUT[0]} {LAYOUT[1]}\n")
    pointer.stdin.flush()
    return pointer.stdout.readline().strip() == "ok"


move_to(POINTS[0])  # parked on the first output for every run

# One warm-up run of each, then the runs interleaved, each side first in turn.
ready = {"tonfang": [], "bare": []}
failed = 0
for run in range(runs + 1):
    order = (("tonfang", ready_tonfang), ("bare", ready_bare))
    for name, measure in order if run % 2 else order[::-1]:
        ms = measure()
        if ms is None:
            failed += 1
        elif run:
            ready[name].append(ms)


def move_costs(*arguments):
    process, lines = start_pick(*arguments)
    costs = []
    if lines.until("bench ready"):
        for i in range(moves + 20):  # the first twenty warm up
            line = lines.until("bench frame") if move_to(POINTS[i % 2]) else None
            if line is None:
                break
            if i >= 20:
                costs.append(int(line.split()[2]) / 1000)
    end(process)
    return costs


plain, magnified = move_costs(), move_costs("--magnifier")
pointer.stdin.close()
pointer.wait(timeout=10)
if not (ready["tonfang"] and ready["bare"] and plain and magnified):
    sys.exit("the native pick did not show, or did not follow the pointer")
figures = {
    "ready_tonfang_ms": statistics.median(ready["tonfang"]),
    "ready_bare_ms": statistics.median(ready["bare"]),
    "ready_runs": min(len(ready["tonfang"]), len(ready["bare"])),
    "ready_failed": failed,
    "move_us": statistics.median(plain),
    "move_magnified_us": statistics.median(magnified),
    "moves": min(len(plain), len(magnified)),
}
json.dump(figures, open(out, "w"), indent=1)
print(f"  overlays shown on both outputs, from exec (median of {figures['ready_runs']}, interleaved,"
      f" {failed} failed): tonfang {figures['ready_tonfang_ms']:.1f} ms,"
      f" bare client {figures['ready_bare_ms']:.1f} ms")
print(f"  Wayland work per pointer move (median of {figures['moves']}):"
      f" {figures['move_us']:.1f} us, with the magnifier {figures['move_magnified_us']:.1f} us")
