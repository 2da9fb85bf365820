#!/usr/bin/env python3
"""The manual's two forms from one source: the same bytes on every run, the
HTML a well-formed page that holds every heading, paragraph word and table
cell of the source, and the RTF unchanged in form.

usage: manual_forms_test.py SOURCE_DIR WORK_DIR"""

import html.parser
import os
import re
import subprocess
import sys

src, work = sys.argv[1], sys.argv[2]
os.makedirs(work, exist_ok=True)
tool = os.path.join(src, "docs", "make_manual.py")
text = os.path.join(src, "docs", "kilavuz.txt")


def make(*names):
    paths = [os.path.join(work, n) for n in names]
    subprocess.run([sys.executable, tool, text] + paths, check=True)
    return [open(p, "rb").read() for p in paths]


rtf1, html1 = make("a.rtf", "a.html")
html2, rtf2 = make("b.html", "b.rtf")
assert rtf1 == rtf2 and html1 == html2, "two runs differ"
assert rtf1.startswith(b"{\\rtf1\\ansi\\ansicpg1254"), rtf1[:40]
assert subprocess.run([sys.executable, tool, text, os.path.join(work, "x.pdf")],
                      capture_output=True).returncode != 0, "an unknown form was accepted"

page = html1.decode("utf-8")
assert page.startswith("<!DOCTYPE html>\r\n"), page[:30]


class Page(html.parser.HTMLParser):
    VOID = {"meta", "br"}

    def __init__(self):
        super().__init__()
        self.stack, self.headings, self.text, self.cells = [], [], [], []
        self.links, self.ids = [], set()

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        if tag == "a":
            self.links.append(attrs.get("href", ""))
        if tag in ("h1", "h2", "h3"):
            self.headings.append("")
        if tag not in self.VOID:
            self.stack.append(tag)

    def handle_endtag(self, tag):
        assert self.stack and self.stack[-1] == tag, "</%s> closes %s" % (tag, self.stack[-3:])
        self.stack.pop()

    def handle_data(self, data):
        if any(t in ("h1", "h2", "h3") for t in self.stack):
            self.headings[-1] += data
        self.text.append(data)


p = Page()
p.feed(page)
p.close()
assert not p.stack, "unclosed: %s" % p.stack

source = open(text, encoding="utf-8").read()
want = [re.sub(r"\*\*|`", "", m.group(2)) for m in re.finditer(r"^(#{1,3}) (.*)$", source, re.M)]
got = [h for h in p.headings if h != "İçindekiler"]
assert got == want, "headings differ:\n%s\n%s" % (got, want)
# Every internal link has its target.
for href in p.links:
    if href.startswith("#"):
        assert href[1:] in p.ids, "no target for " + href
assert len(p.links) == len(re.findall(r"^## \d", source, re.M)), "contents incomplete"
# Words of the source, marks and all (code, bold, table cells), all reach the page.
words = set(re.findall(r"\w[\w'’.-]*\w", re.sub(r"[*`|#]", " ", source)))
body = " ".join(p.text)
missing = sorted(w for w in words if w not in body)
assert not missing, "missing from the HTML: %s" % missing[:20]
print("manual forms: RTF %d bytes, HTML %d bytes, %d headings" % (len(rtf1), len(html1), len(got)))
