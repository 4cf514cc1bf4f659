#!/usr/bin/env python3
"""Check the label-stock catalogue records in data/catalogue/*.layout.

Parses every record by the grammar of data/catalogue/README, expands each
group the way the program does, and reports `file:line: message` for
malformed records, duplicate labels, units outside their sheet, measures that
do not fit their unit and brands split into several runs.  Prints counts by
brand and by unit kind.  Exit status 1 when anything was reported.

Usage: check_layout.py [--quiet] [FILE_OR_DIR ...]   (default: data/catalogue)
"""

import argparse
import collections
import math
import os
import re
import sys

UNIT_KINDS = (
    "UNIT_EMPTY UNIT_CIRCLE UNIT_OVAL UNIT_RECT UNIT_VISITING UNIT_VISITING2 "
    "UNIT_CD UNIT_CD_CORE UNIT_CD_WALLET UNIT_MINICD_RING UNIT_MINICD_HOCKEY "
    "UNIT_MINICD_RECT UNIT_MINICD_LID1 UNIT_MINICD_LID2 UNIT_JEWEL_LID1 "
    "UNIT_JEWEL_LID2 UNIT_JEWEL_LID3 UNIT_JEWEL_SLIMLINE UNIT_JEWEL_SPINE "
    "UNIT_JEWEL_BASE UNIT_SUPER_BASE UNIT_SUPER_DVD_BASE UNIT_SUPER_INSERT2 "
    "UNIT_DVDBOX_INSERT UNIT_DVDBOX_INSERT2 UNIT_DVDBOX_WRAP UNIT_AUDIO_FACE "
    "UNIT_AUDIO_SPINE UNIT_AUDIO_JCARD UNIT_AUDIO_BOX UNIT_DAT_FACE "
    "UNIT_DAT_SPINE UNIT_DAT_JCARD UNIT_VHS_FACE UNIT_VHS_SPINE UNIT_VHS_WRAP "
    "UNIT_VHS_THIRD UNIT_VHS_SLEEVE UNIT_BETACAM_FACE UNIT_BETACAM_SPINE "
    "UNIT_BETACAM_INSERT UNIT_UMATIC_FACE UNIT_UMATIC_SPINE UNIT_UMATIC_INSERT "
    "UNIT_MINIDV_FACE UNIT_MINIDV_SPINE UNIT_MINIDV_INSERT UNIT_DVCAM_FACE "
    "UNIT_DVCAM_SPINE UNIT_DVCAM_INSERT UNIT_DVCPRO_FACE UNIT_DVCPRO_SPINE "
    "UNIT_DVCPRO_INSERT UNIT_STATUS UNIT_HI8_FACE UNIT_HI8_JCARD UNIT_MD_FACEL "
    "UNIT_MD_FACE UNIT_MD_SPINE UNIT_8MM_FACE UNIT_8MM_SPINE UNIT_FLOPPY "
    "UNIT_LAMINATED UNIT_VIDEOTITLE UNIT_XDCAM_INSERT UNIT_XDCAM_FACE "
    "UNIT_VCD_WRAP UNIT_D5_SPINE UNIT_D5_INSERT UNIT_BLURAY_WRAP").split()

TEMPLATE_FLAGS = frozenset(
    "IS_CDPRINTER IS_LANDSCAPE IS_PITCHBETWEEN IS_INCHES IS_CLIPPINGPRINTER "
    "IS_DYMO_MONET IS_LIGHTSCRIBE IS_SHOWNOPAPER IS_FLEXSTICK IS_FLEXLABEL".split())

UNIT_FLAGS = frozenset(
    "UNIT_FLIPX UNIT_FLIPY UNIT_ROTATE90 UNIT_ROTATE180 UNIT_ROTATE270 "
    "UNIT_STAGGERED UNIT_SHORTODD UNIT_CROPMARKS UNIT_CLOBBERS UNIT_NOTINDEXED "
    "UNIT_PERIMETERBLEED UNIT_PERIMETERPLUSH UNIT_PERIMETERPLUSV".split())

