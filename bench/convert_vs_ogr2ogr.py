#!/usr/bin/python3
"""Times dravbatch converting the benchmark workbook to a dBASE III table,
beside GDAL's ogr2ogr converting the same file to an ESRI Shapefile (whose
attributes are a .dbf table), in the same run. Prints the median and best
wall time of each over several whole-process runs and each one's peak memory.

  bench/convert_vs_ogr2ogr.py DRAVBATCH WORKBOOK [--runs N]

Goals for the 65,535 x 10 benchmark workbook: dravbatch's median at most
40 ms and its peak memory at most 20 MiB, at least 120 times faster than
ogr2ogr (medians).
"""
import argparse
import os
import shutil
import subprocess
import sys
import statistics
import tempfile
import time

GOAL_MS = 40
GOAL_PEAK_MIB = 20
GOAL_RATIO = 120


def measure(command, runs, fresh_output):
    """Median and best wall time (s) and the highest peak memory (MiB) over runs."""
    times, peak = [], 0.0
    for _ in range(runs):
        fresh_output()
        started = time.perf_counter()
        process = subprocess.Popen(command, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(process.pid, 0)
        elapsed = time.perf_counter() - started
        process.returncode = os.waitstatus_to_exitcode(status)
        if process.returncode != 0:
            sys.exit('%s failed with status %d: %s' % (command[0], process.returncode,
                                                       process.stderr.read().decode()[:300]))
        times.append(elapsed)
        peak = max(peak, usage.ru_maxrss / 1024.0)
    return statistics.median(times), min(times), peak


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('dravbatch')
    parser.add_argument('workbook')
    parser.add_argument('--runs', type=int, default=9)
    args = parser.parse_args()
    if shutil.which('ogr2ogr') is None:
        sys.exit('ogr2ogr (gdal-bin) is not installed')

    with tempfile.TemporaryDirectory() as scratch:
        ours = os.path.join(scratch, 'dravbatch')
        theirs = os.path.join(scratch, 'ogr2ogr')

        def fresh(folder):
            return lambda: (shutil.rmtree(folder, ignore_errors=True), os.mkdir(folder))

        drav_time, drav_best, drav_peak = measure([args.dravbatch, args.workbook, ours, '/dbf3'],
                                       args.runs, fresh(ours))
        ogr_time, ogr_best, ogr_peak = measure(['ogr2ogr', '-f', 'ESRI Shapefile', theirs, args.workbook],
                                     max(1, args.runs // 2), fresh(theirs))
        tables = sorted(os.listdir(ours))

    ratio = ogr_time / drav_time
    load = os.getloadavg()[0]
    print('converting %s (%.1f MB), %d runs (load average %.1f on %d cores)'
          % (os.path.basename(args.workbook), os.path.getsize(args.workbook) / 1e6, args.runs,
             load, os.cpu_count()))
    print('%-28s %10s %10s %12s' % ('', 'median', 'best', 'peak memory'))
    print('%-28s %7.0f ms %7.0f ms %8.1f MiB' % ('dravbatch /dbf3', drav_time * 1000, drav_best * 1000,
                                               drav_peak))
    print('%-28s %7.0f ms %7.0f ms %8.1f MiB' % ('ogr2ogr -f "ESRI Shapefile"', ogr_time * 1000,
                                               ogr_best * 1000, ogr_peak))
    met_time = drav_time * 1000 <= GOAL_MS
    met_peak = drav_peak <= GOAL_PEAK_MIB
    met_ratio = ratio >= GOAL_RATIO
    print('dravbatch median %.0f ms (goal: at most %d ms): %s'
          % (drav_time * 1000, GOAL_MS, 'met' if met_time else 'MISSED'))
    print('dravbatch peak memory %.1f MiB (goal: at most %d MiB): %s'
          % (drav_peak, GOAL_PEAK_MIB, 'met' if met_peak else 'MISSED'))
    print('dravbatch is %.1f times faster (goal: at least %d): %s'
          % (ratio, GOAL_RATIO, 'met' if met_ratio else 'MISSED'))
    print('tables written: %s' % ', '.join(tables))
    return 0 if met_time and met_peak and met_ratio else 1


if __name__ == '__main__':
    sys.exit(main())
