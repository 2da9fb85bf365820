#!/usr/bin/env python3
"""Turns the manual's text source (docs/kilavuz.txt, UTF-8) into the files
that ship beside the program: miravel.rtf, Windows-1254 RTF that WordPad, Word
and LibreOffice open, and miravel.html, one self-contained UTF-8 page that
every browser opens (the program opens it where no program takes RTF).

The source is plain text with a few marks:

  # Title, ## Section, ### Subsection   headings
  blank line                             ends a paragraph
  - item / 1. item                       list items (indented lines continue them)
  4-space indented lines                 a monospaced block, line by line
  | a | b |                              table rows (the first row is the header;
                                         a |---| row is skipped)
  \\page                                  page break
  **bold**, `code`                       inline

usage: make_manual.py SOURCE OUT.rtf|OUT.html...
Each output's form follows its extension. The output depends on the source
alone: the same bytes on every run.
"""

import html
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
    cells = table_cells(rows)
    ncol = len(cells[0])
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


def parse(lines):
    """The source as a list of blocks: ("heading", level, text),
    ("para", text), ("item", marker, text), ("block", lines), ("table", rows),
    ("page",)."""
    blocks = []
    para = []
    item = None  # (marker, text)
    block = []
    rows = []

    def flush():
        nonlocal para, item, block, rows
        if para:
            blocks.append(("para", " ".join(para)))
            para = []
        if item:
            blocks.append(("item",) + item)
            item = None
        if block:
            blocks.append(("block", block))
            block = []
        if rows:
            blocks.append(("table", rows))
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
            blocks.append(("page",))
            continue
        m = re.match(r"(#{1,3}) (.*)", line)
        if m:
            flush()
            blocks.append(("heading", len(m.group(1)), m.group(2)))
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
    return blocks


def table_cells(rows):
    """Table rows to lists of cells, without the |---| rows, all as wide."""
    cells = [[c.strip() for c in r.strip().strip("|").split("|")] for r in rows]
    cells = [r for r in cells if not all(re.fullmatch(r":?-+:?", c) for c in r)]
    ncol = max(len(r) for r in cells)
    for r in cells:
        r.extend([""] * (ncol - len(r)))
    return cells


def convert(lines):
    body = []
    for b in parse(lines):
        kind = b[0]
        if kind == "para":
            body.append(paragraph(b[1], "\\sb60\\sa120\\sl276\\slmult1" + BODY))
        elif kind == "item":
            body.append("\\pard\\plain\\fi-340\\li680\\tx680\\sa60" + BODY + " " +
                        escape(b[1]) + "\\tab " + inline(b[2]) + "\\par\n")
        elif kind == "block":
            body.append("\\pard\\plain\\li567\\sa120\\keep" + MONO + " " +
                        "\\line ".join(escape(x) for x in b[1]) + "\\par\n")
        elif kind == "table":
            body.append(table(b[1]))
        elif kind == "page":
            body.append("\\pard\\plain\\page\n")
        else:
            body.append(heading(b[1], b[2]))
    return "".join(body)


def make_rtf(lines, title):
    head = (
        "{\\rtf1\\ansi\\ansicpg1254\\deff0\\deflang1055\\uc1\n"
        "{\\fonttbl{\\f0\\fswiss\\fcharset162 Arial;}"
        "{\\f1\\fmodern\\fcharset162 Courier New;}}\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red25\\green55\\blue105;"
        "\\red225\\green230\\blue238;}\n"
        "{\\info{\\title " + escape(title) + "}{\\author Miravel}}\n"
        "\\paperw%d\\paperh%d\\margl%d\\margr%d\\margt%d\\margb%d\\viewkind4\n"
        % (PAGE_W, PAGE_H, MARGIN, MARGIN, MARGIN, MARGIN))
    return head + convert(lines) + "}\n"


# ---------------------------------------------------------------------------
# HTML: one page, its style inside, no scripts and nothing fetched.

CSS = """body { font-family: Arial, "Segoe UI", sans-serif; font-size: 16px; line-height: 1.45;
  color: #111; max-width: 52em; margin: 0 auto; padding: 1em 1.5em 3em; }
h1, h2, h3 { color: #193769; line-height: 1.2; }
h1 { font-size: 2em; } h2 { font-size: 1.5em; margin-top: 1.6em; } h3 { font-size: 1.2em; }
code, pre { font-family: "Courier New", monospace; font-size: 0.95em; }
pre { margin-left: 2em; }
ul, ol { padding-left: 2em; } li { margin: 0.25em 0; }
table { border-collapse: collapse; margin: 0.6em 0 1em; }
th, td { border: 1px solid #777; padding: 0.25em 0.5em; text-align: left; vertical-align: top; }
th { background: #e1e6ee; }
nav ol { list-style: none; padding-left: 0; } nav li { margin: 0.1em 0; }
@media print { .page { page-break-after: always; } nav { display: none; } }"""


