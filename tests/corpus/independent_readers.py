#!/usr/bin/python3
"""Converts every workbook of a folder of real .xls files with dravbatch at
dBASE levels III and IV, and has independent readers read every table:

- dbfread must read every record, and agree field by field with a plain
  reading of the bytes (so the header, the padding and the memo blocks mean
  the same to both);
- GDAL's ogrinfo must open the table without an error and count the same
  records.

Exit 0 when all agree, 1 otherwise, 77 (skipped) when the folder or a
reader is missing.
"""
import datetime
import os
import shutil
import struct
import subprocess
import sys
import tempfile
from decimal import Decimal

SKIP = 77


def plain_table(path, codec):
    """Field names and types, and records as Python values, read from the bytes."""
    with open(path, 'rb') as f:
        data = f.read()
    count, header_len, record_len = struct.unpack('<IHH', data[4:12])
    fields, pos = [], 32
    while data[pos] != 0x0D:
        name = data[pos:pos + 11].split(b'\0')[0].decode(codec)
        fields.append((name, chr(data[pos + 11]), data[pos + 16]))
        pos += 32
    memo = None
    if any(t == 'M' for _, t, _ in fields):
        with open(os.path.splitext(path)[0] + '.dbt', 'rb') as f:
            memo = f.read()
    records = []
    for i in range(count):
        start = header_len + i * record_len
        raw, at, values = data[start:start + record_len], 1, {}
        for name, ftype, width in fields:
            cell = raw[at:at + width]
            at += width
            values[name] = plain_value(ftype, cell, codec, memo, data[0])
        records.append(values)
    return fields, records


def plain_value(ftype, cell, codec, memo, version):
    if ftype == 'C':
        return cell.rstrip(b' ').decode(codec)
    if ftype == 'N':
        return None if not cell.strip() else Decimal(cell.strip().decode('ascii'))
    if ftype == 'D':
        text = cell.decode('ascii')
        return None if not text.strip() else datetime.date(int(text[:4]), int(text[4:6]), int(text[6:]))
    if ftype == 'L':
        return {b'T': True, b'F': False}.get(cell)
    if ftype == 'M':
        if not cell.strip():
            return None
        start = int(cell) * 512
        if version == 0x8B:   # dBASE IV: FF FF 08 00, then the length with these 8 bytes
            length = struct.unpack('<I', memo[start + 4:start + 8])[0]
            return memo[start + 8:start + length].decode(codec)
        end = memo.index(b'\x1a\x1a', start)
        return memo[start:end].decode(codec)
    raise ValueError('unexpected field type %r' % ftype)


def same(plain, read, ftype, version):
    if isinstance(plain, Decimal):
        return read is not None and Decimal(str(read)) == plain
    if ftype == 'M' and version == 0x8B and isinstance(read, str):
        # dbfread takes the length of a dBASE IV memo as the text's alone,
        # while the layout counts its 8 header bytes too: it reads 8 bytes
        # past the text, which the memo file keeps zero.
        return plain == read[:-8] and read[-8:] == '\0' * 8
    return plain == read


def short(value, limit=60):
    text = repr(value)
    return text if len(text) <= limit else text[:limit] + '...'


def check_table(path, problems):
    import dbfread
    codec = 'cp1252'
    fields, records = plain_table(path, codec)
    with open(path, 'rb') as f:
        version = f.read(1)[0]
    types = {name: ftype for name, ftype, _ in fields}
    table = dbfread.DBF(path, encoding=codec, char_decode_errors='strict', load=True)
    names = [f.name for f in table.fields]
    if names != [n for n, _, _ in fields]:
        problems.append('%s: dbfread sees fields %s' % (path, names))
        return
    if len(table.records) != len(records):
        problems.append('%s: dbfread reads %d records, the header says %d'
                        % (path, len(table.records), len(records)))
        return
    for i, (mine, theirs) in enumerate(zip(records, table.records)):
        for name in names:
            if not same(mine[name], theirs[name], types[name], version):
                problems.append('%s: record %d field %s: %s read as %s'
                                % (path, i + 1, name, short(mine[name]), short(theirs[name])))
                return
    result = subprocess.run(['ogrinfo', '-ro', '-al', '-so', path], capture_output=True, text=True)
    counted = [l for l in result.stdout.splitlines() if l.startswith('Feature Count:')]
    if result.returncode != 0 or 'ERROR' in result.stderr:
        problems.append('%s: ogrinfo failed: %s' % (path, result.stderr.strip()[:200]))
    elif counted != ['Feature Count: %d' % len(records)]:
        problems.append('%s: ogrinfo counts %s, the header says %d' % (path, counted, len(records)))


def main():
    dravbatch, corpus = sys.argv[1], sys.argv[2]
    if not os.path.isdir(corpus):
        print('SKIP: no corpus folder at %s' % corpus)
        return SKIP
    try:
        import dbfread  # noqa: F401
    except ImportError:
        print('SKIP: python3-dbfread is not installed')
        return SKIP
    if shutil.which('ogrinfo') is None:
        print('SKIP: ogrinfo (gdal-bin) is not installed')
        return SKIP

    workbooks = sorted(os.path.join(d, n) for d, _, names in os.walk(corpus)
                       for n in names if n.lower().endswith('.xls'))
    problems, tables = [], 0
    with tempfile.TemporaryDirectory() as scratch:
        for level in ('/dbf3', '/dbf4'):
            for number, workbook in enumerate(workbooks):
                out = os.path.join(scratch, level[1:], str(number))
                os.makedirs(os.path.dirname(out), exist_ok=True)  # dravbatch makes one level
                subprocess.run([dravbatch, workbook, out, level], stdin=subprocess.DEVNULL,
                               timeout=120, check=False)
                if not os.path.isdir(out):
                    continue
                for name in sorted(os.listdir(out)):
                    if name.endswith('.dbf'):
                        tables += 1
                        try:
                            check_table(os.path.join(out, name), problems)
                        except Exception as exc:  # a reader that gives up is a finding too
                            problems.append('%s (%s): %s: %s' % (workbook, name, type(exc).__name__, short(str(exc), 200)))
    for problem in problems[:50]:
        print(problem)
    print('%d workbooks, %d tables read by dbfread and ogrinfo, %d problems'
          % (len(workbooks), tables, len(problems)))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
