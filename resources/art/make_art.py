#!/usr/bin/env python3
"""Dorvane artwork generator.

Draws the program icon, the logos, the menu pictures and the settings tab
pictures from simple vector shapes and writes them as classic Windows .ico
and .bmp files.  Only the Python standard library is used, and the output is
the same on every run.

    python3 make_art.py [OUTDIR]        (OUTDIR defaults to this folder)
"""

import math
import os
import struct
import sys
import zlib

KEY = (255, 0, 255)          # transparent key colour of the keyed pictures
FACE = (192, 192, 192)       # button-face grey

# The standard Windows 16-colour palette, in palette order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = VGA16[0:8]
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = VGA16[8:16]


# ---------------------------------------------------------------------------
# Shapes.  A shape is a pair (adds, subs) of contour lists: the area is the
# union of the "adds" contours less the union of the "subs" contours.  Each
# contour is filled with the even-odd rule on its own.
# ---------------------------------------------------------------------------

def poly(pts):
    return ([list(pts)], [])


def rect(x0, y0, x1, y1):
    return poly([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])


def arc_pts(cx, cy, rx, ry, a0, a1, n=None):
    """Points along an elliptic arc; angles in degrees, counter-clockwise on
    screen (y grows downwards, so the sine is negated)."""
    if n is None:
        n = max(6, int(abs(a1 - a0) / 6))
    out = []
    for i in range(n + 1):
        t = math.radians(a0 + (a1 - a0) * i / n)
        out.append((cx + rx * math.cos(t), cy - ry * math.sin(t)))
    return out


def ellipse(cx, cy, rx, ry=None):
    if ry is None:
        ry = rx
    return poly(arc_pts(cx, cy, rx, ry, 0, 360, 72)[:-1])


def rrect(x0, y0, x1, y1, r):
    if r <= 0:
        return rect(x0, y0, x1, y1)
    p = []
    p += arc_pts(x1 - r, y0 + r, r, r, 0, 90, 8)
    p += arc_pts(x0 + r, y0 + r, r, r, 90, 180, 8)
    p += arc_pts(x0 + r, y1 - r, r, r, 180, 270, 8)
    p += arc_pts(x1 - r, y1 - r, r, r, 270, 360, 8)
    return poly(p)


def union(*shapes):
    adds, subs = [], []
    for a, s in shapes:
        adds += a
        subs += s
    return (adds, subs)


def minus(shape, *cut):
    adds, subs = shape
    subs = list(subs)
    for a, _s in cut:
        subs += a
    return (adds, subs)


def capsule(p, q, w):
    """A straight stroke of width w with round ends."""
    (x0, y0), (x1, y1) = p, q
    dx, dy = x1 - x0, y1 - y0
    d = math.hypot(dx, dy) or 1e-9
    nx, ny = -dy / d * w / 2, dx / d * w / 2
    body = poly([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                 (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)])
    return union(body, ellipse(x0, y0, w / 2), ellipse(x1, y1, w / 2))


