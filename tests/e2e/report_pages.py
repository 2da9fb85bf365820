#!/usr/bin/env python3
"""The printable timetable pages in a real browser engine: each page of
tests/data/reports/pages.tsv, written by miravel-cli report KIND --html, is
printed to PDF by headless Chromium; the PDF must have the listed number of A4
pages and rows, and every row's six times must be those miravel-cli times
gives for that day. A PNG of every page stays in <work>/artifacts.

    report_pages.py <miravel-cli> <source folder> <work folder>
"""
import json
import re
import shutil
import subprocess
import sys
from pathlib import Path

MONTHS = ["Ocak", "Şubat", "Mart", "Nisan", "Mayıs", "Haziran", "Temmuz", "Ağustos",
          "Eylül", "Ekim", "Kasım", "Aralık"]
COLUMNS = ["İMSAK", "GÜNEŞ", "ÖĞLE", "İKİNDİ", "AKŞAM", "YATSI"]
# A printed row: "8 Şubat ★ 1 Ramazan Pazartesi 06:35 08:01 13:23 16:09 18:35 19:56".
ROW = re.compile(r"^\s*(\d{1,2}) (\w+)\b.*?((?:\d\d:\d\d\s+){5}\d\d:\d\d)\s*$")

if not all(map(shutil.which, ["chromium", "pdfinfo", "pdftoppm", "pdftotext"])):
    print("report pages: skipped, chromium and poppler-utils are missing (scripts/bootstrap.sh)")
    sys.exit(77)
cli, src, work = Path(sys.argv[1]).resolve(), Path(sys.argv[2]), Path(sys.argv[3])
shutil.rmtree(work, ignore_errors=True)
(work / "artifacts").mkdir(parents=True)
ini = src / "tests/data/reports/istanbul.ini"
conventions = ["--ini", str(ini), "--preset", "diyanet", "--hijri", "official"]
failures = []


def run(*args):
    return subprocess.run(args, check=True, capture_output=True, timeout=120).stdout


def times_of(day, month, year):
    out = run(cli, "times", *conventions, "--date", f"{day:02}/{month:02}/{year}", "--json")
    times = json.loads(out)["times"]
    return [times[c] for c in COLUMNS]


for line in (src / "tests/data/reports/pages.tsv").read_text(encoding="utf-8").splitlines():
    if not line or line.startswith("#"):
        continue
    kind, date, pages, rows, first, last = line.split("\t")
    page, pdf = work / f"{kind}.html", work / f"{kind}.pdf"
    run(cli, "report", kind, "--html", *conventions, "--date", date, "--out", page)
    html = page.read_text(encoding="utf-8")
    if re.search(r"<script|<link|<img|src=|href=|url\(|@import", html):
        failures.append(f"{kind}: the page is not self-contained")
    run("chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
        "--no-first-run", "--disable-background-networking", "--disable-component-update",
        "--disable-sync", f"--user-data-dir={work / ('profile-' + kind)}",
        "--no-pdf-header-footer", f"--print-to-pdf={pdf}", page.as_uri())
    info = run("pdfinfo", pdf).decode()
    printed = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
    run("pdftoppm", "-r", "90", "-png", pdf, work / "artifacts" / kind)
    text = run("pdftotext", "-layout", pdf, "-").decode("utf-8")
    year = int(date[-4:])
    found = []
    for m in filter(None, map(ROW.match, text.splitlines())):
        month = MONTHS.index(m.group(2)) + 1
        # A page runs through the year at most once into the next.
        y = year + 1 if found and month < found[-1][1] else year
        found.append((int(m.group(1)), month, y, m.group(3).split()))
    dates = [f"{d} {MONTHS[mo - 1]} {y}" for d, mo, y, _ in found]
    if printed != int(pages) or len(found) != int(rows) or dates[:1] + dates[-1:] != [first, last]:
        failures.append(f"{kind}: {printed} pages, {len(found)} rows {dates[:1]}..{dates[-1:]}; "
                        f"expected {pages} pages, {rows} rows {first}..{last}")
    wrong = [f"{d}/{mo}/{y} {t} != {times_of(d, mo, y)}" for d, mo, y, t in found
             if t != times_of(d, mo, y)]
    failures += [f"{kind}: {w}" for w in wrong[:5]]
    print(f"report pages: {kind} {printed} A4 pages, {len(found)} rows, "
          f"{len(found) - len(wrong)} equal to miravel-cli times")

print("\n".join(f"FAIL {f}" for f in failures) or f"report pages: PNGs in {work / 'artifacts'}")
sys.exit(1 if failures else 0)
