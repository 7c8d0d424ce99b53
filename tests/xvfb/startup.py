#!/usr/bin/python3
"""Start-up time and memory of the real program under X (Xvfb): starts it RUNS times from its
program folder, as the README starts it, and takes the time from the start of the process to
the end of its first paint (the program reports that moment when QUVO_STARTUP_STAMP is set).
After the last start it waits for the web panel to settle and reports the resident memory of
the program and of the web engine's processes.

    DISPLAY=:99 tests/xvfb/startup.py PROGRAM_FOLDER [RUNS]
"""
import os
import statistics
import subprocess
import sys
import time


def rss_kib(pid):
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def descendants(pid):
    out = subprocess.run(["ps", "-e", "-o", "pid=,ppid=,comm="], capture_output=True, text=True).stdout
    children = {}
    names = {}
    for line in out.split("\n"):
        parts = line.split(None, 2)
        if len(parts) == 3:
            children.setdefault(int(parts[1]), []).append(int(parts[0]))
            names[int(parts[0])] = parts[2]
    found, todo = [], [pid]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append((child, names[child]))
            todo.append(child)
    return found


def start_once(folder, settle):
    env = dict(os.environ, QUVO_STARTUP_STAMP="1")
    t0 = time.time()
    proc = subprocess.Popen(["./quvo"], cwd=folder, env=env, stderr=subprocess.PIPE, text=True)
    elapsed = panel = None
    for line in proc.stderr:
        if line.startswith("quvo: first paint at "):
            elapsed = float(line.split()[-1]) - t0
        elif line.startswith("quvo: web panel made at "):
            panel = float(line.split()[-1]) - t0
            break
    memory = None
    if settle:
        time.sleep(settle)
        memory = [("quvo", rss_kib(proc.pid))] + [(name, rss_kib(pid)) for pid, name in descendants(proc.pid)]
    proc.terminate()
    proc.wait(timeout=20)
    return elapsed, panel, memory


def main():
    folder = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    times, panels = [], []
    memory = None
    for i in range(runs):
        elapsed, panel, mem = start_once(folder, 8 if i == runs - 1 else 0)
        if elapsed is None:
            sys.exit("the program reported no first paint")
        times.append(elapsed * 1000)
        if panel is not None:
            panels.append(panel * 1000)
        memory = mem or memory
        time.sleep(0.5)
    print("start-up to the first paint, %d runs: median %.0f ms, min %.0f ms, max %.0f ms"
          % (runs, statistics.median(times), min(times), max(times)))
    if panels:
        print("start-up to the web panel made, median %.0f ms" % statistics.median(panels))
    total = 0
    for name, kib in memory:
        print("  resident %-22s %7.1f MB" % (name, kib / 1024))
        total += kib
    print("  resident in all              %7.1f MB" % (total / 1024))


if __name__ == "__main__":
    main()
