"""The CSV benchmark's file and its measurements (run_csv.sh calls this).

generate <file>: writes the 100,000 x 20 file, about 50 MB, the same every time.
compare <program> <folder> <runs>: runs the grid program and Python's csv module as processes of
their own, each `runs` times, and prints the median seconds and the largest peak memory.
"""
import csv
import os
import random
import statistics
import subprocess
import sys
import time

ROWS, COLS = 100_000, 20


def generate(path):
    rng = random.Random(2026)
    words = ["meter", "valve", "Zähler", "pump", "flow, return", 'say "hi"', "temp", "sensor", "Straße", "room"]
    with open(path, "w", newline="", encoding="utf-8") as f:
        w = csv.writer(f, lineterminator="\r\n")
        for r in range(ROWS):
            row = []
            for c in range(COLS):
                k = (r + c) % 4
                if k == 0:
                    row.append("%d.%03d" % (rng.randrange(10**9), rng.randrange(1000)) + "x" * 12)
                elif k == 1:
                    row.append(" ".join(rng.choice(words) for _ in range(3)))
                elif k == 2:
                    row.append("ID-%016X-%06d" % (rng.getrandbits(64), c))
                else:
                    row.append(rng.choice(words) + " " + "%016d" % rng.randrange(10**16))
            w.writerow(row)
    print("file %s: %.1f MB" % (os.path.basename(path), os.path.getsize(path) / 1e6))


PYTHON_LOAD_SAVE = r"""
import csv, sys, time
t0 = time.perf_counter()
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    rows = list(csv.reader(f))
t1 = time.perf_counter()
with open(sys.argv[2], 'w', newline='', encoding='utf-8') as f:
    csv.writer(f, lineterminator='\r\n').writerows(rows)
t2 = time.perf_counter()
print('rows %d columns %d load %.3f save %.3f' % (len(rows), len(rows[0]), t1 - t0, t2 - t1))
"""


def run(command):
    """Seconds of load and save as the process prints them, and its peak memory in bytes."""
    child = subprocess.Popen(command, stdout=subprocess.PIPE, text=True)
    out = child.stdout.read()
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = os.waitstatus_to_exitcode(status)
    if child.returncode != 0:
        sys.exit("%s failed (%d)" % (command[0], child.returncode))
    fields = out.split()
    return float(fields[5]), float(fields[7]), usage.ru_maxrss * 1024, out.strip()


def compare(program, folder, runs):
    source = os.path.join(folder, "in.csv")
    size = os.path.getsize(source)
    results = {}
    for name, command in (
        ("grid", [program, source, os.path.join(folder, "grid.csv")]),
        ("python", [sys.executable, "-c", PYTHON_LOAD_SAVE, source, os.path.join(folder, "py.csv")]),
    ):
        loads, saves, peaks = [], [], []
        for _ in range(runs):
            load, save, peak, line = run(command)
            loads.append(load)
            saves.append(save)
            peaks.append(peak)
        results[name] = (statistics.median(loads), statistics.median(saves), max(peaks))
        print("%-6s %s" % (name, line))
    print("%-6s %9s %9s %12s %14s" % ("", "load s", "save s", "peak MB", "peak / file"))
    for name, (load, save, peak) in results.items():
        print("%-6s %9.3f %9.3f %12.1f %14.2f" % (name, load, save, peak / 1e6, peak / size))
    g, p = results["grid"], results["python"]
    print("grid / python: load %.2f, save %.2f, peak memory %.2f" % (g[0] / p[0], g[1] / p[1], g[2] / p[2]))
    # The grid's file, read back by Python, holds the same cells as the source.
    with open(source, newline="", encoding="utf-8") as a, open(os.path.join(folder, "grid.csv"), newline="", encoding="utf-8-sig") as b:
        same = list(csv.reader(a)) == list(csv.reader(b))
    print("the grid's file read by Python's csv module: %s" % ("same cells" if same else "DIFFERENT CELLS"))
    if not same:
        sys.exit(1)


if __name__ == "__main__":
    if sys.argv[1] == "generate":
        generate(sys.argv[2])
    else:
        compare(sys.argv[2], sys.argv[3], int(sys.argv[4]))