PLATFORMS = frozenset(("BOTH", "MAC", "WIN"))
DIRECT_KINDS = frozenset(
    ("UNIT_CD", "UNIT_MINICD_RING", "UNIT_MINICD_HOCKEY", "UNIT_MINICD_RECT"))

# Shapes whose measures can be checked against the unit box.
RING = {"UNIT_CD", "UNIT_CD_CORE", "UNIT_MINICD_RING"}
BOOKLET = {"UNIT_VISITING2", "UNIT_CD_WALLET", "UNIT_MINICD_LID2",
           "UNIT_JEWEL_LID2", "UNIT_SUPER_INSERT2", "UNIT_DVDBOX_INSERT2",
           "UNIT_DVDBOX_WRAP", "UNIT_VHS_WRAP", "UNIT_VCD_WRAP",
           "UNIT_BLURAY_WRAP"}
MULTIPART = {"UNIT_JEWEL_LID3", "UNIT_AUDIO_JCARD", "UNIT_DAT_JCARD",
             "UNIT_VHS_THIRD", "UNIT_VHS_SLEEVE", "UNIT_BETACAM_INSERT",
             "UNIT_UMATIC_INSERT", "UNIT_MINIDV_INSERT", "UNIT_DVCAM_INSERT",
             "UNIT_DVCPRO_INSERT", "UNIT_HI8_JCARD", "UNIT_XDCAM_INSERT",
             "UNIT_D5_INSERT"}
ROUNDRECT = {"UNIT_RECT", "UNIT_VISITING", "UNIT_AUDIO_BOX", "UNIT_DAT_FACE",
             "UNIT_DAT_SPINE", "UNIT_VHS_FACE", "UNIT_VHS_SPINE",
             "UNIT_BETACAM_FACE", "UNIT_BETACAM_SPINE", "UNIT_UMATIC_FACE",
             "UNIT_UMATIC_SPINE", "UNIT_MINIDV_FACE", "UNIT_MINIDV_SPINE",
             "UNIT_DVCAM_FACE", "UNIT_DVCAM_SPINE", "UNIT_DVCPRO_FACE",
             "UNIT_DVCPRO_SPINE", "UNIT_STATUS", "UNIT_HI8_FACE",
             "UNIT_MD_FACEL", "UNIT_MD_FACE", "UNIT_MD_SPINE", "UNIT_8MM_FACE",
             "UNIT_8MM_SPINE", "UNIT_LAMINATED", "UNIT_VIDEOTITLE"}

TOLERANCE = 0.5      # mm a unit may reach past its sheet
MAXNUNITS = 250
NGROUPS = 6
SORT_MAX = 12
LABEL_MAX = 31

TOKEN_RE = re.compile(r'''
    (?P<ws>\s+)
  | (?P<comment>\(\*.*?\*\))
  | (?P<string>"[^"\n]*")
  | (?P<number>[-+]?(?:\d+\.\d*|\.\d+|\d+))
  | (?P<name>[A-Za-z_][A-Za-z0-9_]*)
  | (?P<punct>[{},])
''', re.VERBOSE | re.DOTALL)


class LayoutError(Exception):
    def __init__(self, line, message):
        super().__init__(message)
        self.line = line
        self.message = message


class Token:
    __slots__ = ("kind", "text", "line")

    def __init__(self, kind, text, line):
        self.kind, self.text, self.line = kind, text, line


def tokenize(text):
    tokens, pos, line = [], 0, 1
    while pos < len(text):
        m = TOKEN_RE.match(text, pos)
        if not m:
            if text.startswith("(*", pos):
                raise LayoutError(line, "unterminated comment")
            raise LayoutError(line, "unexpected character %r" % text[pos])
        kind = m.lastgroup
        if kind not in ("ws", "comment"):
            tokens.append(Token(kind, m.group(), line))
        line += m.group().count("\n")
        pos = m.end()
    return tokens


class Group:
    __slots__ = ("line", "kind", "flags", "nx", "ny", "box", "pitch",
                 "bleed", "meas")


class Record:
    __slots__ = ("file", "line", "sort", "label", "platform", "tflags",
                 "paper", "nunits", "groups")

    @property
    def brand(self):
        return self.label.split(" ", 1)[0]


