#!/usr/bin/env python3
"""Writes the HTML user guide from its one Markdown source.

    make-guide.py docs/guide.md OUT_DIR VERSION

Each top-level heading "# Title" of the source starts a page, named after the
heading's anchor as Git hosts make it ("# What the tables hold" gives
what-the-tables-hold.html); the first page is index.html. Links to "#anchor"
of a page become links to that page, so the source reads as one document
(also on the repository's web pages) and the HTML as a small site. Pictures
are copied next to the pages, keeping their relative paths. Needs
python3-markdown.
"""
import html
import re
import shutil
import sys
from pathlib import Path

import markdown

PAGE_HEADING = re.compile(r"^# (?P<title>.+?)\s*$")

STYLE = """
body { font-family: "Liberation Sans", Arial, sans-serif; max-width: 52em; margin: 0 auto;
       padding: 0 1em 2em; line-height: 1.45; color: #1b1b1b; }
nav { border-bottom: 1px solid #ccc; padding: .6em 0; margin-bottom: 1em; }
nav a { margin-right: 1.1em; white-space: nowrap; }
nav a.current { font-weight: bold; color: inherit; text-decoration: none; }
table { border-collapse: collapse; margin: .8em 0; }
th, td { border: 1px solid #bbb; padding: .25em .5em; text-align: left; vertical-align: top; }
th { background: #eee; }
code, pre { font-family: "Liberation Mono", monospace; background: #f3f3f3; }
pre { padding: .5em .8em; overflow-x: auto; }
img { max-width: 100%; border: 1px solid #ccc; }
footer { border-top: 1px solid #ccc; margin-top: 2em; padding-top: .5em; color: #666;
         font-size: .9em; }
"""


def anchor_of(title):
    """The anchor Git hosts give a heading: lower case, punctuation dropped,
    blanks as hyphens."""
    return re.sub(r"[^\w\- ]", "", title.lower()).replace(" ", "-")


def split_pages(source):
    """[(anchor, title, markdown text)] in source order."""
    pages = []
    fenced = False
    for line in source.splitlines(keepends=True):
        if line.startswith("```"):
            fenced = not fenced
        match = None if fenced else PAGE_HEADING.match(line)
        if match:
            pages.append([anchor_of(match["title"]), match["title"], ""])
        elif not pages:
            if line.strip():
                sys.exit("make-guide: text before the first '# ' heading")
            continue
        pages[-1][2] += line
    if not pages:
        sys.exit("make-guide: no '# ' heading")
    return pages


def file_of(pages, anchor):
    return "index.html" if anchor == pages[0][0] else anchor + ".html"


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    source_path, out_dir, version = Path(sys.argv[1]), Path(sys.argv[2]), sys.argv[3]
    pages = split_pages(source_path.read_text(encoding="utf-8"))
    names = {page for page, _, _ in pages}
    out_dir.mkdir(parents=True, exist_ok=True)
    # Pages and pictures of an earlier run that the source no longer has
    # would otherwise be installed with the rest.
    for old in [*out_dir.glob("*.html"), *out_dir.glob("screenshots/*")]:
        old.unlink()

    def link(match):
        target = match[1]
        if target not in names:
            sys.exit(f"make-guide: link to #{target}, which is no page")
        return f'href="{file_of(pages, target)}"'

    for page, title, text in pages:
        body = markdown.markdown(text, extensions=["tables", "fenced_code"])
        body = re.sub(r'href="#([^"]+)"', link, body)
        for picture in re.findall(r'<img [^>]*src="([^"]+)"', body):
            if "://" in picture or picture.startswith("/"):
                sys.exit(f"make-guide: picture {picture} must be a relative path")
            target = out_dir / picture
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(source_path.parent / picture, target)
        current = ' class="current"'
        nav = "\n".join(
            f'<a href="{file_of(pages, p)}"{current if p == page else ""}>{html.escape(t)}</a>'
            for p, t, _ in pages)
        heading = title if page == pages[0][0] else f"{title} - {pages[0][1]}"
        (out_dir / file_of(pages, page)).write_text(
            f"""<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{html.escape(heading)}</title>
<style>{STYLE}</style>
</head>
<body>
<nav>
{nav}
</nav>
{body}
<footer>Dravella {html.escape(version)}</footer>
</body>
</html>
""",
            encoding="utf-8")


if __name__ == "__main__":
    main()
