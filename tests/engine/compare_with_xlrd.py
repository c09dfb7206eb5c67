#!/usr/bin/python3
"""Compares what the engine's reader sees in .xls workbooks with what xlrd sees.

    /usr/bin/python3 tests/engine/compare_with_xlrd.py --dump BUILD/engine/tools/xls_dump \
        [-v] [FILE_OR_FOLDER ...]        (default: ../shared/corpus beside the repository)

For every workbook it prints xlrd's view in xls_dump's format (worksheets,
used ranges, every non-empty cell), runs xls_dump, and compares the two. The
kinds follow the engine's rules: a number is a date when its XF's number
format is a date format (built-in ids 14-22, 27-36, 45-47, 50-58 in BIFF5 and
later, or a format string with d, m, y, h or s outside quotes, [...] and
backslash escapes) and the value lies in 0 .. 2958465.99999; texts of length 0
are empty; the used range is the bounding box of every cell record, blanks
included. Where xlrd's view is known to differ on purpose (the name of the one
worksheet of a BIFF2-4 file, used ranges when xlrd cannot read formatting) the
xlrd side is adjusted and the adjustment reported.

Exit status 0 when every workbook that xlrd opens agrees.
"""

import argparse
import difflib
import os
import subprocess
import sys

import xlrd

ERROR_CODES = (0x00, 0x07, 0x0F, 0x17, 0x1D, 0x24, 0x2A)
LAST_DATE_SERIAL = 2958465.99999
BUILT_IN_DATE_IDS = set(range(14, 23)) | set(range(27, 37)) | {45, 46, 47} | set(range(50, 59))


def format_shows_dates(text):
    i = 0
    while i < len(text):
        ch = text[i]
        if ch in '"[':
            end = text.find('"' if ch == '"' else ']', i + 1)
            if end < 0:
                return False
            i = end + 1
        elif ch == '\\':
            i += 2
        elif ch in 'dDmMyYhHsS':
            return True
        else:
            i += 1
    return False


def column_name(col):
    name = ''
    col += 1
    while col:
        col, rem = divmod(col - 1, 26)
        name = chr(ord('A') + rem) + name
    return name


def address(row, col):
    return '%s%d' % (column_name(col), row + 1)


def quoted(text):
    out = ['"']
    for ch in text:
        if ch == '\\':
            out.append('\\\\')
        elif ch == '"':
            out.append('\\"')
        elif ch == '\n':
            out.append('\\n')
        elif ch == '\r':
            out.append('\\r')
        elif ch == '\t':
            out.append('\\t')
        elif ord(ch) < 0x20 or ord(ch) == 0x7F:
            out.append('\\x%02X' % ord(ch))
        elif 0xD800 <= ord(ch) <= 0xDFFF:
            out.append('\ufffd')  # a lone surrogate; the engine writes U+FFFD
        else:
            out.append(ch)
    out.append('"')
    return ''.join(out)


def number(value):
    text = '%.17g' % value
    return text


def open_with_xlrd(path):
    """(book, formatting read) or raises."""
    with open(os.devnull, 'w') as devnull:
        try:
            return xlrd.open_workbook(path, formatting_info=True, logfile=devnull), True
        except Exception:
            return xlrd.open_workbook(path, formatting_info=False, logfile=devnull), False