class Parser:
    def __init__(self, tokens):
        self.tokens, self.pos = tokens, 0

    def peek(self):
        return self.tokens[self.pos] if self.pos < len(self.tokens) else None

    def next(self, what):
        tok = self.peek()
        if tok is None:
            last = self.tokens[-1].line if self.tokens else 1
            raise LayoutError(last, "end of file where %s was expected" % what)
        self.pos += 1
        return tok

    def expect(self, text):
        tok = self.next(repr(text))
        if tok.text != text:
            raise LayoutError(tok.line, "expected %r, found %r" % (text, tok.text))
        return tok

    def string(self, what):
        tok = self.next(what)
        if tok.kind != "string":
            raise LayoutError(tok.line, "expected %s string, found %r" % (what, tok.text))
        return tok.text[1:-1]

    def number(self, what, integer=False):
        tok = self.next(what)
        if tok.kind != "number" or (integer and not re.fullmatch(r"\d+", tok.text)):
            kind = "a whole number" if integer else "a number"
            raise LayoutError(tok.line, "expected %s for %s, found %r" % (kind, what, tok.text))
        return int(tok.text) if integer else float(tok.text)

    def name(self, allowed, what):
        tok = self.next(what)
        if tok.kind != "name" or tok.text not in allowed:
            raise LayoutError(tok.line, "unknown %s %r" % (what, tok.text))
        return tok.text

    def flag_set(self, set_name, allowed, what):
        self.expect(set_name)
        self.expect("{")
        flags = []
        if self.peek() is not None and self.peek().text == "}":
            self.pos += 1
            return flags
        while True:
            tok = self.peek()
            flag = self.name(allowed, what)
            if flag in flags:
                raise LayoutError(tok.line, "%s %s given twice" % (what, flag))
            flags.append(flag)
            if self.next("',' or '}'").text == "}":
                return flags
            if self.tokens[self.pos - 1].text != ",":
                raise LayoutError(self.tokens[self.pos - 1].line,
                                  "expected ',' or '}' in %s set" % what)

    def group(self):
        tok = self.peek()
        if tok is not None and tok.text == "EMPTY_UNIT":
            self.pos += 1
            return None
        g = Group()
        g.line = self.expect("{").line
        g.kind = self.name(UNIT_KINDS, "unit kind")
        self.expect(",")
        g.flags = self.flag_set("a_unit_flag_set", UNIT_FLAGS, "unit flag")
        self.expect(",")
        g.nx = self.number("nx", integer=True)
        self.expect(",")
        g.ny = self.number("ny", integer=True)
        vals = []
        for what in ("box left", "box top", "box width", "box height",
                     "pitch x", "pitch y", "bleed left", "bleed top",
                     "bleed right", "bleed bottom", "meas1", "meas2", "meas3", "meas4"):
            self.expect(",")
            vals.append(self.number(what))
        self.expect("}")
        g.box, g.pitch, g.bleed, g.meas = vals[0:4], vals[4:6], vals[6:10], vals[10:14]
        return g

    def record(self):
        r = Record()
        r.line = self.expect("{").line
        r.sort = self.string("sort key")
        self.expect(",")
        r.label = self.string("label")
        self.expect(",")
        r.platform = self.name(PLATFORMS, "platform")
        self.expect(",")
        r.tflags = self.flag_set("a_template_flag_set", TEMPLATE_FLAGS, "template flag")
        self.expect(",")
        self.expect("{")
        w = self.number("paper width")
        self.expect(",")
        h = self.number("paper height")
        self.expect("}")
        r.paper = (w, h)
        self.expect(",")
        tok = self.peek()
        r.nunits = self.number("number of groups", integer=True)
        if not 1 <= r.nunits <= NGROUPS:
            raise LayoutError(tok.line, "number of groups %d is not 1 to %d" % (r.nunits, NGROUPS))
        self.expect(",")
        self.expect("{")
        r.groups = [self.group()]
        for _ in range(NGROUPS - 1):
            self.expect(",")
            r.groups.append(self.group())
        self.expect("}")
        self.expect("}")
        tok = self.peek()
        if tok is not None and tok.text == ",":
            self.pos += 1
        return r


