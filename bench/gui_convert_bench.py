#!/usr/bin/python3
"""Times the desktop program's Convert command (the window, offscreen, run by
tests/gui/window_convert) beside dravbatch on the same workbook, dBASE IV.
Both are whole processes: start-up, conversion and exit. Prints the best wall
and CPU time of each over several runs and their ratio.

  bench/gui_convert_bench.py WINDOW_CONVERT DRAVBATCH WORKBOOK [--runs N]

Goal: the window takes no more than 1.5 times dravbatch's CPU time. CPU time
is the figure judged, as in the other benchmarks: wall time on a shared
machine swings with the other work on it.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time


def measure(command, runs, output, env=None):
    """Best wall time and best CPU time (user + system), in seconds."""
    best_wall, best_cpu = float('inf'), float('inf')
    for _ in range(runs):
        shutil.rmtree(output, ignore_errors=True)
        started = time.perf_counter()
        process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, env=env)
        _, status, usage = os.wait4(process.pid, 0)
        wall = time.perf_counter() - started
        code = os.waitstatus_to_exitcode(status)
        if code != 0:
            sys.exit('%s failed with status %d: %s' % (command[0], code,
                                                       process.stderr.read().decode()[:300]))
        best_wall = min(best_wall, wall)
        best_cpu = min(best_cpu, usage.ru_utime + usage.ru_stime)
    return best_wall, best_cpu


def tables_below(folder):
    return sorted(os.path.relpath(os.path.join(root, name), folder)
                  for root, _, names in os.walk(folder) for name in names)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('window_convert')
    parser.add_argument('dravbatch')
    parser.add_argument('workbook')
    parser.add_argument('--runs', type=int, default=7)
    args = parser.parse_args()

    window_env = dict(os.environ, QT_QPA_PLATFORM='offscreen', QT_QPA_PLATFORMTHEME='',
                      QT_SCALE_FACTOR='1')
    with tempfile.TemporaryDirectory() as scratch:
        by_window = os.path.join(scratch, 'window')
        by_batch = os.path.join(scratch, 'dravbatch')
        window = measure([args.window_convert, args.workbook, by_window], args.runs, by_window,
                         window_env)
        batch = measure([args.dravbatch, args.workbook, by_batch, '/dbf4'], args.runs, by_batch)
        window_tables, batch_tables = tables_below(by_window), tables_below(by_batch)

    print('converting %s (%.1f MB) to dBASE IV, best of %d runs'
          % (os.path.basename(args.workbook), os.path.getsize(args.workbook) / 1e6, args.runs))
    print('%-26s %10s %10s' % ('', 'wall time', 'CPU time'))
    print('%-26s %7.0f ms %7.0f ms' % ('window Convert (process)', window[0] * 1000, window[1] * 1000))
    print('%-26s %7.0f ms %7.0f ms' % ('dravbatch (process)', batch[0] * 1000, batch[1] * 1000))
    ratio = window[1] / batch[1]
    print('window / dravbatch: CPU time %.2f (goal: at most 1.5): %s; wall time %.2f'
          % (ratio, 'met' if ratio <= 1.5 else 'MISSED', window[0] / batch[0]))
    print('tables: window %s, dravbatch %s' % (', '.join(window_tables), ', '.join(batch_tables)))
    return 0 if ratio <= 1.5 else 1


if __name__ == '__main__':
    sys.exit(main())