def stroke(pts, w, closed=False, caps=True):
    """A polyline of width w with round joins (and round ends if caps)."""
    pts = list(pts)
    if closed:
        pts.append(pts[0])
    parts = []
    for i in range(len(pts) - 1):
        (x0, y0), (x1, y1) = pts[i], pts[i + 1]
        dx, dy = x1 - x0, y1 - y0
        d = math.hypot(dx, dy) or 1e-9
        nx, ny = -dy / d * w / 2, dx / d * w / 2
        parts.append(poly([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                           (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]))
        if 0 < i or closed:
            parts.append(ellipse(x0, y0, w / 2))
    if caps and not closed:
        parts.append(ellipse(*pts[0], w / 2))
        parts.append(ellipse(*pts[-1], w / 2))
    return union(*parts)


def band(pts, w):
    """A polyline of width w with square (butt) ends and round joins."""
    return stroke(pts, w, caps=False)


def xform(shape, fn):
    adds, subs = shape
    return ([[fn(x, y) for x, y in c] for c in adds],
            [[fn(x, y) for x, y in c] for c in subs])


def shift(shape, dx, dy):
    return xform(shape, lambda x, y: (x + dx, y + dy))


def cubic(p0, p1, p2, p3, n=16):
    out = []
    for i in range(n + 1):
        t = i / n
        u = 1 - t
        out.append((u * u * u * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t * t * t * p3[0],
                    u * u * u * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t * t * t * p3[1]))
    return out


# ---------------------------------------------------------------------------
# Rasteriser: exact horizontal coverage, SS sub-rows per pixel vertically.
# ---------------------------------------------------------------------------

def _spans(contour, y):
    xs = []
    n = len(contour)
    for i in range(n):
        x0, y0 = contour[i]
        x1, y1 = contour[(i + 1) % n]
        if (y0 <= y < y1) or (y1 <= y < y0):
            xs.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
    xs.sort()
    return [(xs[i], xs[i + 1]) for i in range(0, len(xs) - 1, 2)]


def _merge(spans):
    spans.sort()
    out = []
    for a, b in spans:
        if out and a <= out[-1][1]:
            if b > out[-1][1]:
                out[-1][1] = b
        else:
            out.append([a, b])
    return out


def _cut(spans, holes):
    out = []
    for a, b in spans:
        cur = a
        for ha, hb in holes:
            if hb <= cur or ha >= b:
                continue
            if ha > cur:
                out.append([cur, ha])
            cur = max(cur, hb)
        if cur < b:
            out.append([cur, b])
    return out


def coverage(shape, w, h, aa=True, ss=5):
    adds, subs = shape
    cov = [0.0] * (w * h)
    ys = [p[1] for c in adds for p in c]
    if not ys:
        return cov
    ylo = max(0, int(math.floor(min(ys))))
    yhi = min(h, int(math.ceil(max(ys))) + 1)
    steps = ss if aa else 1
    wgt = 1.0 / steps
    for j in range(ylo, yhi):
        for k in range(steps):
            y = j + (k + 0.5) / steps
            sp = []
            for c in adds:
                sp += _spans(c, y)
            sp = _merge(sp)
            if subs:
                hs = []
                for c in subs:
                    hs += _spans(c, y)
                sp = _cut(sp, _merge(hs))
            row = j * w
            for x0, x1 in sp:
                if not aa:
                    i0 = max(0, int(math.ceil(x0 - 0.5)))
                    i1 = min(w - 1, int(math.ceil(x1 - 0.5)) - 1)
                    for i in range(i0, i1 + 1):
                        cov[row + i] = 1.0
                    continue
                x0 = max(0.0, x0)
                x1 = min(float(w), x1)
                if x1 <= x0:
                    continue
                i0, i1 = int(x0), int(x1)
                if i0 == i1:
                    cov[row + i0] += (x1 - x0) * wgt
                    continue
                cov[row + i0] += (i0 + 1 - x0) * wgt
                for i in range(i0 + 1, i1):
                    cov[row + i] += wgt
                if i1 < w:
                    cov[row + i1] += (x1 - i1) * wgt
    return cov


# ---------------------------------------------------------------------------
# Paints
# ---------------------------------------------------------------------------

def mix(c0, c1, t):
    t = 0.0 if t < 0 else 1.0 if t > 1 else t
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def linear(x0, y0, x1, y1, *stops):
    """Linear gradient from (x0,y0) to (x1,y1); stops are colours spread
    evenly, or (t, colour) pairs."""
    if not isinstance(stops[0][0], tuple):
        n = len(stops) - 1
        stops = [(i / n, c) for i, c in enumerate(stops)]
    dx, dy = x1 - x0, y1 - y0
    dd = dx * dx + dy * dy

    def paint(x, y):
        t = ((x - x0) * dx + (y - y0) * dy) / dd
        if t <= stops[0][0]:
            return stops[0][1]
        for (ta, ca), (tb, cb) in zip(stops, stops[1:]):
            if t <= tb:
                return mix(ca, cb, (t - ta) / (tb - ta))
        return stops[-1][1]
    return paint


def radial(cx, cy, r, c0, c1):
    def paint(x, y):
        return mix(c0, c1, math.hypot(x - cx, y - cy) / r)
    return paint


# ---------------------------------------------------------------------------
# Canvas: straight RGBA, colour channels 0..255, alpha 0..1
# ---------------------------------------------------------------------------

# The scale the pictures are drawn at, 1.0 for the plain (96-DPI) ones:
# every picture is drawn in its 100 % coordinates, and the canvas maps
# shapes, paints and pixel boxes to its own size (drawn_at).
SCALE = 1.0


def scaled_shape(shape, s):
    if s == 1.0:
        return shape
    return xform(shape, lambda x, y: (x * s, y * s))


class Canvas:
    def __init__(self, w, h, bg=None):
        self.s = SCALE
        w, h = int(round(w * self.s)), int(round(h * self.s))
        self.w, self.h = w, h
        if bg is None:
            self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]
        else:
            self.px = [[bg[0], bg[1], bg[2], 1.0] for _ in range(w * h)]

    def blend(self, i, col, a):
        if a <= 0:
            return
        if a > 1:
            a = 1.0
        p = self.px[i]
        da = p[3]
        oa = a + da * (1 - a)
        f = da * (1 - a)
        for k in range(3):
            p[k] = (col[k] * a + p[k] * f) / oa
        p[3] = oa

    def fill(self, shape, paint, alpha=1.0, aa=True, clip=None):
        s = self.s
        cov = coverage(scaled_shape(shape, s), self.w, self.h, aa)
        for i, c in enumerate(cov):
            if c <= 1e-6:
                continue
            if clip is not None:
                c *= clip[i]
            x, y = i % self.w, i // self.w
            col = paint if isinstance(paint, tuple) else paint((x + 0.5) / s, (y + 0.5) / s)
            self.blend(i, col, min(c, 1.0) * alpha)

    def mask(self, shape, aa=True):
        return [min(1.0, c) for c in coverage(scaled_shape(shape, self.s), self.w, self.h, aa)]

    def _put(self, x, y, col, a):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.blend(y * self.w + x, col, a)

    def put(self, x, y, col, a=1.0):
        self.box(x, y, x, y, col, a)

    def hline(self, x0, x1, y, col, a=1.0):
        self.box(x0, y, x1, y, col, a)

    def vline(self, x, y0, y1, col, a=1.0):
        self.box(x, y0, x, y1, col, a)

    def box(self, x0, y0, x1, y1, col, a=1.0):
        """Inclusive pixel rectangle of the 100 % picture; drawn larger, it
        covers the whole pixels that its scaled area covers, at least one."""
        if x1 < x0 or y1 < y0:
            return
        s = self.s
        X0, Y0 = int(round(x0 * s)), int(round(y0 * s))
        X1 = max(X0, int(round((x1 + 1) * s)) - 1)
        Y1 = max(Y0, int(round((y1 + 1) * s)) - 1)
        for y in range(Y0, Y1 + 1):
            for x in range(X0, X1 + 1):
                self._put(x, y, col, a)

    # -- conversions -------------------------------------------------------
    def rgb(self, key=KEY, cut=0.5):
        """Top-down list of RGB triples; pixels less than `cut` opaque take
        the key colour, the rest keep their colour at full strength."""
        out = []
        for r, g, b, a in self.px:
            if a < cut:
                out.append(key)
                continue
            c = (int(round(r)), int(round(g)), int(round(b)))
            if c == key:                     # keep drawn pixels visible
                c = (c[0], c[1] + 1, c[2])
            out.append(c)
        return out

    def indexed16(self, cut=0.5):
        """Top-down palette indices (None where transparent)."""
        out = []
        for r, g, b, a in self.px:
            out.append(None if a < cut else nearest16((r, g, b)))
        return out


def nearest16(c):
    best, bi = None, 0
    for i, p in enumerate(VGA16):
        d = 3 * (c[0] - p[0]) ** 2 + 4 * (c[1] - p[1]) ** 2 + 2 * (c[2] - p[2]) ** 2
        if best is None or d < best:
            best, bi = d, i
    return bi


def median_cut(pixels, n=256, keep=()):
    """A palette of at most n colours for the RGB list; colours in `keep`
    are put in exactly.  Returns (palette, indices)."""
    hist = {}
    for p in pixels:
        hist[p] = hist.get(p, 0) + 1
    if len(hist) <= n:
        pal = sorted(hist)
    else:
        fixed = [k for k in keep if k in hist]
        rest = [(c, m) for c, m in sorted(hist.items()) if c not in fixed]
        boxes = [rest]
        while len(boxes) + len(fixed) < n:
            boxes.sort(key=lambda b: -_box_score(b))
            b = boxes.pop(0)
            if len(b) < 2:
                boxes.append(b)
                break
            ch = max(range(3), key=lambda k: max(c[k] for c, _ in b) - min(c[k] for c, _ in b))
            b.sort(key=lambda cm: (cm[0][ch], cm[0]))
            total = sum(m for _, m in b)
            acc, cut = 0, 1
            for i, (_, m) in enumerate(b):
                acc += m
                if acc * 2 >= total:
                    cut = min(max(i + 1, 1), len(b) - 1)
                    break
            boxes += [b[:cut], b[cut:]]
        pal = list(fixed)
        for b in boxes:
            t = sum(m for _, m in b)
            pal.append(tuple(int(round(sum(c[k] * m for c, m in b) / t)) for k in range(3)))
    lut = {}
    for c in hist:
        if c in pal:
            lut[c] = pal.index(c)
        else:
            lut[c] = min(range(len(pal)),
                         key=lambda i: sum((c[k] - pal[i][k]) ** 2 for k in range(3)))
    return pal, [lut[p] for p in pixels]


def _box_score(b):
    if len(b) < 2:
        return -1
    spread = max(max(c[k] for c, _ in b) - min(c[k] for c, _ in b) for k in range(3))
    return spread * math.sqrt(sum(m for _, m in b))


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------

