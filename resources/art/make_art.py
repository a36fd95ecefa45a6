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


def rotate(shape, cx, cy, deg):
    t = math.radians(deg)
    c, s = math.cos(t), math.sin(t)
    return xform(shape, lambda x, y: (cx + (x - cx) * c - (y - cy) * s,
                                      cy + (x - cx) * s + (y - cy) * c))


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

class Canvas:
    def __init__(self, w, h, bg=None):
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
        cov = coverage(shape, self.w, self.h, aa)
        for i, c in enumerate(cov):
            if c <= 1e-6:
                continue
            if clip is not None:
                c *= clip[i]
            x, y = i % self.w, i // self.w
            col = paint if isinstance(paint, tuple) else paint(x + 0.5, y + 0.5)
            self.blend(i, col, min(c, 1.0) * alpha)

    def mask(self, shape, aa=True):
        return [min(1.0, c) for c in coverage(shape, self.w, self.h, aa)]

    def put(self, x, y, col, a=1.0):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.blend(y * self.w + x, col, a)

    def hline(self, x0, x1, y, col, a=1.0):
        for x in range(x0, x1 + 1):
            self.put(x, y, col, a)

    def vline(self, x, y0, y1, col, a=1.0):
        for y in range(y0, y1 + 1):
            self.put(x, y, col, a)

    def box(self, x0, y0, x1, y1, col, a=1.0):
        """Inclusive pixel rectangle."""
        for y in range(y0, y1 + 1):
            self.hline(x0, x1, y, col, a)

    def clear(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y * self.w + x] = [0.0, 0.0, 0.0, 0.0]

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