def parse_text(text, filename="<text>"):
    """Returns the records of one layout file; raises LayoutError."""
    parser = Parser(tokenize(text))
    records = []
    while parser.peek() is not None:
        rec = parser.record()
        rec.file = filename
        records.append(rec)
    return records


def expand_group(g, tflags):
    """The unit boxes (left, top, right, bottom) in mm that group g yields."""
    scale = 25.4 if "IS_INCHES" in tflags else 1.0
    left, top, width, height = (v * scale for v in g.box)
    px, py = (v * scale for v in g.pitch)
    if "IS_PITCHBETWEEN" in tflags:
        netx, nety = px + width, py + height
    else:
        netx, nety = px, py
    staggered = "UNIT_STAGGERED" in g.flags
    cells = []
    if "UNIT_SHORTODD" in g.flags:
        for row in range(1, g.ny + 1):
            for col in range(1, (g.nx - 1 if row % 2 == 0 else g.nx) + 1):
                cells.append((col, row))
    else:
        cells = [(col, row) for col in range(1, g.nx + 1) for row in range(1, g.ny + 1)]
    boxes = []
    for col, row in cells:
        dx, dy = (col - 1) * netx, (row - 1) * nety
        if staggered:
            x = left + 2 * dx + (netx if row % 2 == 0 else 0.0)
        elif g.nx == 1 and px != 0:
            x = left + (row - 1) * netx
        else:
            x = left + dx
        y = top + dy
        boxes.append((x, y, x + width, y + height))
    return boxes


def measure_problems(g, scale):
    """Measures that cannot belong to a unit of this box."""
    w, h = g.box[2] * scale, g.box[3] * scale
    m = [v * scale for v in g.meas]
    k = g.kind
    out = []
    if k in RING:
        if not 0 <= m[0] < min(w, h):
            out.append("centre hole %.2f mm does not fit a %.2f mm disc" % (m[0], w))
        if m[1] and not m[0] < m[1] < min(w, h):
            out.append("hub ring %.2f mm is not between the hole and the edge" % m[1])
        if abs(w - h) > 0.01:
            out.append("disc box %.2f x %.2f mm is not square" % (w, h))
    elif k in BOOKLET:
        if not 0 <= m[0] < w:
            out.append("spine %.2f mm does not fit a %.2f mm wide booklet" % (m[0], w))
    elif k in MULTIPART:
        panels = []
        for v in m[:3]:
            if v == 0:
                break
            panels.append(v)
        if not panels:
            out.append("multipart unit without a first panel width")
        elif sum(panels) > w + 0.01:
            out.append("panels %.2f mm are wider than the unit (%.2f mm)" % (sum(panels), w))
    elif k == "UNIT_JEWEL_SLIMLINE":
        if not 0 < m[0] < w:
            out.append("fold %.2f mm is not inside the insert" % m[0])
    elif k == "UNIT_JEWEL_BASE":
        if not 0 < 2 * m[0] < w:
            out.append("spines of %.2f mm do not fit a %.2f mm tray card" % (m[0], w))
    elif k == "UNIT_MINICD_HOCKEY":
        if not 0 <= m[0] < h or h > w:
            out.append("hockey disc %.2f x %.2f mm with hole %.2f mm" % (w, h, m[0]))
    elif k == "UNIT_MINICD_RECT":
        if not 0 <= m[0] < min(w, h) or not 0 <= 2 * m[1] <= min(w, h):
            out.append("card disc %.2f x %.2f mm with hole %.2f, corner %.2f mm"
                       % (w, h, m[0], m[1]))
    elif k == "UNIT_AUDIO_FACE":
        if m[2] > w or m[1] + m[3] > h or m[2] <= 0 or m[3] <= 0:
            out.append("tape window %.2f x %.2f mm at %.2f does not fit the face"
                       % (m[2], m[3], m[1]))
    elif k in ROUNDRECT:
        if not 0 <= 2 * m[0] <= min(w, h):
            out.append("corner radius %.2f mm is too large for the unit" % m[0])
    return out