def _rows(w, h, data, bpp):
    """Bottom-up, 4-byte aligned rows of pixel data (top-down input)."""
    stride = ((w * bpp + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = data[y * w:(y + 1) * w]
        if bpp == 24:
            b = bytearray()
            for r, g, bl in row:
                b += bytes((bl, g, r))
        elif bpp == 8:
            b = bytearray(row)
        elif bpp == 4:
            b = bytearray()
            for x in range(0, w, 2):
                hi = row[x]
                lo = row[x + 1] if x + 1 < w else 0
                b.append((hi << 4) | lo)
        elif bpp == 1:
            b = bytearray()
            for x in range(0, w, 8):
                v = 0
                for k in range(8):
                    if x + k < w and row[x + k]:
                        v |= 0x80 >> k
                b.append(v)
        else:
            raise ValueError(bpp)
        b += bytes(stride - len(b))
        out += b
    return bytes(out)


def _palette(pal, size):
    pal = list(pal) + [(0, 0, 0)] * (size - len(pal))
    return b"".join(bytes((b, g, r, 0)) for r, g, b in pal)


def bmp_bytes(w, h, bpp, data, pal=None):
    bits = _rows(w, h, data, bpp)
    table = _palette(pal, 1 << bpp) if bpp <= 8 else b""
    off = 14 + 40 + len(table)
    head = struct.pack("<2sIHHI", b"BM", off + len(bits), 0, 0, off)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, len(bits),
                       2835, 2835, 0, 0)
    return head + info + table + bits


def bmp_pixels(bmp):
    """A .bmp's pixels as (blue, green, red) triples, bottom row first."""
    off = struct.unpack_from("<I", bmp, 10)[0]
    w, h = struct.unpack_from("<ii", bmp, 18)
    bpp = struct.unpack_from("<H", bmp, 28)[0]
    stride = ((w * bpp + 31) // 32) * 4
    if bpp == 24:
        return w, h, [bmp[off + y * stride + 3 * x:off + y * stride + 3 * x + 3]
                      for y in range(h) for x in range(w)]
    assert bpp == 8, bpp
    table = [bmp[54 + 4 * i:57 + 4 * i] for i in range(256)]
    return w, h, [table[bmp[off + y * stride + x]] for y in range(h) for x in range(w)]


def _deflate(data):
    z = zlib.compressobj(9, zlib.DEFLATED, -15, 9)
    return z.compress(data) + z.flush()


def stored_bytes(bmp):
    """A .bmp as the program holds it (platform/PackedPicture.h): a
    BITMAPINFOHEADER and one raw deflate stream of its pixels, bottom row
    first and unpadded, exactly as they are: three bytes a pixel, or, for
    a picture of 256 colours at most where that is smaller, a palette of
    the colours it uses and an index a pixel."""
    w, h, px = bmp_pixels(bmp)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, 0, 0, 0, 0, 0)
    forms = [info + _deflate(b"".join(px))]
    colours = list(dict.fromkeys(px))
    if len(colours) <= 256:
        index = {c: i for i, c in enumerate(colours)}
        info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, 0, 0, 0, len(colours), 0)
        forms.append(info + _deflate(b"".join(colours) + bytes(index[c] for c in px)))
    return min(forms, key=len)


def stored_pixels(data):
    """The (blue, green, red) triples that a stored picture inflates to."""
    w, h, _p, bits, _c, _s, _x, _y, colours = struct.unpack_from("<iiHHIIiiI", data, 4)
    raw = zlib.decompress(data[40:], -15)
    if bits == 24:
        assert colours == 0 and len(raw) == 3 * w * h
        return [raw[3 * i:3 * i + 3] for i in range(w * h)]
    assert bits == 8 and 1 <= colours <= 256 and len(raw) == 3 * colours + w * h
    return [raw[3 * i:3 * i + 3] for i in raw[3 * colours:]]


def stored_name(name):
    return name[:-4] + ".dfb"


# The one picture the program keeps as Windows stores it: its 16 colours
# are its design, and it is smaller than any header.
PLAIN = ("mi_howtousehelp.bmp",)


def ico_bytes(images):
    """images: list of (size, indices) with None marking transparent pixels;
    each is stored as a 16-colour image with its AND mask."""
    entries, blobs = [], []
    off = 6 + 16 * len(images)
    for size, idx in images:
        xor = _rows(size, size, [0 if i is None else i for i in idx], 4)
        andm = _rows(size, size, [1 if i is None else 0 for i in idx], 1)
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                           len(xor) + len(andm), 0, 0, 0, 0)
        blob = info + _palette(VGA16, 16) + xor + andm
        entries.append(struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4,
                                   len(blob), off))
        blobs.append(blob)
        off += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def inset(pts, d):
    """Offsets a convex polygon's edges inwards by d (outwards if d < 0)."""
    n = len(pts)
    area = sum(pts[i][0] * pts[(i + 1) % n][1] - pts[(i + 1) % n][0] * pts[i][1]
               for i in range(n))
    sgn = 1 if area > 0 else -1
    lines = []
    for i in range(n):
        (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % n]
        dx, dy = x1 - x0, y1 - y0
        L = math.hypot(dx, dy)
        if L < 1e-9:
            continue
        nx, ny = -dy / L * sgn, dx / L * sgn      # inward normal
        lines.append(((x0 + nx * d, y0 + ny * d), (dx, dy)))
    out = []
    m = len(lines)
    for i in range(m):
        (p, u), (q, v) = lines[i - 1], lines[i]
        den = u[0] * v[1] - u[1] * v[0]
        if abs(den) < 1e-9:
            out.append(q)
            continue
        t = ((q[0] - p[0]) * v[1] - (q[1] - p[1]) * v[0]) / den
        out.append((p[0] + u[0] * t, p[1] + u[1] * t))
    return out


def cog(cx, cy, r_out, r_in, teeth, grow=0.0, top=0.26, root=0.36, phase=0.0):
    """A gear wheel outline; `top` and `root` are the half-widths of a tooth
    at its tip and foot as fractions of the tooth pitch."""
    pts = []
    pitch = 360.0 / teeth
    ro, ri = r_out + grow, r_in + grow
    gt = math.degrees(grow / ro)
    gr = math.degrees(grow / ri)
    for i in range(teeth):
        a = phase + i * pitch
        for ang, r in ((a - root * pitch - gr, ri), (a - top * pitch - gt, ro),
                       (a + top * pitch + gt, ro), (a + root * pitch + gr, ri)):
            t = math.radians(ang)
            pts.append((cx + r * math.cos(t), cy - r * math.sin(t)))
        # follow the rim between teeth
        for k in range(1, 3):
            t = math.radians(a + root * pitch + gr + k * (pitch - 2 * root * pitch - 2 * gr) / 3)
            pts.append((cx + ri * math.cos(t), cy - ri * math.sin(t)))
    return pts


# ---------------------------------------------------------------------------
# Program icon: a 3.5" drive front under a warning triangle (16 colours)
# ---------------------------------------------------------------------------

def warning_triangle(c, apex_x, top, bottom, half, rim, aa=False,
                     fill=YELLOW, edge=BLACK):
    outer = [(apex_x, top), (apex_x + half, bottom), (apex_x - half, bottom)]
    c.fill(poly(outer), edge, aa=aa)
    c.fill(poly(inset(outer, rim)), fill, aa=aa)
    return outer


