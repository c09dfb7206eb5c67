#!/usr/bin/python3
"""Whole dravbatch processes on workbooks of many sheets and folders of many
small workbooks: peak memory of a 40-sheet workbook against a one-sheet one
(the same sheet repeated), and the time per workbook over a folder.

  bench/process_bench.py DRAVBATCH BENCH_READER [--rows N] [--sheets N] [--small N] [--runs N]

BENCH_READER (bench/bench_reader) writes the workbooks. --rows sets the rows
of each sheet (default 65,535, the benchmark sheet; fewer keep the 40-sheet
file small on a slow machine). Goals: the many-sheet workbook's peak memory
at most 1.2 times the one-sheet workbook's; the time per small workbook is
reported.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

GOAL_SHEETS_RATIO = 1.2


def run(command):
    """Wall time (s) and peak memory (MiB) of one process; exits on failure."""
    started = time.perf_counter()
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - started
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit('%s failed: %s' % (' '.join(command), process.stderr.read().decode()[:300]))
    return elapsed, usage.ru_maxrss / 1024.0


def convert(dravbatch, source, scratch, runs):
    """Median time and highest peak memory of converting source at dBASE III."""
    times, peak = [], 0.0
    out = os.path.join(scratch, 'out')
    for _ in range(runs):
        shutil.rmtree(out, ignore_errors=True)
        os.mkdir(out)
        elapsed, memory = run([dravbatch, source, out, '/dbf3'])
        times.append(elapsed)
        peak = max(peak, memory)
    return statistics.median(times), peak


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('dravbatch')
    parser.add_argument('bench_reader')
    parser.add_argument('--rows', type=int, default=65535)
    parser.add_argument('--sheets', type=int, default=40)
    parser.add_argument('--small', type=int, default=400, help='workbooks in the folder')
    parser.add_argument('--small-rows', type=int, default=50)
    parser.add_argument('--runs', type=int, default=3)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix='dravella-bench-') as scratch:
        one = os.path.join(scratch, 'one.xls')
        many = os.path.join(scratch, 'many.xls')
        small = os.path.join(scratch, 'small.xls')
        folder = os.path.join(scratch, 'folder')
        for path, rows, sheets in ((one, args.rows, 1), (many, args.rows, args.sheets),
                                   (small, args.small_rows, 1)):
            run([args.bench_reader, '--rows', str(rows), '--sheets', str(sheets), '--write', path,
                 '--write-only'])
        os.mkdir(folder)
        for i in range(args.small):
            shutil.copyfile(small, os.path.join(folder, 'book%03d.xls' % i))

        one_time, one_peak = convert(args.dravbatch, one, scratch, args.runs)
        many_time, many_peak = convert(args.dravbatch, many, scratch, args.runs)
        folder_time, folder_peak = convert(args.dravbatch, folder, scratch, args.runs)

    print('whole dravbatch processes at dBASE III, median of %d runs (load average %.1f on %d cores)'
          % (args.runs, os.getloadavg()[0], os.cpu_count()))
    print('%-40s %10s %12s' % ('', 'time', 'peak memory'))
    print('%-40s %7.0f ms %8.1f MiB' % ('1 sheet of %d x 10' % args.rows, one_time * 1000, one_peak))
    print('%-40s %7.0f ms %8.1f MiB' % ('%d sheets of %d x 10' % (args.sheets, args.rows),
                                         many_time * 1000, many_peak))
    print('%-40s %7.0f ms %8.1f MiB' % ('folder of %d workbooks (%d x 10)' % (args.small, args.small_rows),
                                         folder_time * 1000, folder_peak))
    print('time per small workbook: %.2f ms' % (folder_time * 1000 / args.small))
    ratio = many_peak / one_peak
    met = ratio <= GOAL_SHEETS_RATIO
    print('%d-sheet peak memory is %.2f times one sheet\'s (goal: at most %.1f): %s'
          % (args.sheets, ratio, GOAL_SHEETS_RATIO, 'met' if met else 'MISSED'))
    return 0 if met else 1


if __name__ == '__main__':
    sys.exit(main())
