#!/usr/bin/env python3
"""Writes the text of a printed PDF, one text run a line in drawing order.

usage: pdf_text.py FILE.pdf OUT.txt

The PDF printer's fonts carry no Unicode map (pdftotext prints only the
codes the subset gave its glyphs), but each embedded TrueType subset keeps
the installed font's glyph numbers: a code is read through the subset's
Windows cmap to its glyph, and the glyph through the installed font's
Unicode cmap to its character.

OUT.txt, in Shift-JIS as the program's texts: "pages<TAB>N", then a line
"page<TAB>x<TAB>y<TAB>text" a run (x and y of its start, in the page's text
space, y upwards).
"""
import re
import struct
import subprocess
import sys
import zlib


def font_tables(data):
    count = struct.unpack(">H", data[4:6])[0]
    tables = {}
    for i in range(count):
        tag, _, offset, length = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
        tables[tag] = data[offset:offset + length]
    return tables


def format4_map(cmap, platform, encoding):
    """code -> glyph of the format 4 subtable of (platform, encoding)."""
    for i in range(struct.unpack(">H", cmap[2:4])[0]):
        p, e, offset = struct.unpack(">HHI", cmap[4 + 8 * i:12 + 8 * i])
        if (p, e) != (platform, encoding) or struct.unpack(">H", cmap[offset:offset + 2])[0] != 4:
            continue
        t = cmap[offset:]
        segments2 = struct.unpack(">H", t[6:8])[0]
        n = segments2 // 2
        ends = struct.unpack(">%dH" % n, t[14:14 + segments2])
        starts = struct.unpack(">%dH" % n, t[16 + segments2:16 + 2 * segments2])
        deltas = struct.unpack(">%dh" % n, t[16 + 2 * segments2:16 + 3 * segments2])
        range_at = 16 + 3 * segments2
        ranges = struct.unpack(">%dH" % n, t[range_at:range_at + segments2])
        glyphs = {}
        for s in range(n):
            for code in range(starts[s], min(ends[s], 0xFFFE) + 1):
                if ranges[s] == 0:
                    glyph = (code + deltas[s]) & 0xFFFF
                else:
                    at = range_at + 2 * s + ranges[s] + 2 * (code - starts[s])
                    glyph = struct.unpack(">H", t[at:at + 2])[0]
                    glyph = (glyph + deltas[s]) & 0xFFFF if glyph else 0
                if glyph:
                    glyphs[code] = glyph
        return glyphs
    return {}


installed = {}


def characters_of_glyphs(family):
    """glyph -> character of the installed font of that family."""
    if family not in installed:
        path = subprocess.run(["fc-match", "-f", "%{file}", family], capture_output=True,
                              text=True, check=True).stdout
        with open(path, "rb") as f:
            unicode_map = format4_map(font_tables(f.read())[b"cmap"], 3, 1)
        characters = {}
        for code, glyph in sorted(unicode_map.items()):
            characters.setdefault(glyph, chr(code))
        installed[family] = characters
    return installed[family]


class Pdf:
    def __init__(self, data):
        self.objects = {int(m.group(1)): m.group(2)
                        for m in re.finditer(rb"(\d+) 0 obj(.*?)endobj", data, re.S)}

    def ref(self, body, key):
        return self.objects[int(re.search(rb"/" + key + rb"\s*(\d+) 0 R", body).group(1))]

    def stream(self, body):
        start = re.search(rb"stream\r?\n", body)
        raw = body[start.end():body.rfind(b"endstream")]
        return zlib.decompress(raw) if b"FlateDecode" in body[:start.start()] else raw

    def pages(self):
        return [body for _, body in sorted(self.objects.items()) if re.search(rb"/Type\s*/Page[^s]", body)]

    def characters_of_codes(self, font):
        """code -> character of a font resource."""
        family = re.search(rb"/BaseFont\s*/(?:[A-Z]{6}\+)?([^\s/>]+)", font).group(1).decode()
        subset = font_tables(self.stream(self.ref(self.ref(font, b"FontDescriptor"), b"FontFile2")))
        # A symbolic subset lists its codes at U+F000 on.
        glyphs = format4_map(subset[b"cmap"], 3, 0)
        characters = characters_of_glyphs(family)
        return {code & 0xFF: characters.get(glyph, "?") for code, glyph in glyphs.items()}


def literal(text):
    """The bytes of a PDF literal string's inside."""
    out = bytearray()
    i = 0
    escapes = {ord("n"): 10, ord("r"): 13, ord("t"): 9, ord("b"): 8, ord("f"): 12}
    while i < len(text):
        if text[i] != 0x5C:
            out.append(text[i])
            i += 1
            continue
        octal = re.match(rb"[0-7]{1,3}", text[i + 1:i + 4])
        if octal:
            out.append(int(octal.group(0), 8) & 0xFF)
            i += 1 + len(octal.group(0))
        else:
            out.append(escapes.get(text[i + 1], text[i + 1]))
            i += 2
    return bytes(out)


STRING = rb"\(((?:\\.|[^\\)])*)\)\s*"
OPERATOR = re.compile(rb"/(\S+)\s+[-\d.]+\s+Tf"
                      rb"|(?:[-\d.]+\s+){4}([-\d.]+)\s+([-\d.]+)\s+Tm"
                      rb"|([-\d.]+)\s+([-\d.]+)\s+T([dD])"
                      rb"|([-\d.]+)\s+TL"
                      rb"|(T\*)"
                      rb"|" + STRING + rb"(Tj|')"
                      rb"|[-\d.]+\s+[-\d.]+\s+" + STRING + rb'(")', re.S)
# Inline images hold binary data that could pass for operators.
INLINE_IMAGE = re.compile(rb"\sBI\s.*?\sID\s.*?\sEI\s", re.S)


def page_runs(pdf, page):
    fonts = {name: pdf.characters_of_codes(pdf.objects[int(number)])
             for name, number in re.findall(rb"/(\S+?)\s*(\d+) 0 R", pdf.ref(page, b"Font"))}
    runs = []
    characters = {}
    x = y = leading = 0.0  # the start of the text line
    content = INLINE_IMAGE.sub(b" ", pdf.stream(pdf.ref(page, b"Contents")))
    for m in OPERATOR.finditer(content):
        (font, tm_x, tm_y, td_x, td_y, td, tl, next_line, text, show, text2, show2) = m.groups()
        if font:
            characters = fonts[font]
        elif tm_x:
            x, y = float(tm_x), float(tm_y)
        elif td_x:
            x, y = x + float(td_x), y + float(td_y)
            if td == b"D":
                leading = -float(td_y)
        elif tl:
            leading = float(tl)
        elif next_line or show == b"'" or show2:
            y -= leading
        if show or show2:
            codes = literal(text if show else text2)
            runs.append((x, y, "".join(characters.get(c, "?") for c in codes)))
    return runs


def main():
    with open(sys.argv[1], "rb") as f:
        pdf = Pdf(f.read())
    pages = pdf.pages()
    lines = ["pages\t%d" % len(pages)]
    for number, page in enumerate(pages, 1):
        lines += ["%d\t%.2f\t%.2f\t%s" % (number, x, y, text) for x, y, text in page_runs(pdf, page)]
    with open(sys.argv[2], "wb") as f:
        f.write(("\n".join(lines) + "\n").encode("cp932", errors="replace"))


if __name__ == "__main__":
    main()