ROUND = RING | {"UNIT_CIRCLE"}
OVERLAP = 0.5        # mm two units may share (makers round their pitches)


def overlap_problems(placed, at):
    """Units of one sheet must not overlap; discs whose boxes overlap must be
    clipped to their circle (UNIT_CLOBBERS) so that neither paints the other."""
    for i, (g1, (l1, t1, r1, b1)) in enumerate(placed):
        for g2, (l2, t2, r2, b2) in placed[i + 1:]:
            if min(r1, r2) - max(l1, l2) <= OVERLAP or min(b1, b2) - max(t1, t2) <= OVERLAP:
                continue
            if g1.kind in ROUND and g2.kind in ROUND:
                dist = math.hypot((l1 + r1 - l2 - r2) / 2, (t1 + b1 - t2 - b2) / 2)
                if dist >= (r1 - l1 + r2 - l2) / 2 - OVERLAP:  # the circles themselves are apart
                    if "UNIT_CLOBBERS" in g1.flags and "UNIT_CLOBBERS" in g2.flags:
                        continue
                    at(g2.line, "discs at (%.2f, %.2f) and (%.2f, %.2f) mm have overlapping "
                       "boxes but not UNIT_CLOBBERS" % (l1, t1, l2, t2))
                    return
            at(g2.line, "%s at (%.2f, %.2f) overlaps %s at (%.2f, %.2f) mm"
               % (g2.kind, l2, t2, g1.kind, l1, t1))
            return


def check_record(rec, report):
    """Reports the faults of one record that need no other record."""
    def at(line, msg):
        report(rec.file, line, msg)

    if not rec.sort or len(rec.sort) > SORT_MAX or not rec.sort.isascii() or " " in rec.sort:
        at(rec.line, "sort key %r is not 1 to %d ASCII characters without spaces"
           % (rec.sort, SORT_MAX))
    if not rec.label or len(rec.label) > LABEL_MAX or not rec.label.isascii():
        at(rec.line, "label %r is not 1 to %d ASCII characters" % (rec.label, LABEL_MAX))
    if rec.platform != "BOTH":
        at(rec.line, "platform %s: built-in records are for both platforms" % rec.platform)
    if rec.sort.startswith("-") != (rec.brand == "@A"):
        at(rec.line, "only plain-paper (@A) records have sort keys beginning with '-'")
    pw, ph = rec.paper
    if pw <= 0 or ph <= 0:
        at(rec.line, "paper size %.2f x %.2f mm" % rec.paper)
        return 0
    frame_w, frame_h = (ph, pw) if "IS_LANDSCAPE" in rec.tflags else (pw, ph)
    scale = 25.4 if "IS_INCHES" in rec.tflags else 1.0
    considered = rec.groups[:rec.nunits]
    for g in rec.groups[rec.nunits:]:
        if g is not None:
            at(g.line, "group beyond the %d considered is not EMPTY_UNIT" % rec.nunits)
    total = 0
    placed = []
    for g in considered:
        if g is None:
            continue
        if g.kind == "UNIT_EMPTY" or g.nx == 0 or g.ny == 0:
            if not (g.kind == "UNIT_EMPTY" and g.nx * g.ny == 0):
                at(g.line, "%s group with %d x %d units" % (g.kind, g.nx, g.ny))
            continue
        if g.box[2] <= 0 or g.box[3] <= 0:
            at(g.line, "unit size %g x %g" % (g.box[2], g.box[3]))
            continue
        if min(g.bleed) < 0:
            at(g.line, "negative bleed")
        if "UNIT_SHORTODD" in g.flags and g.nx < 2:
            at(g.line, "UNIT_SHORTODD needs at least two columns")
        for msg in measure_problems(g, scale):
            at(g.line, msg)
        boxes = expand_group(g, rec.tflags)
        total += len(boxes)
        placed.extend((g, box) for box in boxes)
        for n, (l, t, r, b) in enumerate(boxes, 1):
            if "IS_CDPRINTER" in rec.tflags:
                break  # tray positions are the printer's, and may reach past the nominal tray
            if l < -TOLERANCE or t < -TOLERANCE or r > frame_w + TOLERANCE or b > frame_h + TOLERANCE:
                at(g.line, "unit %d of %s (%.2f, %.2f)-(%.2f, %.2f) mm is outside the "
                   "%.2f x %.2f mm sheet" % (n, g.kind, l, t, r, b, frame_w, frame_h))
                break
    if total == 0:
        at(rec.line, "record has no units")
    if total <= MAXNUNITS:
        overlap_problems(placed, at)
    if total > MAXNUNITS:
        at(rec.line, "%d units, more than %d" % (total, MAXNUNITS))
    if "IS_CDPRINTER" in rec.tflags:
        first = next((g for g in considered if g is not None and g.kind != "UNIT_EMPTY"), None)
        if first is None or first.kind not in DIRECT_KINDS:
            at(rec.line, "a disc-printer tray must start with a disc unit")
    if all(g is None or g.kind == "UNIT_EMPTY" or "UNIT_NOTINDEXED" in g.flags
           for g in considered):
        at(rec.line, "every group is UNIT_NOTINDEXED: the record is never listed")
    return total