def icon32():
    c = Canvas(32, 32)
    # drive front
    c.box(0, 15, 31, 29, BLACK)
    c.box(1, 16, 30, 28, SILVER)
    c.hline(1, 29, 16, WHITE)
    c.vline(1, 16, 27, WHITE)
    c.hline(2, 30, 28, GREY)
    c.vline(30, 17, 28, GREY)
    # the slot, set into the bezel
    c.hline(4, 24, 19, GREY)
    c.hline(4, 24, 20, BLACK)
    c.hline(4, 24, 21, BLACK)
    c.hline(5, 25, 22, WHITE)
    c.vline(25, 19, 21, WHITE)
    c.vline(4, 20, 21, GREY)
    # busy light and eject button
    c.hline(4, 6, 25, GREEN)
    c.hline(4, 6, 24, LIME)
    c.box(21, 24, 26, 25, SILVER)
    c.hline(21, 26, 24, WHITE)
    c.hline(21, 26, 26, GREY)
    c.vline(26, 24, 26, GREY)
    c.vline(20, 24, 26, GREY)
    # warning triangle, top right
    warning_triangle(c, 22, 0.2, 17.6, 10.0, 1.2)
    c.box(21, 6, 22, 12, BLACK)
    c.box(21, 14, 22, 15, BLACK)
    return c


def icon16():
    c = Canvas(16, 16)
    c.box(0, 8, 15, 15, BLACK)
    c.box(1, 9, 14, 14, SILVER)
    c.hline(1, 13, 9, WHITE)
    c.vline(1, 9, 13, WHITE)
    c.hline(1, 14, 14, GREY)
    c.vline(14, 9, 14, GREY)
    c.hline(3, 10, 12, BLACK)
    c.hline(3, 10, 13, WHITE)
    c.hline(12, 13, 12, LIME)
    c.hline(12, 13, 13, GREEN)
    # At this size the triangle is laid out row by row: (left, right).
    rows = [(10, 10), (9, 11), (9, 11), (8, 12), (8, 12), (7, 13), (7, 13),
            (6, 14), (6, 14), (5, 15)]
    for y, (x0, x1) in enumerate(rows):
        c.hline(x0, x1, y, BLACK)
        c.hline(x0 + 1, x1 - 1, y, YELLOW)
    c.hline(5, 15, 10, BLACK)
    c.vline(10, 3, 6, BLACK)
    c.put(10, 8, BLACK)
    return c


def icon_scaled(n):
    """The 32 x 32 icon's design drawn at n x n (20, 24, 40, 48): each of
    its pixel boxes scaled to whole pixels, at least one wide, and the
    triangle from its outline, so no size is a stretched copy."""
    s = n / 32.0
    c = Canvas(n, n)

    def box(x0, y0, x1, y1, col):
        """An inclusive box of the 32-pixel design."""
        X0, Y0 = int(round(x0 * s)), int(round(y0 * s))
        X1 = max(X0, int(round((x1 + 1) * s)) - 1)
        Y1 = max(Y0, int(round((y1 + 1) * s)) - 1)
        c.box(X0, Y0, X1, Y1, col)

    box(0, 15, 31, 29, BLACK)
    box(1, 16, 30, 28, SILVER)
    box(1, 16, 29, 16, WHITE)
    box(1, 16, 1, 27, WHITE)
    box(2, 28, 30, 28, GREY)
    box(30, 17, 30, 28, GREY)
    box(4, 19, 24, 19, GREY)
    box(4, 20, 24, 21, BLACK)
    box(5, 22, 25, 22, WHITE)
    box(25, 19, 25, 21, WHITE)
    box(4, 20, 4, 21, GREY)
    box(4, 25, 6, 25, GREEN)
    box(4, 24, 6, 24, LIME)
    box(21, 24, 26, 25, SILVER)
    box(21, 24, 26, 24, WHITE)
    box(21, 26, 26, 26, GREY)
    box(26, 24, 26, 26, GREY)
    box(20, 24, 20, 26, GREY)
    warning_triangle(c, 22 * s, 0.2 * s, 17.6 * s, 10.0 * s, max(1.0, 1.2 * s))
    # Below 32 pixels the triangle's tip is too narrow for the mark's top.
    box(21, 6 if n > 32 else 8, 22, 12, BLACK)
    box(21, 14, 22, 15, BLACK)
    return c


# The icon's sizes: 16 and 32 drawn pixel by pixel, the others from the
# 32-pixel design; Windows picks the size of each place at each DPI.
ICON_SIZES = (16, 20, 24, 32, 40, 48)


def icon_at(n):
    return {16: icon16, 32: icon32}.get(n, lambda: icon_scaled(n))()


# ---------------------------------------------------------------------------
# Menu pictures, 16 x 16
# ---------------------------------------------------------------------------

INK = (40, 40, 40)
PAGE_EDGE = (100, 100, 100)


def question(cx, top, s):
    """Centre lines of a question mark scaled by s; returns (hook, dot)."""
    r = 2.2 * s
    hook = arc_pts(cx, top + r, r, r, 160, -40, 12)
    ex, ey = hook[-1]
    hook += [(cx + 0.25 * s, ey + 1.0 * s), (cx, ey + 2.1 * s)]
    dot = (cx, top + 2 * r + 3.6 * s)
    return hook, dot


def mi_settings():
    c = Canvas(16, 16)
    page = [(1, 0), (9, 0), (13, 4), (13, 16), (1, 16)]
    c.fill(poly(page), PAGE_EDGE)
    c.fill(poly([(2, 1), (8.6, 1), (12, 4.4), (12, 15), (2, 15)]),
           linear(2, 1, 12, 15, WHITE, (225, 225, 230)))
    c.fill(poly([(8, 0.5), (8, 5), (12.5, 5)]), PAGE_EDGE)
    c.fill(poly([(9, 1.6), (9, 4), (11.4, 4)]), (210, 210, 215))
    for y in (3, 5, 7, 9, 11, 13):
        x1 = 6 if y < 6 else 4
        c.hline(3, x1, y, (150, 150, 160))
    cx, cy = 10.0, 10.0
    c.fill(poly(cog(cx, cy, 5.4, 3.9, 8, phase=22.5)), (120, 80, 0))
    c.fill(poly(cog(cx, cy, 5.4, 3.9, 8, grow=-1.0, phase=22.5)),
           linear(6, 6, 14, 14, (255, 250, 170), (255, 210, 0), (215, 150, 0)))
    c.fill(ellipse(cx, cy, 2.0), (120, 80, 0))
    c.fill(ellipse(cx, cy, 1.05), WHITE)
    return c


def mi_helptopics():
    c = Canvas(16, 16)
    edge = (60, 0, 70)
    sil = [(1, 3), (4, 0), (15, 0), (15, 12), (12, 15.5), (1, 15.5)]
    c.fill(poly(sil), edge)
    # page block: top and fore-edge
    c.fill(poly([(2.2, 3), (4.4, 1), (14, 1), (11.6, 3)]), (245, 245, 235))
    c.fill(poly([(12, 3.4), (14, 1.4), (14, 11.6), (12, 13.6)]), (235, 235, 220))
    for k in range(3):
        c.fill(stroke([(12.6 + k * 0.55, 3.4 - k * 0.55 + 1.2), (12.6 + k * 0.55, 12.6 - k * 0.55)], 0.35, caps=False), (180, 180, 170))
    # front board
    c.fill(rect(2, 4, 11, 14.5), linear(2, 4, 11, 14.5, (200, 110, 210), (150, 40, 160), (100, 10, 110)))
    c.fill(rect(2, 4, 3.2, 14.5), (90, 10, 100))
    c.fill(rect(3.2, 4, 3.8, 14.5), (215, 150, 225), alpha=0.8)
    hook, dot = question(7.2, 5.1, 0.95)
    c.fill(stroke(hook, 1.7), (255, 230, 0))
    c.fill(ellipse(dot[0], dot[1] - 0.3, 0.95), (255, 230, 0))
    return c