class XlrdView:
    def __init__(self, path):
        self.path = path
        self.notes = []
        self.book, self.formatting = open_with_xlrd(path)
        if not self.formatting:
            self.notes.append('xlrd reads no formatting here: blank cells and the date rule unseen')
        self._date_xf = {}

    def xf_shows_dates(self, xf_index):
        if xf_index not in self._date_xf:
            book = self.book
            try:
                key = book.xf_list[xf_index].format_key
            except IndexError:
                self._date_xf[xf_index] = False
                return False
            if book.biff_version >= 50 and key in BUILT_IN_DATE_IDS:
                result = True
            else:
                fmt = book.format_map.get(key)
                result = bool(fmt and fmt.format_str and format_shows_dates(fmt.format_str))
            self._date_xf[xf_index] = result
        return self._date_xf[xf_index]

    def value(self, sheet, row, col):
        ctype = sheet.cell_type(row, col)
        value = sheet.cell_value(row, col)
        if ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
            return None
        if ctype == xlrd.XL_CELL_TEXT:
            return 'text ' + quoted(value) if value != '' else None
        if ctype == xlrd.XL_CELL_BOOLEAN:
            return 'boolean TRUE' if value else 'boolean FALSE'
        if ctype == xlrd.XL_CELL_ERROR:
            return 'error %d' % value
        value = float(value)
        if self.formatting:
            is_date = self.xf_shows_dates(sheet.cell_xf_index(row, col))
        else:
            is_date = ctype == xlrd.XL_CELL_DATE
        if is_date and 0 <= value <= LAST_DATE_SERIAL:
            return 'date ' + number(value)
        return 'number ' + number(value)

    def lines(self):
        book = self.book
        out = ['date system %s' % ('1904' if book.datemode else '1900')]
        single_sheet = book.biff_version < 45 and book.nsheets == 1
        for index, sheet in enumerate(book.sheets()):
            name = sheet.name
            if single_sheet:
                # A BIFF2-4 worksheet file: xlrd says "Sheet 1", the engine
                # names the worksheet after the file as the spreadsheet does.
                name = os.path.splitext(os.path.basename(self.path))[0]
            cells = []
            rows = []
            cols = []
            for r in range(sheet.nrows):
                for c in range(sheet.row_len(r)):
                    if sheet.cell_type(r, c) != xlrd.XL_CELL_EMPTY:
                        rows.append(r)
                        cols.append(c)
                    text = self.value(sheet, r, c)
                    if text is not None:
                        cells.append('%s %s' % (address(r, c), text))
            if rows:
                box = '%s:%s' % (address(min(rows), min(cols)), address(max(rows), max(cols)))
            else:
                box = 'A1:A1'
            out.append('sheet %d %s %s' % (index + 1, quoted(name), box))
            out.extend(cells)
        return out


def engine_lines(dump, path):
    run = subprocess.run([dump, path], capture_output=True, timeout=120)
    text = run.stdout.decode('utf-8', 'replace').splitlines()
    return text[1:], run.returncode  # the first line names the file


def find_workbooks(items):
    for item in items:
        if os.path.isdir(item):
            for root, _dirs, files in os.walk(item):
                for name in sorted(files):
                    if name.lower().endswith('.xls'):
                        yield os.path.join(root, name)
        else:
            yield item


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default_corpus = os.path.normpath(os.path.join(here, '..', '..', '..', 'shared', 'corpus'))
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--dump', required=True, help='path of the xls_dump program')
    parser.add_argument('-v', '--verbose', action='store_true', help='print the differences')
    parser.add_argument('items', nargs='*', default=[default_corpus])
    args = parser.parse_args()

    counts = {'agree': 0, 'differ': 0, 'xlrd refuses': 0}
    for path in find_workbooks(args.items):
        ours, _rc = engine_lines(args.dump, path)
        try:
            view = XlrdView(path)
            theirs = view.lines()
        except Exception as exc:  # xlrd cannot read it: only the engine's verdict is shown
            counts['xlrd refuses'] += 1
            verdict = next((l for l in ours if l.startswith('error')), 'read')
            print('XLRD-REFUSES %s: xlrd: %s: %s | engine: %s' % (path, type(exc).__name__, str(exc)[:80],
                                                              verdict[:160]))
            continue
        if ours == theirs:
            counts['agree'] += 1
            notes = ('  (' + '; '.join(view.notes) + ')') if view.notes else ''
            print('AGREE %s%s' % (path, notes))
            continue
        counts['differ'] += 1
        diff = list(difflib.unified_diff(theirs, ours, 'xlrd', 'engine', lineterm='', n=0))
        changed = sum(1 for l in diff if l[:1] in '+-' and l[:3] not in ('+++', '---'))
        print('DIFFER %s: %d lines%s' % (path, changed, ('  (' + '; '.join(view.notes) + ')') if view.notes else ''))
        if args.verbose:
            for line in diff[:60]:
                print('    ' + line)
    print('summary: %(agree)d agree, %(differ)d differ, %(xlrd refuses)d refused by xlrd' % counts)
    return 0 if counts['differ'] == 0 else 1


if __name__ == '__main__':
    sys.exit(main())