def check_catalogue(records, report):
    """Reports faults between records: duplicates and split brand runs."""
    labels, pairs = {}, {}
    for rec in records:
        where = "%s:%d" % (rec.file, rec.line)
        if (rec.sort, rec.label) in pairs:
            report(rec.file, rec.line, "sort key and label %r %r already at %s"
                   % (rec.sort, rec.label, pairs[(rec.sort, rec.label)]))
        else:
            pairs[(rec.sort, rec.label)] = where
            if rec.label in labels:
                report(rec.file, rec.line, "label %r already at %s" % (rec.label, labels[rec.label]))
        labels.setdefault(rec.label, where)
    # The chooser lists a brand once per run of the sorted list.
    ordered = sorted(records, key=lambda r: (r.sort.encode(), r.label.encode()))
    seen, prev = {}, None
    for rec in ordered:
        if rec.brand != prev:
            if rec.brand in seen:
                report(rec.file, rec.line, "brand %s starts a second run in sort order "
                       "(first run at %s)" % (rec.brand, seen[rec.brand]))
            else:
                seen[rec.brand] = "%s:%d" % (rec.file, rec.line)
            prev = rec.brand


def layout_files(paths):
    files = []
    for p in paths:
        if os.path.isdir(p):
            files.extend(os.path.join(p, n) for n in sorted(os.listdir(p)) if n.endswith(".layout"))
        else:
            files.append(p)
    return files


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("paths", nargs="*")
    ap.add_argument("--quiet", action="store_true", help="print only the faults")
    args = ap.parse_args(argv)
    paths = args.paths or [os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                        "..", "data", "catalogue")]
    faults = []

    def report(file, line, msg):
        faults.append("%s:%d: %s" % (file, line, msg))

    records = []
    for name in layout_files(paths):
        try:
            with open(name, encoding="ascii", newline="") as f:
                text = f.read()
        except (OSError, UnicodeDecodeError) as e:
            report(name, 1, "cannot read: %s" % e)
            continue
        try:
            records.extend(parse_text(text, name))
        except LayoutError as e:
            report(name, e.line, e.message)
    kinds, brands, units = collections.Counter(), collections.Counter(), 0
    for rec in records:
        units += check_record(rec, report)
        brands[rec.brand] += 1
        for g in rec.groups[:rec.nunits]:
            if g is not None and g.kind != "UNIT_EMPTY":
                kinds[g.kind] += 1
    check_catalogue(records, report)
    for line in faults:
        print(line, file=sys.stderr)
    if not args.quiet:
        print("%d records, %d units, %d brands" % (len(records), units, len(brands)))
        print("\nRecords by brand:")
        for b, n in sorted(brands.items(), key=lambda kv: kv[0].lower()):
            print("  %-24s %4d" % (b, n))
        print("\nGroups by unit kind:")
        for k in UNIT_KINDS[1:]:
            print("  %-22s %4d" % (k, kinds[k]))
        missing = [k for k in UNIT_KINDS[1:] if not kinds[k]]
        print("\nKinds without a record: %s" % (" ".join(missing) or "none"))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
