#!/usr/bin/env python3
"""The manuals the build writes beside the programs: the files the help
command opens ("操作説明書.PDF", "注意事項.PDF" in "マニュアル") and the one
the tally print settings open ("百分率算出.PDF"), each a PDF that poppler
reads, with the chapters it is for, and every page's text inside the page's
margins.

Usage: manuals_test.py <program folder>
"""
import os
import subprocess
import sys

# The names the help command and the print settings' manual key open, and
# what each manual must hold.
MANUALS = {
    "操作説明書.PDF": ["調査の流れ", "シートの定義", "調査の定義", "シートの印刷", "読み取り",
                   "修正", "集計"],
    "注意事項.PDF": ["スキャナについて", "解像度", "白黒", "明るさ", "フィーダ", "プリンタについて",
                 "余白", "補正マーク"],
    "百分率算出.PDF": ["データ件数で割る", "チェック総数で割る", "設問ごとに設定", "無回答",
                  "選択数超過", "33.3"],
}
DPI = 36
SIDE_MARGIN_POINTS = 64  # the writer's side margins; closing punctuation
                         # may hang into them by one character


def run(*command):
    return subprocess.run(command, check=True, capture_output=True).stdout


def pages(path):
    for line in run("pdfinfo", path).decode().splitlines():
        if line.startswith("Pages:"):
            return int(line.split()[1])
    return 0


def ink_columns(pgm):
    """The leftmost and rightmost columns with a dark pixel of a P5 page."""
    fields = pgm.split(maxsplit=4)
    width, height = int(fields[1]), int(fields[2])
    pixels = fields[4]
    columns = [x for x in range(width)
               if any(pixels[y * width + x] < 128 for y in range(height))]
    return width, (columns[0], columns[-1]) if columns else None


def main():
    folder = os.path.join(sys.argv[1], "マニュアル")
    faults = []
    for name, headings in MANUALS.items():
        path = os.path.join(folder, name)
        if not os.path.isfile(path):
            faults.append("%s: missing" % name)
            continue
        count = pages(path)
        if count < 1:
            faults.append("%s: %d pages" % (name, count))
        text = run("pdftotext", "-enc", "UTF-8", path, "-").decode()
        # The writer sets ASCII in its full-width forms.
        text = "".join(chr(ord(c) - 0xFEE0) if "！" <= c <= "～" else c for c in text)
        for heading in headings:
            if heading not in text.replace("\n", ""):
                faults.append("%s: no \"%s\"" % (name, heading))
        for page in range(1, count + 1):
            pgm = run("pdftoppm", "-r", str(DPI), "-gray", "-f", str(page), "-l", str(page), path)
            width, ink = ink_columns(pgm)
            margin = SIDE_MARGIN_POINTS * DPI / 72
            hang = 12 * DPI / 72
            if not ink:
                faults.append("%s page %d: blank" % (name, page))
            elif ink[0] < margin - 2 or ink[1] > width - margin + hang:
                faults.append("%s page %d: text from column %d to %d of %d" %
                              (name, page, ink[0], ink[1], width))
    for fault in faults:
        print(fault)
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