def mi_howtousehelp():
    c = Canvas(16, 16)
    hook, dot = question(8, 1.6, 1.45)
    c.fill(stroke(hook, 4.6), BLACK, aa=False)
    c.fill(ellipse(dot[0], dot[1] - 0.2, 2.3), BLACK, aa=False)
    c.fill(stroke(hook, 2.3), YELLOW, aa=False)
    c.fill(ellipse(dot[0], dot[1] - 0.2, 1.2), YELLOW, aa=False)
    return c


def mi_about():
    c = Canvas(16, 16)
    c.fill(ellipse(8, 8, 7.9), (110, 80, 0))
    c.fill(ellipse(8, 8, 6.9), radial(5.5, 5, 10, (255, 255, 200), (255, 200, 0)))
    c.fill(ellipse(5.6, 6.0, 0.85, 1.3), INK)
    c.fill(ellipse(10.4, 6.0, 0.85, 1.3), INK)
    c.fill(band(arc_pts(8, 7.6, 4.2, 3.9, 205, 335, 16), 1.3), INK)
    return c


def monitor(c, screen):
    dark = (64, 64, 64)
    c.fill(rrect(0, 0, 16, 13.5, 1.2), dark)
    c.fill(rrect(1, 1, 15, 12.5, 0.6),
           linear(0, 0, 14, 12, (240, 238, 228), (196, 192, 180), (160, 156, 144)))
    c.fill(rect(1.5, 1.5, 14.5, 11.5), (90, 90, 90))
    c.fill(rect(2, 2, 14, 11), screen)
    c.fill(rect(6, 13.5, 10, 14), dark)
    c.fill(rrect(3, 14, 13, 16, 0.8), dark)
    c.fill(rect(4, 14.8, 12, 15.2), (200, 198, 188))


def mi_shutdown():
    c = Canvas(16, 16)
    monitor(c, linear(2, 2, 14, 11, (70, 120, 255), (0, 40, 200), (0, 20, 150)))
    c.fill(poly([(2, 2), (9, 2), (2, 7)]), WHITE, alpha=0.22)
    return c


def mi_exit():
    c = Canvas(16, 16)
    c.fill(union(capsule((3.5, 3.5), (12.5, 12.5), 2.7),
                 capsule((12.5, 3.5), (3.5, 12.5), 2.7)), (0, 0, 0))
    return c


# ---------------------------------------------------------------------------
# Settings tab pictures, 32 x 32
# ---------------------------------------------------------------------------

DISK_EDGE = (12, 18, 48)
DISK_BODY = ((80, 105, 190), (40, 55, 130), (22, 30, 80))
METAL = ((245, 245, 250), (200, 202, 210), (140, 142, 152))


def floppy(c, x0, y0, x1, y1, cut_at=None, label=True):
    """A 3.5" disk seen from the front, shutter at the top.  If cut_at is
    given, nothing below that line is drawn (the disk is in a slot)."""
    w = x1 - x0
    ch = w * 0.07
    yb = y1 if cut_at is None else cut_at
    sil = [(x0, y0), (x1 - ch, y0), (x1, y0 + ch), (x1, yb), (x0, yb)]
    c.fill(poly(sil), DISK_EDGE)
    c.fill(poly(inset(sil, 1.0)), linear(x0, y0, x1, y1, *DISK_BODY))
    # shutter
    sx0, sx1 = x0 + w * 0.24, x1 - w * 0.2
    sy1 = y0 + w * 0.38
    c.fill(rect(sx0, y0, sx1, sy1), DISK_EDGE)
    c.fill(rect(sx0 + 1, y0 + 0.6, sx1 - 1, sy1 - 1), linear(sx0, y0, sx1, sy1, *METAL))
    wx0 = sx0 + (sx1 - sx0) * 0.58
    c.fill(rect(wx0, y0 + 1.8, wx0 + w * 0.13, sy1 - 2.2), (40, 40, 50))
    if label:
        ly0 = y0 + w * 0.5
        lab = minus(rrect(x0 + w * 0.11, ly0, x1 - w * 0.11, y1 + 3, 1.2),
                    rect(x0 - 1, yb - 1, x1 + 1, y1 + 5))
        c.fill(lab, linear(0, ly0, 0, y1, WHITE, (225, 228, 235)))
        y = ly0 + 2.5
        while y < min(y1, yb) - 1.5:
            c.fill(rect(x0 + w * 0.17, y, x1 - w * 0.17, y + 0.6), (120, 150, 210))
            y += 2.6
    return sil


def drive_front(c, x0, y0, x1, y1, slot_y):
    dark = (56, 56, 56)
    c.fill(rrect(x0, y0, x1, y1, 1.5), dark)
    c.fill(rrect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, 0.8),
           linear(x0, y0, x0 + 6, y1 + 6, (246, 243, 230), (218, 212, 192), (178, 172, 152)))
    c.fill(rect(x0 + 1.5, y0 + 1, x1 - 1.5, y0 + 1.8), WHITE, alpha=0.9)
    c.fill(rect(x0 + 1.5, y1 - 1.8, x1 - 1.5, y1 - 1), (150, 144, 126))
    # slot
    c.fill(rrect(x0 + 3, slot_y - 2, x1 - 3, slot_y + 2, 1.0), (150, 144, 126))
    c.fill(rrect(x0 + 3.5, slot_y - 1.5, x1 - 3.5, slot_y + 1.5, 0.6), (20, 20, 24))
    c.fill(rect(x0 + 4, slot_y + 2, x1 - 3, slot_y + 2.6), WHITE, alpha=0.9)


def tab_drives():
    c = Canvas(32, 32)
    drive_front(c, 0.5, 17.5, 31.5, 30.5, 22.5)
    floppy(c, 7, 3, 25, 27, cut_at=22.5, label=False)
    # the disk darkens as it goes into the slot
    for k, a in ((0, 0.15), (1, 0.3), (2, 0.5)):
        c.fill(rect(8, 19.5 + k, 24, 20.5 + k), (0, 0, 20), alpha=a)
    # busy light and eject button
    c.fill(rrect(4, 26, 8, 28, 0.5), (0, 90, 0))
    c.fill(rect(4.5, 26.5, 7.5, 27.5), (40, 230, 40))
    c.fill(rrect(21, 25.5, 28, 29, 1.0), (120, 114, 98))
    c.fill(rrect(21.5, 26, 27.5, 28.5, 0.8), linear(0, 26, 0, 28.5, (250, 248, 238), (200, 194, 176)))
    return c


