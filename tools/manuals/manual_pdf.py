#!/usr/bin/env python3
"""Writes a manual of the program as a PDF file from its text source.

The source is UTF-8 text in a small markup of its own:
  # title           the manual's title, large, at the top of its first page
  ## heading        a chapter: larger text over a rule
  ### heading       a section
  - text           an item of a list
  | text           a line of a screen as the program shows it, drawn in a
                   frame with the lines around it that start so
  ----             a new page
  other lines      paragraphs; a blank line ends one

The text is set in the Japanese gothic face every PDF reader has for the
Adobe-Japan1 character collection (not embedded, so the files stay small);
ASCII is set in its full-width forms, as the program's own screens write
it, so that every character takes one em. Lines break anywhere but before
closing punctuation, which hangs into the margin.

Usage: manual_pdf.py <source.txt> <output.pdf>
"""
import sys

PAGE_WIDTH, PAGE_HEIGHT = 595, 842  # A4 in points
MARGIN_LEFT, MARGIN_RIGHT, MARGIN_TOP, MARGIN_BOTTOM = 64, 64, 70, 72
BODY, SECTION, CHAPTER, TITLE, SCREEN = 10.5, 12.5, 15, 22, 9.5
LEADING = 1.75
NO_LINE_START = set("、。，．・：；？！）」』】〕ー々ゃゅょっぁぃぅぇぉャュョッァィゥェォ")
FONT = "HeiseiKakuGo-W5"


def full_width(text):
    """ASCII in its full-width forms, the space an ideographic one."""
    return "".join("\u3000" if c == " " else chr(ord(c) + 0xFEE0) if "!" <= c <= "~" else c
                   for c in text)


def hex_text(text):
    return "<" + "".join("%04X" % ord(c) for c in full_width(text)) + ">"


def wrap(text, size, width):
    """Lines of `text` set at `size` in `width` points."""
    lines, line, used = [], "", 0.0
    for char in text:
        w = size
        if used + w > width and line and full_width(char) not in NO_LINE_START:
            lines.append(line)
            line, used = "", 0.0
            if char == " ":
                continue
        line += char
        used += w
    if line:
        lines.append(line)
    return lines or [""]


