#!/usr/bin/env python3
"""Converts every workbook of a folder with two dravbatch builds and compares the results.

    bench/compare_builds.py OLD_DRAVBATCH NEW_DRAVBATCH [FOLDER] [--levels 2,3,4] [--pages 1252,936,utf8]

FOLDER defaults to the nearest shared/corpus beside the repository or a folder above
it; it is searched recursively
for .xls files. Each workbook is converted on its own at each level (and each
code page of --pages, the default page when none is given) by both builds;
the exit statuses, the names of the files written and their bytes must agree. The
header's last-update date is the only part allowed to differ (bytes 3-5 of a dBASE II
header, bytes 1-3 of later levels). Prints the first difference of each disagreeing
workbook and exits 1 when there was any, 0 when everything matched.
"""
import argparse
import pathlib
import subprocess
import sys
import tempfile

LEVEL_SWITCH = {2: "/dbf2", 3: "/dbf3", 4: "/dbf4"}


def masked(path: pathlib.Path, level: int) -> bytes:
    data = bytearray(path.read_bytes())
    if path.suffix.lower() == ".dbf":
        start = 3 if level == 2 else 1
        for i in range(start, min(start + 3, len(data))):
            data[i] = 0
    return bytes(data)


def convert(dravbatch: str, workbook: pathlib.Path, out: pathlib.Path, level: int, page):
    out.mkdir(parents=True)
    switches = [LEVEL_SWITCH[level]] + ([f"/cp={page}"] if page else [])
    try:
        run = subprocess.run([dravbatch, str(workbook), str(out), *switches],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        status = run.returncode
    except subprocess.TimeoutExpired:
        status = "timeout"
    files = {p.relative_to(out).as_posix(): p for p in sorted(out.rglob("*")) if p.is_file()}
    return status, files


def first_difference(old: bytes, new: bytes) -> str:
    for i, (a, b) in enumerate(zip(old, new)):
        if a != b:
            return f"byte {i}: {a:#04x} before, {b:#04x} after"
    return f"lengths {len(old)} before, {len(new)} after"


def compare(old_exe, new_exe, workbook, level, page, scratch):
    old_status, old_files = convert(old_exe, workbook, scratch / "old", level, page)
    new_status, new_files = convert(new_exe, workbook, scratch / "new", level, page)
    if old_status != new_status:
        return f"exit status {old_status} before, {new_status} after"
    if old_files.keys() != new_files.keys():
        return f"files {sorted(old_files)} before, {sorted(new_files)} after"
    for name, old_path in old_files.items():
        old_bytes, new_bytes = masked(old_path, level), masked(new_files[name], level)
        if old_bytes != new_bytes:
            return f"{name}: {first_difference(old_bytes, new_bytes)}"
    return None


def default_corpus() -> pathlib.Path:
    repo = pathlib.Path(__file__).resolve().parent.parent
    for folder in repo.parents:
        if (folder / "shared" / "corpus").is_dir():
            return folder / "shared" / "corpus"
    return repo.parent / "shared" / "corpus"


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("folder", nargs="?", default=str(default_corpus()))
    parser.add_argument("--levels", default="2,3,4")
    parser.add_argument("--pages", default="", help="code pages, comma-separated (default: none given)")
    args = parser.parse_args()
    folder = pathlib.Path(args.folder)
    if not folder.is_dir():
        print(f"no folder {folder}: nothing compared")
        return 0
    levels = [int(x) for x in args.levels.split(",")]
    pages = args.pages.split(",") if args.pages else [None]
    workbooks = sorted(p for p in folder.rglob("*") if p.is_file() and p.suffix.lower() == ".xls")
    differences = 0
    conversions = 0
    for level in levels:
        for page in pages:
            for workbook in workbooks:
                with tempfile.TemporaryDirectory(prefix="dravella-compare-") as scratch:
                    conversions += 1
                    difference = compare(args.old, args.new, workbook, level, page, pathlib.Path(scratch))
                if difference:
                    differences += 1
                    where = f"level {level}" + (f" page {page}" if page else "")
                    print(f"{where} {workbook.relative_to(folder)}: {difference}")
    in_pages = f", code pages {args.pages}" if args.pages else ""
    print(f"{conversions} conversions of {len(workbooks)} workbooks at levels {args.levels}{in_pages}: "
          f"{differences} differ")
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