def tab_sound():
    c = Canvas(32, 32)
    dark = (36, 36, 40)
    c.fill(rrect(2, 10.5, 10, 21.5, 1.0), dark)
    c.fill(rect(3, 11.5, 9.5, 20.5), linear(0, 11, 0, 21, (225, 225, 230), (160, 160, 168), (110, 110, 118)))
    cone = [(9, 10.5), (17.5, 3), (17.5, 29), (9, 21.5)]
    c.fill(poly(inset(cone, -1.0)), dark)
    c.fill(poly(cone), linear(9, 0, 18, 0, (120, 120, 128), (215, 215, 222)))
    c.fill(poly([(9, 10.5), (17.5, 3), (17.5, 8), (9, 13)]), WHITE, alpha=0.35)
    c.fill(rrect(16.5, 2, 19.5, 30, 1.4), dark)
    c.fill(rect(17.4, 3, 18.6, 29), linear(0, 3, 0, 29, (190, 190, 198), (90, 90, 98)))
    wave = (20, 50, 150)
    for r in (5, 9, 13):
        c.fill(stroke(arc_pts(18.5, 16, r, r, -40, 40), 2.3), wave)
    return c


def pencil(c, tip, end, w):
    (tx, ty), (ex, ey) = tip, end
    L = math.hypot(ex - tx, ey - ty)
    ux, uy = (ex - tx) / L, (ey - ty) / L
    nx, ny = -uy, ux

    def P(a, b):
        return (tx + ux * a + nx * b, ty + uy * a + ny * b)
    h = w / 2
    dark = (50, 36, 20)
    out = [P(0, 0), P(5, -h), P(L - 2, -h), P(L, -h + 1), P(L, h - 1), P(L - 2, h), P(5, h)]
    c.fill(poly(inset(out, -0.9)), dark)
    c.fill(poly([P(5, -h), P(L - 5, -h), P(L - 5, h), P(5, h)]), (250, 200, 40))
    c.fill(poly([P(5, -h), P(L - 5, -h), P(L - 5, -h / 3), P(5, -h / 3)]), (255, 240, 150))
    c.fill(poly([P(5, h / 3), P(L - 5, h / 3), P(L - 5, h), P(5, h)]), (210, 140, 10))
    c.fill(poly([P(0, 0), P(5, -h), P(5, h)]), (235, 200, 150))
    c.fill(poly([P(0, 0), P(1.9, -h * 0.38), P(1.9, h * 0.38)]), (40, 40, 40))
    c.fill(poly([P(L - 5, -h), P(L - 2.5, -h), P(L - 2.5, h), P(L - 5, h)]),
           linear(*P(0, -h), *P(0, h), (240, 240, 245), (150, 150, 160)))
    c.fill(poly([P(L - 2.5, -h), P(L - 2, -h), P(L, -h + 1), P(L, h - 1), P(L - 2, h), P(L - 2.5, h)]),
           (240, 130, 150))


def tab_logging():
    c = Canvas(32, 32)
    edge = (70, 70, 80)
    c.fill(rect(3, 4, 24, 31), edge)
    c.fill(rect(4, 5, 23, 30), linear(4, 5, 23, 30, WHITE, (232, 232, 236)))
    c.fill(rect(4, 5, 23, 8), (40, 80, 170))
    c.fill(rect(4, 7.4, 23, 8), (20, 40, 110))
    for y in range(11, 30, 3):
        c.fill(rect(4, y, 23, y + 0.8), (150, 185, 235))
    c.fill(rect(7.5, 8, 8.3, 30), (235, 90, 90))
    for y, x1 in ((10.4, 19), (13.4, 16), (16.4, 20), (19.4, 14), (22.4, 18)):
        c.fill(rect(9.5, y - 1.3, x1, y), (60, 60, 70), alpha=0.85)
    for x in (7, 11, 15, 19):
        c.fill(stroke(arc_pts(x + 0.5, 4.5, 1.2, 2.6, 200, -20, 10), 1.1), (50, 50, 55))
    pencil(c, (16.5, 28.5), (29.5, 6.5), 4.4)
    return c


def tab_other():
    c = Canvas(32, 32)
    floppy(c, 3, 2, 29, 29)
    pts = [(17.5, 22.5), (21.5, 26.5), (29, 17)]
    c.fill(stroke(pts, 5.2), (0, 70, 0))
    c.fill(stroke(pts, 2.8), linear(17, 17, 29, 27, (110, 240, 90), (20, 170, 20)))
    return c


# ---------------------------------------------------------------------------
# Product logo: a shield bearing the drive and the warning triangle
# ---------------------------------------------------------------------------

def rounded(pts, r):
    """A convex polygon with its corners rounded off to radius r."""
    core = inset(pts, r)
    n = len(core)
    area = sum(core[i][0] * core[(i + 1) % n][1] - core[(i + 1) % n][0] * core[i][1]
               for i in range(n))
    sgn = 1 if area > 0 else -1
    out = []
    for i in range(n):
        p, v, q = core[i - 1], core[i], core[(i + 1) % n]
        a0 = math.atan2(-(v[0] - p[0]) * sgn, (v[1] - p[1]) * sgn)
        a1 = math.atan2(-(q[0] - v[0]) * sgn, (q[1] - v[1]) * sgn)
        da = (a1 - a0 + math.pi) % (2 * math.pi) - math.pi
        steps = max(2, int(abs(da) / 0.15))
        for k in range(steps + 1):
            a = a0 + da * k / steps
            out.append((v[0] + r * math.cos(a), v[1] + r * math.sin(a)))
    return out


def shield_outline():
    left, right, top, waist, tip = 7.0, 125.0, 5.0, 60.0, 135.0
    mid = (left + right) / 2
    pts = [(left, top), (right, top)]
    pts += cubic((right, waist), (right, waist + 38), (mid + 34, tip - 16), (mid, tip), 18)
    pts += cubic((mid, tip), (mid - 34, tip - 16), (left, waist + 38), (left, waist), 18)[1:]
    return rounded(pts, 5)


