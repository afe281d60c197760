#!/usr/bin/env python3
"""Makes the demonstration pages that the program shows before anything is
imported (resources/DemoImgs/*.jpg). Draws a small PDF with the standard
library and turns it into JPEG pictures with pdftoppm (poppler-utils).
    python3 scripts/make-demo-pages.py
"""
import os
import subprocess
import tempfile

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "DemoImgs")
W, H = 600, 800

PAGES = [
    ("Folivox", "Page-flip books from your documents",
     ["Turn a PDF, a text or an RTF document", "into a book that readers leaf through", "in any web browser."],
     (0.16, 0.49, 0.35)),
    ("1  Import", "Bring in a document",
     ["Choose a PDF and the pages you want.", "Pick an image quality. Keep the links", "and the bookmarks if you like."],
     (0.13, 0.40, 0.62)),
    ("2  Template", "Choose how it looks",
     ["Each template has styles: colours,", "backgrounds and buttons made to", "go together."],
     (0.58, 0.30, 0.55)),
    ("3  Adjust", "Make it yours",
     ["Change colours, the title, the logo,", "a hard cover, reading from right", "to left, the flip sound..."],
     (0.80, 0.42, 0.15)),
    ("4  Preview", "See it before you publish",
     ["The preview shows the book exactly", "as your readers will see it.", "Press Apply after your changes."],
     (0.20, 0.55, 0.55)),
    ("5  Publish", "Share it anywhere",
     ["Publish a folder that plays in every", "modern browser, from a web server", "or straight from the disk."],
     (0.55, 0.18, 0.22)),
]


def esc(text):
    return text.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)")


def page_stream(index, title, subtitle, lines, colour):
    r, g, b = colour
    ops = []
    ops.append("1 1 1 rg 0 0 %d %d re f" % (W, H))
    ops.append("%.2f %.2f %.2f rg 0 %d %d 260 re f" % (r, g, b, H - 260, W))
    # a few soft circles on the coloured band
    for (cx, cy, rad, alpha) in ((480, H - 90, 70, 0.25), (540, H - 190, 40, 0.18), (90, H - 230, 28, 0.2)):
        k = 0.5523 * rad
        shade = tuple(min(1.0, c + alpha) for c in colour)
        ops.append("%.2f %.2f %.2f rg" % shade)
        ops.append("%d %d m %.1f %d %d %.1f %d %d c" % (cx + rad, cy, cx + rad, cy + k, cx + k, cy + rad, cx, cy + rad))
        ops.append("%.1f %d %d %.1f %d %d c" % (cx - k, cy + rad, cx - rad, cy + k, cx - rad, cy))
        ops.append("%d %.1f %.1f %d %d %d c" % (cx - rad, cy - k, cx - k, cy - rad, cx, cy - rad))
        ops.append("%.1f %d %d %.1f %d %d c f" % (cx + k, cy - rad, cx + rad, cy - k, cx + rad, cy))
    ops.append("BT 1 1 1 rg /F2 46 Tf 50 %d Td (%s) Tj ET" % (H - 130, esc(title)))
    ops.append("BT 1 1 1 rg /F1 22 Tf 50 %d Td (%s) Tj ET" % (H - 180, esc(subtitle)))
    y = H - 340
    for line in lines:
        ops.append("BT 0.15 0.15 0.18 rg /F1 20 Tf 50 %d Td (%s) Tj ET" % (y, esc(line)))
        y -= 34
    # an open-book sketch
    ops.append("%.2f %.2f %.2f RG 3 w" % colour)
    ops.append("150 150 m 300 180 l 450 150 l S 150 150 m 150 330 l 300 360 l 450 330 l 450 150 l S 300 180 m 300 360 l S")
    for k in range(5):
        ops.append("0.6 0.6 0.65 RG 1.5 w %d %d m %d %d l S" % (170, 300 - k * 26, 280, 325 - k * 26))
        ops.append("%d %d m %d %d l S" % (320, 325 - k * 26, 430, 300 - k * 26))
    ops.append("BT 0.45 0.45 0.5 rg /F1 14 Tf %d 40 Td (%d) Tj ET" % (W // 2 - 4, index + 1))
    return "\n".join(ops).encode("latin-1")


def build_pdf(path):
    objects = []
    def add(body):
        objects.append(body)
        return len(objects)
    font1 = add(b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>")
    font2 = add(b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold >>")
    pages_id = len(objects) + 1 + 2 * len(PAGES)
    kids = []
    for i, (title, subtitle, lines, colour) in enumerate(PAGES):
        data = page_stream(i, title, subtitle, lines, colour)
        content = add(b"<< /Length %d >>\nstream\n" % len(data) + data + b"\nendstream")
        kids.append(add(b"<< /Type /Page /Parent %d 0 R /MediaBox [0 0 %d %d] /Contents %d 0 R "
                        b"/Resources << /Font << /F1 %d 0 R /F2 %d 0 R >> >> >>"
                        % (pages_id, W, H, content, font1, font2)))
    assert add(b"<< /Type /Pages /Kids [%s] /Count %d >>"
               % (b" ".join(b"%d 0 R" % k for k in kids), len(kids))) == pages_id
    catalog = add(b"<< /Type /Catalog /Pages %d 0 R >>" % pages_id)
    out = bytearray(b"%PDF-1.4\n")
    offsets = []
    for n, body in enumerate(objects, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n" % n + body + b"\nendobj\n"
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1)
    for off in offsets:
        out += b"%010d 00000 n \n" % off
    out += b"trailer\n<< /Size %d /Root %d 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, catalog, xref)
    with open(path, "wb") as f:
        f.write(out)


def main():
    os.makedirs(OUT, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        pdf = os.path.join(tmp, "demo.pdf")
        build_pdf(pdf)
        subprocess.run(["pdftoppm", "-r", "96", "-jpeg", "-jpegopt", "quality=85", pdf, os.path.join(tmp, "p")], check=True)
        for name in sorted(os.listdir(tmp)):
            if name.endswith(".jpg"):
                number = int(name[2:-4])
                os.replace(os.path.join(tmp, name), os.path.join(OUT, "page-%02d.jpg" % number))


if __name__ == "__main__":
    main()