def html_inline(text):
    parts = []
    for piece in INLINE.split(text):
        if not piece:
            continue
        if piece.startswith("**") and piece.endswith("**"):
            parts.append("<strong>" + html.escape(piece[2:-2], quote=False) + "</strong>")
        elif piece.startswith("`") and piece.endswith("`"):
            parts.append("<code>" + html.escape(piece[1:-1], quote=False) + "</code>")
        else:
            parts.append(html.escape(piece, quote=False))
    return "".join(parts)


def anchor(text):
    """A section's id from its number: "## 3.2 Yerleşim" gives "b3-2"."""
    m = re.match(r"(\d+(?:\.\d+)*)\.?\s", text)
    return "b" + m.group(1).replace(".", "-") if m else None


def make_html(lines, title):
    blocks = parse(lines)
    out = []
    toc = []
    open_list = None  # "ul" or "ol"

    def close_list():
        nonlocal open_list
        if open_list:
            out.append("</%s>" % open_list)
            open_list = None

    for b in blocks:
        kind = b[0]
        if kind != "item":
            close_list()
        if kind == "heading":
            level, text = b[1], b[2]
            ident = anchor(text) if level > 1 else None
            if ident and level == 2:
                toc.append('<li><a href="#%s">%s</a></li>' % (ident, html_inline(text)))
            attr = ' id="%s"' % ident if ident else ""
            out.append("<h%d%s>%s</h%d>" % (level, attr, html_inline(text), level))
        elif kind == "para":
            out.append("<p>" + html_inline(b[1]) + "</p>")
        elif kind == "item":
            marker, text = b[1], b[2]
            want = "ul" if marker == "\u2022" else "ol"
            if open_list != want:
                close_list()
                out.append("<%s>" % want)
                open_list = want
            value = "" if want == "ul" else ' value="%s"' % marker.rstrip(".")
            out.append("<li%s>%s</li>" % (value, html_inline(text)))
        elif kind == "block":
            out.append("<pre>" + "\n".join(html.escape(x, quote=False) for x in b[1]) +
                       "</pre>")
        elif kind == "table":
            cells = table_cells(b[1])
            rows = ["<table>",
                    "<thead><tr>" + "".join("<th>%s</th>" % html_inline(c) for c in cells[0]) +
                    "</tr></thead>", "<tbody>"]
            for r in cells[1:]:
                rows.append("<tr>" + "".join("<td>%s</td>" % html_inline(c) for c in r) +
                            "</tr>")
            rows.append("</tbody></table>")
            out.extend(rows)
        elif kind == "page":
            out.append('<div class="page"></div>')
    close_list()

    # The contents after the introduction, before the first numbered section.
    first = next((i for i, line in enumerate(out) if line.startswith("<h2")), len(out))
    nav = ['<nav><h2>İçindekiler</h2><ol>'] + toc + ["</ol></nav>"] if toc else []
    body = out[:first] + nav + out[first:]
    page = ["<!DOCTYPE html>",
            '<html lang="tr">',
            "<head>",
            '<meta charset="utf-8">',
            '<meta name="viewport" content="width=device-width, initial-scale=1">',
            "<title>" + html.escape(title, quote=False) + "</title>",
            "<style>", CSS, "</style>",
            "</head>",
            "<body>"] + body + ["</body>", "</html>", ""]
    return "\n".join(page)


def main():
    outputs = sys.argv[2:]
    if not outputs or not all(o.endswith((".rtf", ".html")) for o in outputs):
        sys.exit("usage: make_manual.py SOURCE OUT.rtf|OUT.html...")
    with open(sys.argv[1], encoding="utf-8") as f:
        lines = f.readlines()
    title = next((l[2:].strip() for l in lines if l.startswith("# ")), "Miravel")
    for out in outputs:
        if out.endswith(".rtf"):
            with open(out, "w", encoding="ascii", newline="\r\n") as f:
                f.write(make_rtf(lines, title))
        else:
            with open(out, "w", encoding="utf-8", newline="\r\n") as f:
                f.write(make_html(lines, title))


if __name__ == "__main__":
    main()