def logo():
    W, H = 132, 138
    c = Canvas(W, H)
    sh = shield_outline()
    c.fill(poly(sh), (14, 22, 60))
    rim = poly(inset(sh, 1.6))
    c.fill(rim, linear(10, 0, 122, 138, (255, 255, 255), (190, 196, 212),
                       (236, 240, 248), (150, 156, 175), (105, 110, 130)))
    c.fill(poly(inset(sh, 6.4)), (18, 30, 80))
    field_pts = inset(sh, 7.6)
    field = poly(field_pts)
    c.fill(field, linear(0, 10, 0, 128, (90, 150, 240), (35, 80, 190), (12, 32, 115)))
    fmask = c.mask(field)
    # soft glow behind the emblem, gloss on the upper left
    c.fill(poly([(0, 0), (132, 0), (132, 12), (0, 70)]), WHITE, alpha=0.12, clip=fmask)

    # the drive, seen a little from above
    x0, x1, yt, yf, yb = 26.0, 106.0, 69.0, 77.0, 103.0
    top_face = [(x0 + 6, yt), (x1 - 6, yt), (x1, yf), (x0, yf)]
    body = top_face[:2] + [(x1, yf), (x1, yb), (x0, yb), (x0, yf)]
    c.fill(shift(poly(body), 3, 3), (0, 0, 30), alpha=0.35, clip=fmask)
    edge = (40, 36, 30)
    c.fill(poly(rounded(inset(body, -1.3), 1.5)), edge)
    c.fill(poly(top_face), linear(0, yt, 0, yf, (250, 248, 238), (224, 218, 200)))
    c.fill(rect(x0, yf, x1, yb), linear(x0, yf, x0 + 20, yb + 40, (240, 235, 218), (214, 206, 184), (178, 170, 148)))
    c.fill(rect(x0, yf, x1, yf + 1.2), WHITE, alpha=0.9)
    c.fill(rect(x0, yb - 1.4, x1, yb), (150, 142, 122))
    # bezel groove and slot with its flap
    c.fill(rrect(x0 + 8, 81, x1 - 8, 92, 3), (160, 152, 130))
    c.fill(rrect(x0 + 9, 82, x1 - 9, 91, 2.4), linear(0, 82, 0, 91, (222, 216, 198), (240, 236, 222)))
    c.fill(rrect(x0 + 12, 84.2, x1 - 12, 88.2, 1.6), (18, 18, 22))
    c.fill(rect(x0 + 13, 88.2, x1 - 13, 89.1), WHITE, alpha=0.8)
    # the disk still sitting in it, label end showing
    c.fill(rect(46, 84.9, 86, 88.2), (40, 55, 130))
    c.fill(rect(51, 84.9, 81, 86.3), (235, 238, 245))
    # busy light and eject button
    c.fill(rrect(x0 + 6, 95, x0 + 16, 99.5, 1.2), (0, 70, 0))
    c.fill(rrect(x0 + 7, 96, x0 + 15, 98.5, 0.8), linear(0, 96, 0, 98.5, (160, 255, 140), (30, 200, 30)))
    c.fill(rrect(x1 - 21, 94, x1 - 5, 100.5, 2.2), (120, 112, 94))
    c.fill(rrect(x1 - 20, 94.8, x1 - 6, 99.6, 1.6), linear(0, 94.8, 0, 99.6, (252, 250, 242), (206, 198, 178)))

    # warning triangle, standing in front of the drive
    tri = [(66, 13), (103, 79), (29, 79)]
    c.fill(poly(rounded([(x + 3, y + 3) for x, y in tri], 6)), (0, 0, 30), alpha=0.35, clip=fmask)
    c.fill(poly(rounded(tri, 6)), (20, 16, 8))
    inner = rounded(inset(tri, 4.2), 3.5)
    c.fill(poly(inner), linear(50, 20, 85, 80, (255, 250, 150), (255, 214, 0), (235, 160, 0)))
    bar = [(60.5, 35), (71.5, 35), (68.6, 61), (63.4, 61)]
    c.fill(poly(rounded(bar, 2.6)), (20, 16, 8))
    c.fill(ellipse(66, 69, 4.2), (20, 16, 8))
    return c


# ---------------------------------------------------------------------------
# Maker's logo: a kestrel badge and the name in a hand-drawn stroke face
# ---------------------------------------------------------------------------

XH, CH = 12.5, 18.0        # x-height and capital height of the stroke face


def glyph(ch):
    """Centre lines of one letter (baseline at y = 0) and its width."""
    h = XH / 2
    if ch == "K":
        return [[(0, -CH), (0, 0)], [(11, -CH), (0.6, -CH * 0.4)],
                [(3.4, -CH * 0.57), (11.5, 0)]], 11.5
    if ch == "o":
        return [arc_pts(5.5, -h, 5.5, h, 0, 360, 48)], 11
    if ch == "e":
        return [[(0, -h), (11, -h)] + arc_pts(5.5, -h, 5.5, h, 0, 318, 42)], 11
    if ch == "s":
        r = XH / 4
        top = arc_pts(4.3, -3 * r, 4.3, r, 38, 270, 20)
        bot = arc_pts(4.3, -r, 4.3, r, 90, -142, 20)
        return [top + bot[1:]], 8.6
    if ch == "t":
        return [[(2.2, -CH * 0.86), (2.2, -2.6)] + arc_pts(4.8, -2.6, 2.6, 2.6, 180, 280, 8),
                [(-0.6, -XH), (6.2, -XH)]], 6.2
    if ch == "r":
        return [[(0, -XH), (0, 0)], arc_pts(5.2, -XH + 5.2, 5.2, 5.2, 180, 62, 14)], 7.6
    if ch == "m":
        r = 3.9
        return [[(0, -XH), (0, 0)],
                arc_pts(r, -XH + r, r, r, 180, 0, 16) + [(2 * r, 0)],
                arc_pts(3 * r, -XH + r, r, r, 180, 0, 16) + [(4 * r, 0)]], 4 * r
    raise KeyError(ch)


def text_shape(word, x, base, width, gap=4.3):
    glyphs = [glyph(ch) for ch in word]
    natural = sum(w for _, w in glyphs) + gap * (len(glyphs) - 1)
    k = width / natural
    shapes = []
    pen = x
    for strokes, w in glyphs:
        for st in strokes:
            shapes.append([(pen + px * k, base + py * k) for px, py in st])
        pen += (w + gap) * k
    return shapes, k


def kestrel(cx, cy, s, deg):
    """Silhouette of a kestrel seen from above, head up, as one polygon:
    long pointed wings, a small head and a long, slightly fanned tail."""
    half = [(0, -11.0), (1.3, -10.6), (2.0, -9.3), (1.8, -7.6), (2.8, -6.4),
            (5.5, -7.8), (8.5, -8.6), (12.0, -7.0), (15.0, -4.4), (17.5, -1.0),
            (14.0, -1.6), (11.0, -1.4), (8.0, -0.6), (5.0, 0.6), (2.8, 1.6),
            (2.2, 3.6), (2.5, 7.5), (3.4, 11.2), (2.4, 12.6), (1.0, 13.1), (0.0, 13.2)]
    pts = half + [(-x, y) for x, y in reversed(half[:-1])][:-1]
    t = math.radians(deg)
    co, si = math.cos(t), math.sin(t)
    return [(cx + (x * co - y * si) * s, cy + (x * si + y * co) * s) for x, y in pts]


BX, BY, BS, BDEG = 0.3, 0.8, 0.84, 25


def kestrome():
    W, H = 160, 40
    # A white plate with a thin frame reads as the maker's badge on any
    # button-face colour, classic grey or the lighter ones of later themes.
    c = Canvas(W, H, (255, 255, 255))
    c.box(0, 0, W - 1, 0, (128, 128, 128))
    c.box(0, H - 1, W - 1, H - 1, (128, 128, 128))
    c.box(0, 0, 0, H - 1, (128, 128, 128))
    c.box(W - 1, 0, W - 1, H - 1, (128, 128, 128))
    navy = (22, 38, 96)
    cx, cy = 20, 20
    c.fill(ellipse(cx + 1, cy + 1, 17.5), (128, 128, 128), alpha=0.6)
    c.fill(ellipse(cx, cy, 17.5), navy)
    c.fill(ellipse(cx, cy, 16.2), linear(8, 6, 32, 34, (60, 95, 180), (28, 48, 120), (14, 24, 70)))
    bird = kestrel(cx + BX, cy + BY, BS, BDEG)
    c.fill(poly(bird), linear(8, 6, 32, 34, (255, 205, 120), (240, 130, 35), (180, 75, 20)))
    strokes, k = text_shape("Kestrome", 45, 27.5, 110)
    c.fill(union(*[stroke(st, 2.7) for st in strokes]), navy)
    return c


