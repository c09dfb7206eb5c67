#!/usr/bin/python3
"""Reruns every table generator of the repository and compares its output
with the committed file: a table edited by hand, or a generator changed
without rerunning it, fails here. Usage: generated_tables.py <repository root>
"""

import subprocess
import sys
from pathlib import Path

# generator -> the file it writes
GENERATED = {
    'engine/gen_code_page_tables.py': 'engine/code_page_tables.cpp',
    'engine/gen_unicode_tables.py': 'engine/unicode_tables.cpp',
    'tests/support/gen_fixture_code_pages.py': 'tests/support/fixture_code_pages.cpp',
}


def main():
    root = Path(sys.argv[1])
    stale = []
    for generator, target in GENERATED.items():
        fresh = subprocess.run([sys.executable, str(root / generator)], cwd=root,
                               check=True, capture_output=True).stdout
        if fresh != (root / target).read_bytes():
            stale.append('%s differs from what %s writes' % (target, generator))
    for line in stale:
        print(line)
    return 1 if stale else 0


if __name__ == '__main__':
    sys.exit(main())
