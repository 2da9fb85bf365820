#!/usr/bin/env python3
"""Turns the manual's text source (docs/kilavuz.txt, UTF-8) into the RTF file
that ships beside the program (miravel.rtf): Windows-1254 RTF that WordPad,
Word and LibreOffice open.

The source is plain text with a few marks:

  # Title, ## Section, ### Subsection   headings
  blank line                             ends a paragraph
  - item / 1. item                       list items (indented lines continue them)
  4-space indented lines                 a monospaced block, line by line
  | a | b |                              table rows (the first row is the header;
                                         a |---| row is skipped)
  \\page                                  page break
  **bold**, `code`                       inline

usage: make_manual.py SOURCE OUT.rtf
The output depends on the source alone: the same bytes on every run.
"""

import re
import sys

PAGE_W, PAGE_H, MARGIN = 11906, 16838, 1134  # A4, 2 cm margins, in twips
TEXT_W = PAGE_W - 2 * MARGIN
BODY = r"\f0\fs21"
MONO = r"\f1\fs19"


def escape(text):
    """Plain text to RTF: ASCII as is, Turkish letters as \\'xx in code page
    1254, anything else as \\uN with a '?' for readers without Unicode."""
    out = []
    for ch in text:
        o = ord(ch)
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ch == "\t":
            out.append(r"\tab ")
        elif o < 128:
            out.append(ch)
        else:
            try:
                b = ch.encode("cp1254")
                out.append("\\'%02x" % b[0])
            except UnicodeEncodeError:
                n = o if o < 32768 else o - 65536
                out.append("\\u%d?" % n)
    return "".join(out)


INLINE = re.compile(r"(\*\*[^*]+\*\*|`[^`]+`)")


def inline(text):
    parts = []
    for piece in INLINE.split(text):
        if not piece:
            continue
        if piece.startswith("**") and piece.endswith("**"):
            parts.append("{\\b " + escape(piece[2:-2]) + "}")
        elif piece.startswith("`") and piece.endswith("`"):
            parts.append("{" + MONO + " " + escape(piece[1:-1]) + "}")
        else:
            parts.append(escape(piece))
    return "".join(parts)


def paragraph(text, fmt):
    return "\\pard\\plain" + fmt + " " + inline(text) + "\\par\n"


def heading(level, text):
    size, before, color = {1: (40, 0, 2), 2: (30, 360, 2), 3: (24, 240, 1)}[level]
    fmt = "\\keepn\\sb%d\\sa120%s\\fs%d\\b\\cf%d" % (before, r"\f0", size, color)
    return paragraph(text, fmt)


def table(rows):
    cells = [[c.strip() for c in r.strip().strip("|").split("|")] for r in rows]
    cells = [r for r in cells if not all(re.fullmatch(r":?-+:?", c) for c in r)]
    ncol = max(len(r) for r in cells)
    for r in cells:
        r.extend([""] * (ncol - len(r)))
    # Column widths follow the longest word and the total text of each column.
    longest = [max(max((len(w) for w in r[i].split()), default=1) for r in cells)
               for i in range(ncol)]
    total = [max(sum(len(r[i]) for r in cells), 1) for i in range(ncol)]
    weight = [max(longest[i] * 3.6 + 2, total[i] ** 0.5 * 10) for i in range(ncol)]
    scale = TEXT_W / sum(weight)
    widths = [int(w * scale) for w in weight]
    out = []
    for n, r in enumerate(cells):
        row = ["\\trowd\\trgaph85\\trleft0\\trkeep"]
        if n == 0:
            row.append("\\trhdr")
        x = 0
        for w in widths:
            x += w
            border = "".join("\\clbrdr%s\\brdrs\\brdrw10" % s for s in "tlbr")
            shade = "\\clcbpat3" if n == 0 else ""
            row.append(border + shade + "\\cellx%d" % x)
        row.append("\n")
        for c in r:
            text = inline(c)
            if n == 0:
                text = "{\\b " + text + "}"
            # Rows keep with the next one, so a table breaks across pages
            # only when it is longer than a page.
            keep = "\\keepn" if n < len(cells) - 1 else ""
            row.append("\\pard\\plain\\intbl" + keep + "\\sa40" + BODY + " " + text +
                       "\\cell\n")
        row.append("\\row\n")
        out.append("".join(row))
    return "".join(out) + "\\pard\\plain\\sa120" + BODY + "\\par\n"


def convert(lines):
    body = []
    para = []
    item = None  # (marker, text)
    block = []
    rows = []

    def flush():
        nonlocal para, item, block, rows
        if para:
            body.append(paragraph(" ".join(para), "\\sb60\\sa120\\sl276\\slmult1" + BODY))
            para = []
        if item:
            marker, text = item
            body.append("\\pard\\plain\\fi-340\\li680\\tx680\\sa60" + BODY + " " +
                        escape(marker) + "\\tab " + inline(text) + "\\par\n")
            item = None
        if block:
            body.append("\\pard\\plain\\li567\\sa120\\keep" + MONO + " " +
                        "\\line ".join(escape(b) for b in block) + "\\par\n")
            block = []
        if rows:
            body.append(table(rows))
            rows = []

    for raw in lines:
        line = raw.rstrip("\n").rstrip()
        if block and (line.startswith("    ") or not line):
            if line:
                block.append(line[4:])
                continue
        if not line:
            flush()
            continue
        if line.startswith("    ") and not para and not item:
            flush()
            block.append(line[4:])
            continue
        if line.startswith("|"):
            if not rows:
                flush()
            rows.append(line)
            continue
        if line == "\\page":
            flush()
            body.append("\\pard\\plain\\page\n")
            continue
        m = re.match(r"(#{1,3}) (.*)", line)
        if m:
            flush()
            body.append(heading(len(m.group(1)), m.group(2)))
            continue
        m = re.match(r"(-|\d+\.) (.*)", line)
        if m:
            flush()
            item = ("\u2022" if m.group(1) == "-" else m.group(1), m.group(2))
            continue
        if item and raw.startswith("  "):
            item = (item[0], item[1] + " " + line.strip())
            continue
        if rows or item:
            flush()
        para.append(line.strip())
    flush()
    return "".join(body)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make_manual.py SOURCE OUT.rtf")
    with open(sys.argv[1], encoding="utf-8") as f:
        lines = f.readlines()
    title = next((l[2:].strip() for l in lines if l.startswith("# ")), "Miravel")
    head = (
        "{\\rtf1\\ansi\\ansicpg1254\\deff0\\deflang1055\\uc1\n"
        "{\\fonttbl{\\f0\\fswiss\\fcharset162 Arial;}"
        "{\\f1\\fmodern\\fcharset162 Courier New;}}\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red25\\green55\\blue105;"
        "\\red225\\green230\\blue238;}\n"
        "{\\info{\\title " + escape(title) + "}{\\author Miravel}}\n"
        "\\paperw%d\\paperh%d\\margl%d\\margr%d\\margt%d\\margb%d\\viewkind4\n"
        % (PAGE_W, PAGE_H, MARGIN, MARGIN, MARGIN, MARGIN))
    rtf = head + convert(lines) + "}\n"
    with open(sys.argv[2], "w", encoding="ascii", newline="\r\n") as f:
        f.write(rtf)


if __name__ == "__main__":
    main()