# name: (width, height, bits per pixel, keyed)
EXPECTED = {
    "logo.bmp": (132, 138, 24, True),
    "kestrome.bmp": (160, 40, 8, False),
    "mi_settings.bmp": (16, 16, 24, True),
    "mi_helptopics.bmp": (16, 16, 24, True),
    "mi_howtousehelp.bmp": (16, 16, 4, True),
    "mi_about.bmp": (16, 16, 24, True),
    "mi_shutdown.bmp": (16, 16, 24, True),
    "mi_exit.bmp": (16, 16, 24, True),
    "tab_drives.bmp": (32, 32, 24, True),
    "tab_sound.bmp": (32, 32, 24, True),
    "tab_logging.bmp": (32, 32, 24, True),
    "tab_other.bmp": (32, 32, 24, True),
}


# The pictures drawn again at twice their size for the larger display
# scales, each with the colours its palette may hold: the program draws
# them down to 125 and 150 % and shows them as they are at 200 %.
LARGE_SCALE = 2.0
LARGE = {
    "logo": (lambda: logo(), 128), "kestrome": (lambda: kestrome(), 64),
    "mi_settings": (lambda: mi_settings(), 32), "mi_helptopics": (lambda: mi_helptopics(), 32),
    "mi_howtousehelp": (lambda: mi_howtousehelp(), 16), "mi_about": (lambda: mi_about(), 32),
    "mi_shutdown": (lambda: mi_shutdown(), 32), "mi_exit": (lambda: mi_exit(), 32),
    "tab_drives": (lambda: tab_drives(), 64), "tab_sound": (lambda: tab_sound(), 64),
    "tab_logging": (lambda: tab_logging(), 64), "tab_other": (lambda: tab_other(), 64),
}


def large_name(name):
    return "%s_%d.dfb" % (name, int(LARGE_SCALE * 100))


def deflated_bytes(c, colours):
    """A picture as the program inflates it (platform/PackedPicture.h): a
    BITMAPINFOHEADER of 8 bits with the palette's size, then one raw
    deflate stream of the palette (blue, green, red) and the pixels'
    indices, bottom row first, unpadded."""
    rgb = c.rgb()
    pal, idx = median_cut(rgb, colours, keep=tuple(dict.fromkeys((KEY, rgb[-c.w]))))
    rows = b"".join(bytes(idx[y * c.w:(y + 1) * c.w]) for y in range(c.h - 1, -1, -1))
    info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 8, 0, 0, 0, 0, len(pal), 0)
    z = zlib.compressobj(9, zlib.DEFLATED, -15, 9)
    return info + z.compress(b"".join(bytes((b, g, r)) for r, g, b in pal) + rows) + z.flush()


def check_large(outdir):
    for name in LARGE:
        data = open(os.path.join(outdir, large_name(name)), "rb").read()
        _hs, w, h, _p, bits, _c, _s, _x, _y, colours, _i = struct.unpack_from("<IiiHHIIiiII", data)
        plain = EXPECTED[name + ".bmp"]
        assert (w, h, bits) == (plain[0] * LARGE_SCALE, plain[1] * LARGE_SCALE, 8), name
        raw = zlib.decompress(data[40:], -15)
        assert len(raw) == 3 * colours + w * h and max(raw[3 * colours:]) < colours, name
        if plain[3]:
            i = raw[3 * colours]
            assert tuple(raw[3 * i:3 * i + 3][::-1]) == KEY, name + ": bottom-left is not the key"


def check(outdir):
    """Reads the written files back and checks their layout."""
    for name, (w, h, bpp, keyed) in EXPECTED.items():
        data = open(os.path.join(outdir, name), "rb").read()
        magic, size, _r1, _r2, off = struct.unpack_from("<2sIHHI", data, 0)
        hs, bw, bh, planes, bits, comp = struct.unpack_from("<IiiHHI", data, 14)
        stride = ((w * bpp + 31) // 32) * 4
        assert magic == b"BM" and size == len(data), name
        assert (hs, bw, bh, planes, bits, comp) == (40, w, h, 1, bpp, 0), name
        assert off == 54 + (4 << bpp if bpp <= 8 else 0), name
        assert len(data) == off + stride * h, name
        if name not in PLAIN:   # the stored copy that the program holds
            stored = open(os.path.join(outdir, stored_name(name)), "rb").read()
            assert stored_pixels(stored) == bmp_pixels(data)[2], name + ": stored pixels differ"
        if keyed:       # first stored row is the bottom one
            if bpp == 24:
                b, g, r = data[off:off + 3]
            else:
                i = data[off] >> 4
                b, g, r = data[54 + 4 * i:57 + 4 * i]
            assert (r, g, b) == KEY, name + ": bottom-left pixel is not the key colour"
    data = open(os.path.join(outdir, "dorvane.ico"), "rb").read()
    assert struct.unpack_from("<HHH", data, 0) == (0, 1, len(ICON_SIZES))
    for k, size in enumerate(ICON_SIZES):
        bw, bh, ncol, _res, planes, bits, length, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * k)
        assert (bw, bh, ncol, planes, bits) == (size, size, 16, 1, 4)
        hs, iw, ih, ipl, ibits = struct.unpack_from("<IiiHH", data, off)
        assert (hs, iw, ih, ipl, ibits) == (40, size, 2 * size, 1, 4)
        xor = ((size * 4 + 31) // 32) * 4 * size
        andm = ((size + 31) // 32) * 4 * size
        assert length == 40 + 64 + xor + andm and off + length <= len(data)


def main(outdir):
    os.makedirs(outdir, exist_ok=True)

    def save(name, data):
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(data)

    save("dorvane.ico", ico_bytes([(n, icon_at(n).indexed16()) for n in ICON_SIZES]))
    save("logo.bmp", bmp_bytes(132, 138, 24, logo().rgb()))
    pal, idx = median_cut(kestrome().rgb(), 256, keep=(FACE,))
    save("kestrome.bmp", bmp_bytes(160, 40, 8, idx, pal))
    for name, fn in (("mi_settings", mi_settings), ("mi_helptopics", mi_helptopics),
                     ("mi_about", mi_about), ("mi_shutdown", mi_shutdown),
                     ("mi_exit", mi_exit)):
        save(name + ".bmp", bmp_bytes(16, 16, 24, fn().rgb()))
    idx = [VGA16.index(KEY) if i is None else i for i in mi_howtousehelp().indexed16()]
    save("mi_howtousehelp.bmp", bmp_bytes(16, 16, 4, idx, VGA16))
    for name, fn in (("tab_drives", tab_drives), ("tab_sound", tab_sound),
                     ("tab_logging", tab_logging), ("tab_other", tab_other)):
        save(name + ".bmp", bmp_bytes(32, 32, 24, fn().rgb()))
    stored = [name for name in EXPECTED if name not in PLAIN]
    for name in stored:
        with open(os.path.join(outdir, name), "rb") as f:
            save(stored_name(name), stored_bytes(f.read()))
    global SCALE
    SCALE = LARGE_SCALE
    for name, (draw, colours) in LARGE.items():
        save(large_name(name), deflated_bytes(draw(), colours))
    SCALE = 1.0
    check(outdir)
    check_large(outdir)
    print("wrote %d files to %s" % (len(EXPECTED) + len(stored) + len(LARGE) + 1, outdir))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__)))