class Document:
    def __init__(self):
        self.pages = []
        self.ops = None
        self.y = 0
        self.new_page()

    def new_page(self):
        self.ops = []
        self.pages.append(self.ops)
        self.y = PAGE_HEIGHT - MARGIN_TOP

    def room(self, height):
        if self.y - height < MARGIN_BOTTOM:
            self.new_page()

    def text(self, x, y, size, text, grey=0.0):
        if text:
            self.ops.append("BT %.2f g /F1 %.1f Tf %.2f %.2f Td %s Tj ET"
                            % (grey, size, x, y, hex_text(text)))

    def rule(self, x1, y, x2, width=0.6):
        self.ops.append("%.2f w %.2f %.2f m %.2f %.2f l S" % (width, x1, y, x2, y))

    def paragraph(self, text, size=BODY, indent=0, bullet=None, after=0.6):
        width = PAGE_WIDTH - MARGIN_LEFT - MARGIN_RIGHT - indent
        for i, line in enumerate(wrap(text, size, width)):
            self.room(size * LEADING)
            self.y -= size * LEADING
            if bullet and i == 0:
                self.text(MARGIN_LEFT + indent - size, self.y, size, bullet)
            self.text(MARGIN_LEFT + indent, self.y, size, line)
        self.y -= size * after

    def title(self, text):
        self.y -= TITLE
        self.text(MARGIN_LEFT, self.y, TITLE, text)
        self.y -= TITLE * 0.6
        self.rule(MARGIN_LEFT, self.y, PAGE_WIDTH - MARGIN_RIGHT, 1.5)
        self.y -= TITLE

    def heading(self, text, size, ruled):
        self.room(size * 5)  # a heading is not left alone at a page's foot
        self.y -= size * 1.6
        self.text(MARGIN_LEFT, self.y, size, text)
        if ruled:
            self.y -= size * 0.45
            self.rule(MARGIN_LEFT, self.y, PAGE_WIDTH - MARGIN_RIGHT)
        self.y -= size * 0.5

    def screen(self, lines):
        """A framed block of screen lines on a light grey ground."""
        step = SCREEN * 1.6
        height = step * len(lines) + SCREEN
        self.room(height + BODY)
        left, right = MARGIN_LEFT + 12, PAGE_WIDTH - MARGIN_RIGHT - 12
        top = self.y - BODY * 0.4
        self.ops.append("0.93 g %.2f %.2f %.2f %.2f re f 0 g" % (left, top - height, right - left, height))
        self.ops.append("0.8 w %.2f %.2f %.2f %.2f re S" % (left, top - height, right - left, height))
        y = top
        for line in lines:
            y -= step
            self.text(left + 8, y, SCREEN, line)
        self.y = top - height - BODY * 0.8

    def pdf(self):
        objects = []

        def add(body):
            objects.append(body)
            return len(objects)

        catalog = add(None)
        pages = add(None)
        descriptor = add("<< /Type /FontDescriptor /FontName /%s /Flags 4 "
                         "/FontBBox [-92 -250 1010 922] /ItalicAngle 0 /Ascent 880 "
                         "/Descent -120 /CapHeight 737 /StemV 114 >>" % FONT)
        cid_font = add("<< /Type /Font /Subtype /CIDFontType0 /BaseFont /%s "
                       "/CIDSystemInfo << /Registry (Adobe) /Ordering (Japan1) /Supplement 2 >> "
                       "/FontDescriptor %d 0 R /DW 1000 /W [1 95 500] >>" % (FONT, descriptor))
        font = add("<< /Type /Font /Subtype /Type0 /BaseFont /%s /Encoding /UniJIS-UCS2-HW-H "
                   "/DescendantFonts [%d 0 R] >>" % (FONT, cid_font))
        kids = []
        for number, ops in enumerate(self.pages, 1):
            footer = "BT 0 g /F1 9 Tf %.2f %.2f Td %s Tj ET" % (
                PAGE_WIDTH / 2 - 12, MARGIN_BOTTOM / 2, hex_text("- %d -" % number))
            stream = "\n".join(ops + [footer]).encode("ascii")
            content = add(b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream")
            kids.append(add("<< /Type /Page /Parent %d 0 R /MediaBox [0 0 %d %d] "
                            "/Resources << /Font << /F1 %d 0 R >> >> /Contents %d 0 R >>"
                            % (pages, PAGE_WIDTH, PAGE_HEIGHT, font, content)))
        objects[catalog - 1] = "<< /Type /Catalog /Pages %d 0 R >>" % pages
        objects[pages - 1] = "<< /Type /Pages /Kids [%s] /Count %d >>" % (
            " ".join("%d 0 R" % k for k in kids), len(kids))

        out = bytearray(b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
        offsets = []
        for number, body in enumerate(objects, 1):
            offsets.append(len(out))
            out += b"%d 0 obj\n" % number
            out += body if isinstance(body, bytes) else body.encode("ascii")
            out += b"\nendobj\n"
        xref = len(out)
        out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
        for offset in offsets:
            out += b"%010d 00000 n \n" % offset
        out += b"trailer\n<< /Size %d /Root %d 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (
            len(objects) + 1, catalog, xref)
        return bytes(out)


def build(source):
    doc = Document()
    paragraph, screen = [], []

    def join(parts):
        text = ""
        for part in parts:
            if text and text[-1].isascii() and part[:1].isascii():
                text += " "
            text += part
        return text

    def flush():
        if paragraph:
            doc.paragraph(join(paragraph))
            paragraph.clear()
        if screen:
            doc.screen(list(screen))
            screen.clear()

    for raw in source.splitlines():
        line = raw.rstrip()
        if line.startswith("| ") or line == "|":
            if paragraph:
                flush()
            screen.append(line[2:])
            continue
        if screen:
            flush()
        if not line:
            flush()
        elif line == "----":
            flush()
            doc.new_page()
        elif line.startswith("### "):
            flush()
            doc.heading(line[4:], SECTION, False)
        elif line.startswith("## "):
            flush()
            doc.heading(line[3:], CHAPTER, True)
        elif line.startswith("# "):
            flush()
            doc.title(line[2:])
        elif line.startswith("- "):
            flush()
            doc.paragraph(line[2:], indent=BODY * 1.5, bullet="・", after=0.2)
        else:
            paragraph.append(line.strip())
    flush()
    return doc.pdf()


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as f:
        pdf = build(f.read())
    with open(sys.argv[2], "wb") as f:
        f.write(pdf)


if __name__ == "__main__":
    main()
