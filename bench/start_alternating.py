#!/usr/bin/env python3
"""Whole-process starts of two or more start-up probes, strictly alternating.

    bench/start_alternating.py RUNS PROBE [ARG] -- PROBE [ARG] [-- ...]

Runs each probe RUNS times (after two rounds of warm-up), in the order
A B, B A, A B, ... so that a change of load on the machine falls on all of
them alike, and prints for each the median and range of the wall time and of
the CPU time (user + system) of the process, its page faults and context
switches, the load average before and after, and the ratio of every other
probe to the second (the baseline): of the medians, and the median (with
quartiles) of the ratios of the runs made side by side. The probes run on the offscreen platform unless
START_BENCH_PLATFORM names another (xcb, with DISPLAY set).
"""
import os
import statistics
import sys
import time


def main():
    runs = int(sys.argv[1])
    probes = [p.split() for p in " ".join(sys.argv[2:]).split(" -- ")]
    env = dict(os.environ, QT_QPA_PLATFORM=os.environ.get("START_BENCH_PLATFORM", "offscreen"))
    quiet = [(os.POSIX_SPAWN_OPEN, fd, "/dev/null", os.O_WRONLY, 0) for fd in (1, 2)]
    wall, cpu, faults, switches = ([[] for _ in probes] for _ in range(4))
    load_before = open("/proc/loadavg").read().split()[:3]
    for i in range(runs + 2):
        for k in (range(len(probes)) if i % 2 == 0 else reversed(range(len(probes)))):
            start = time.perf_counter()
            pid = os.posix_spawn(probes[k][0], probes[k], env, file_actions=quiet)
            _, status, usage = os.wait4(pid, 0)
            stop = time.perf_counter()
            if os.waitstatus_to_exitcode(status) != 0:
                sys.exit(f"{' '.join(probes[k])} did not show its window and end cleanly")
            if i >= 2:
                wall[k].append((stop - start) * 1e3)
                cpu[k].append((usage.ru_utime + usage.ru_stime) * 1e3)
                faults[k].append(usage.ru_minflt + usage.ru_majflt)
                switches[k].append(usage.ru_nvcsw + usage.ru_nivcsw)
    load_after = open("/proc/loadavg").read().split()[:3]
    print(f"{runs} runs each, alternating, on {env['QT_QPA_PLATFORM']}; "
          f"load average {' '.join(load_before)} before, {' '.join(load_after)} after")
    for k, probe in enumerate(probes):
        print(f"  {' '.join(os.path.basename(p) for p in probe):28s}"
              f" wall {statistics.median(wall[k]):6.1f} ms ({min(wall[k]):.1f} to {max(wall[k]):.1f})"
              f"  CPU {statistics.median(cpu[k]):6.1f} ms ({min(cpu[k]):.1f} to {max(cpu[k]):.1f})"
              f"  faults {statistics.median(faults[k]):.0f}  switches {statistics.median(switches[k]):.0f}")
    for k in range(len(probes)):
        if k == 1:
            continue
        side = sorted(a / b for a, b in zip(wall[k], wall[1]))
        q = statistics.quantiles(side, n=4)
        print(f"  probe {k + 1} / probe 2: wall {statistics.median(wall[k]) / statistics.median(wall[1]):.3f}x,"
              f" CPU {statistics.median(cpu[k]) / statistics.median(cpu[1]):.3f}x;"
              f" side by side {statistics.median(side):.3f}x (quartiles {q[0]:.3f}x to {q[2]:.3f}x)")


if __name__ == "__main__":
    main()
