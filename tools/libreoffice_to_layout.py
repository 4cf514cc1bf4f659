#!/usr/bin/env python3
"""Convert LibreOffice's label database into Cirquel catalogue records.

Reads labels.xml of the LibreOffice data package (each label a line of
columns, rows, pitches, margins, label and paper size in 1/100 mm) and writes
one libreoffice-<brand>.layout file per brand into the catalogue folder.
Sheets the gLabels conversion already has (same brand and part) are left out,
so the other catalogue files are read first.  The record form is described in
data/catalogue/README.

    tools/libreoffice_to_layout.py /tmp/lo/usr/lib/libreoffice/share/labels/labels.xml

Standard library only; run by developers, not by the build.  The output does
not depend on anything but the input files, so running it twice gives the
same bytes.
"""

import argparse
import collections
import math
import os
import re
import sys
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_layout  # noqa: E402
import glabels_to_layout as gl  # noqa: E402

# LibreOffice's manufacturer groups: the brand as the catalogue spells it and
# its maker code (the codes the gLabels conversion gives the same brands).
MAKERS = {
    "A-one": ("A-ONE", "AAONE_"),
    "Avery A4": ("Avery", "AVER_A"),
    "Avery A4/Asia": ("Avery", "AVER_A"),
    "Avery Letter Size": ("Avery", "AVER_A"),
    "Avery Zweckform": ("Zweckform", "ZWECK_"),
    "DAISO": ("Daiso", "DAISO_"),
    "HISAGO": ("Hisago", "HISAG_"),
    "Herma A4": ("Herma", "HERMA_"),
    "Herma A5": ("Herma", "HERMA_"),
    "Herma endlos": ("Herma", "HERMA_"),
    "Leitz": ("Leitz", "LEITZ_"),
    "SANWA SUPPLY": ("Sanwa", "SANWA_"),
    "Sigel": ("Sigel", "SIGEL_"),
    "Tower": ("Tower", "TOWER_"),
}

CD_HOLE_MM = 41.0          # the hole of an ordinary CD/DVD label
FULL_FACE_HOLE_MM = 17.0   # full-face labels reach in to the hub
MINI_HOLE_MM = 18.0        # 8 cm discs and business-card discs
JEWEL_SPINE_MM = 6.5       # each spine of a jewel-case tray card

_CD = r"(?:\bcd|dvd)"
FULL_FACE_RE = re.compile(r"full ?face|super-?s+ize|maxi|vollfl", re.I)
ROUND_RE = re.compile(r"\b(?:round|circle|kreis\w*|rund\w*)\b", re.I)


class Entry:
    """One <label> of labels.xml, lengths in millimetres."""

    def __init__(self, maker, name, measure):
        self.maker = maker
        self.name = " ".join(name.split())
        f = measure.split(";")
        if len(f) != 11:
            raise gl.Skip("measure without 11 fields")
        self.continuous = f[0] != "S"
        try:
            v = [int(x) / 100.0 for x in f[1:7]] + [int(f[7]), int(f[8])] + \
                [int(x) / 100.0 for x in f[9:11]]
        except ValueError:
            raise gl.Skip("unreadable measure")
        (self.dx, self.dy, self.width, self.height, self.left, self.top,
         self.nx, self.ny, self.pw, self.ph) = v

    @property
    def part(self):
        """The maker's part number: the first word when it has a digit."""
        first = self.name.split(" ", 1)[0]
        return first if re.search(r"\d", first) else self.name


def load_entries(path):
    entries, skipped = [], collections.Counter()
    root = ET.parse(path).getroot()
    for m in root.iter("manufacturer"):
        maker = m.get("name", "")
        for label in m.findall("label"):
            try:
                e = Entry(maker, label.findtext("name", ""), label.findtext("measure", ""))
            except gl.Skip as why:
                skipped[str(why)] += 1
                continue
            if maker not in MAKERS:
                skipped["unknown manufacturer"] += 1
            elif e.continuous:
                skipped["continuous label"] += 1
            else:
                entries.append(e)
    return entries, skipped


def near(x, lo, hi):
    return lo - 1e-6 <= x <= hi + 1e-6


def classify(name, w, h):
    """(kind, measures) of a label from its description and size in mm; the
    description only names a kind where the size fits that kind."""
    low = name.lower()
    big, small = max(w, h), min(w, h)
    cd = re.search(_CD, low) is not None
    if re.search(r"business ?card|visitenkarte", low) and cd:
        if near(w, 76, 86) and near(h, 54, 61):
            return "UNIT_MINICD_HOCKEY", (MINI_HOLE_MM, 0, 0, 0)
    elif re.search(r"mini[- ]?cd", low):
        if abs(w - h) < 0.5 and near(w, 76, 82):
            return "UNIT_MINICD_RING", (MINI_HOLE_MM, 0, 0, 0)
    elif re.search(r"mini ?dis[ck]", low) and not re.search(r"h\u00fclle|case", low):
        if near(w, 34, 39) and near(h, 50, 53):
            return "UNIT_MD_FACE", (0, 0, 0, 0)
        if near(small, 3, 4) and near(big, 50, 53):
            return "UNIT_MD_SPINE", (0, 0, 0, 0)
    elif cd and re.search(r"spine|r\u00fccken|h\u00fcllen|box", low):
        if near(big, 110, 120) and near(small, 4, 7):
            return "UNIT_JEWEL_SPINE", (0, 0, 0, 0)
    elif cd and re.search(r"cover|insert|einleger|inlay|tray", low):
        if near(w, 118, 122) and near(h, 115, 122) and not re.search(r"tray", low):
            return "UNIT_JEWEL_LID1", (0, 0, 0, 0)
        if near(w, 148, 152) and near(h, 115, 119):
            return "UNIT_JEWEL_BASE", (JEWEL_SPINE_MM, 0, 0, 0)
    elif cd:
        if abs(w - h) < 0.5 and near(w, 110, 120):
            hole = FULL_FACE_HOLE_MM if FULL_FACE_RE.search(low) else CD_HOLE_MM
            return "UNIT_CD", (hole, 0, 0, 0)
    elif re.search(r"audio|cassette", low) and not re.search(r"video|einleger", low):
        if near(w, 88, 90) and near(h, 41, 43):
            # Tape window: as on the catalogue's own cassette faces.
            return "UNIT_AUDIO_FACE", (0, 14, 58, 18)
    elif re.search(r"video", low) and not re.search(r"vhs-c|mini|einleger", low):
        if near(w, 76, 80) and near(h, 45, 48):
            return "UNIT_VHS_FACE", (0, 0, 0, 0)
        if near(w, 140, 150) and near(h, 15, 21):
            return "UNIT_VHS_SPINE", (0, 0, 0, 0)
    elif re.search(r"\bzip", low):
        if near(w, 57, 62) and near(h, 49, 52):
            return "UNIT_FLOPPY", (0, 0, 0, 0)
    elif re.search(r"disk|diskette", low) and not re.search(r"magneto|super ?disk|5[-.,]\d|5\.25", low):
        if near(w, 66, 72) and near(h, 50, 73):
            return "UNIT_FLOPPY", (0, 0, 0, 0)
    if ROUND_RE.search(low) and abs(w - h) < 0.01:
        return "UNIT_CIRCLE", (0, 0, 0, 0)
    if (near(big, 85, 91) and near(small, 51, 55)) or re.search(
            r"business ?card|visitenkarte|card\(business\)", low):
        return "UNIT_VISITING", (0, 0, 0, 0)
    return "UNIT_RECT", (0, 0, 0, 0)


def to_record(e):
    """(paper, landscape, [group]) of one entry; a sheet fed long side first
    is stored upright with its labels on the turned frame."""
    kind, meas = classify(e.name, e.width, e.height)
    g = {"kind": kind, "nx": e.nx, "ny": e.ny, "left": e.left, "top": e.top,
         "width": e.width, "height": e.height,
         # A pitch along a single column or row would move labels sideways.
         "dx": e.dx if e.nx > 1 else 0.0, "dy": e.dy if e.ny > 1 else 0.0,
         "meas": meas}
    landscape = e.pw > e.ph
    paper = (e.ph, e.pw) if landscape else (e.pw, e.ph)
    return paper, landscape, [g]


def boxes(g):
    for c in range(g["nx"]):
        for r in range(g["ny"]):
            x, y = g["left"] + c * g["dx"], g["top"] + r * g["dy"]
            yield (x, y, x + g["width"], y + g["height"])


def check_sheet(paper, landscape, groups):
    fw, fh = (paper[1], paper[0]) if landscape else paper
    units = [b for g in groups for b in boxes(g)]
    if not units or any(g["width"] <= 0 or g["height"] <= 0 or g["nx"] < 1 or g["ny"] < 1
                        for g in groups):
        raise gl.Skip("label without size")
    if len(units) > gl.MAX_UNITS:
        raise gl.Skip("more than %d labels on a sheet" % gl.MAX_UNITS)
    tol = gl.TOLERANCE_MM
    for l, t, r, b in units:
        if l < -tol or t < -tol or r > fw + tol or b > fh + tol:
            raise gl.Skip("label outside the sheet")
    for n, a in enumerate(units):
        for b in units[n + 1:]:
            if min(a[2], b[2]) - max(a[0], b[0]) > tol and min(a[3], b[3]) - max(a[1], b[1]) > tol:
                raise gl.Skip("labels overlap")


def signature(paper, landscape, groups, shapes=True):
    """What makes two sheets the same: paper, frame and every unit's box, and
    with shapes its kind and measures, to 0.1 mm."""
    units = sorted(((g["kind"],) + tuple(round(v, 1) + 0.0 for v in g["meas"]) if shapes else ())
                   + tuple(round(v, 1) + 0.0 for v in b)
                   for g in groups for b in boxes(g))
    return (round(paper[0], 1), round(paper[1], 1), landscape, tuple(units))


def record_signature(rec, shapes=True):
    """signature() of a record read by check_layout."""
    groups = []
    for g in rec.groups[:rec.nunits]:
        if g is None or g.kind == "UNIT_EMPTY":
            continue
        scale = 25.4 if "IS_INCHES" in rec.tflags else 1.0
        meas = [v * scale for v in g.meas]
        for l, t, r, b in check_layout.expand_group(g, rec.tflags):
            groups.append({"kind": g.kind, "nx": 1, "ny": 1, "left": l, "top": t,
                           "width": r - l, "height": b - t, "dx": 0, "dy": 0,
                           "meas": meas})
    return signature(rec.paper, "IS_LANDSCAPE" in rec.tflags, groups, shapes)


def same_boxes(a, b):
    """Whether two box-only signatures are one sheet, to the makers' rounding."""
    if a[:3] != b[:3] or len(a[3]) != len(b[3]):
        return False
    tol = gl.TOLERANCE_MM
    return all(any(all(abs(x - y) <= tol for x, y in zip(u, v)) for v in b[3]) for u in a[3])


def names_a_part(label):
    """Whether a label names a maker's part or model (a word after the brand
    with a digit in it) rather than only describing the sheet.  One brand may
    sell one sheet under several part numbers, but may not list a sheet under
    a description and also under another name."""
    return any(re.search(r"\d", w) for w in label.split(" ")[1:])


def part_key(part):
    return re.sub(r"\s+", "", part).casefold()


def merge_pieces(entries):
    """Entries of one part that describe pieces of one sheet (a CD and its
    spines, a cover and its tray) become one record when they fit together;
    otherwise each keeps a record of its own."""
    records, seen = [], set()
    for e in entries:
        paper, landscape, groups = to_record(e)
        key = (paper, landscape, repr(groups))
        if key in seen:
            continue
        seen.add(key)
        for rec in records:
            if rec[0] == paper and rec[1] == landscape and len(rec[2]) < gl.MAX_GROUPS:
                try:
                    check_sheet(paper, landscape, rec[2] + groups)
                except gl.Skip:
                    continue
                rec[2].extend(groups)
                break
        else:
            records.append((paper, landscape, list(groups)))
    return records


def read_catalogue(folder):
    """The catalogue's other records, as check_layout reads them."""
    records = []
    for name in sorted(os.listdir(folder)):
        if name.endswith(".layout") and not name.startswith("libreoffice-"):
            with open(os.path.join(folder, name), encoding="ascii") as f:
                records += check_layout.parse_text(f.read(), name)
    return records


def convert(labels_xml, catalogue):
    """Records per brand, skip counts and the parts gLabels gives otherwise."""
    entries, skipped = load_entries(labels_xml)
    known_parts = {}                       # (brand, part) -> signature, from gLabels
    by_sheet = {}                          # (brand, signature) -> all name a part
    taken_labels = {r.label.casefold() for r in catalogue}
    taken_keys = {r.sort for r in catalogue}
    for r in catalogue:
        sig = record_signature(r)
        by_sheet[(r.brand, sig)] = by_sheet.get((r.brand, sig), True) and names_a_part(r.label)
        if r.file.startswith("glabels-") and " " in r.label:
            known_parts[(r.brand, part_key(r.label.split(" ", 1)[1]))] = \
                record_signature(r, shapes=False)
    for maker, (brand, code) in MAKERS.items():
        owner = {r.sort[:6] for r in catalogue if r.brand == brand}
        if owner - {code}:
            raise SystemExit("brand %s has maker code %s in the catalogue, not %s"
                             % (brand, ",".join(sorted(owner)), code))

    parts = collections.OrderedDict()
    for e in entries:
        brand = MAKERS[e.maker][0]
        parts.setdefault((brand, part_key(e.part)), []).append(e)

    out = collections.defaultdict(list)
    disagree = []
    for (brand, pkey), group in parts.items():
        sheets = merge_pieces(group)
        if (brand, pkey) in known_parts:
            if any(same_boxes(signature(*s, shapes=False), known_parts[(brand, pkey)])
                   for s in sheets):
                skipped["already converted from gLabels"] += 1
            else:
                skipped["gLabels has the part with other geometry"] += 1
                disagree.append("%s %s" % (brand, group[0].part))
            continue
        code = MAKERS[group[0].maker][1]
        for paper, landscape, groups in sheets:
            try:
                check_sheet(paper, landscape, groups)
            except gl.Skip as why:
                skipped[str(why)] += 1
                continue
            label = gl.make_label(brand, group[0].part, taken_labels)
            if label is None:
                skipped["no unique label"] += 1
                continue
            sig = signature(paper, landscape, groups)
            if (brand, sig) in by_sheet and not (by_sheet[(brand, sig)] and names_a_part(label)):
                skipped["same sheet of the brand under another name"] += 1
                continue
            by_sheet[(brand, sig)] = names_a_part(label)
            taken_labels.add(label.casefold())
            key = gl.unique_key(code + gl.product_code(group[0].part), taken_keys)
            taken_keys.add(key)
            out[brand].append((key, label, paper, landscape, groups))
    for records in out.values():
        records.sort(key=lambda r: (r[0], r[1]))
    return out, skipped, disagree


def format_group(g):
    m = g["meas"]
    return ("{ %s, a_unit_flag_set {  }, %d, %d, (* BBOX *) %s, %s, %s, %s, "
            "(* PITCH *) %s, %s, (* BLEED *) 0.0000, 0.0000, 0.0000, 0.0000, "
            "(* MEAS *) %s, %s, %s, %s }") % (
        g["kind"], g["nx"], g["ny"], gl.fmt(g["left"]), gl.fmt(g["top"]),
        gl.fmt(g["width"]), gl.fmt(g["height"]), gl.fmt(g["dx"]), gl.fmt(g["dy"]),
        gl.fmt(m[0]), gl.fmt(m[1]), gl.fmt(m[2]), gl.fmt(m[3]))


def format_record(key, label, paper, landscape, groups):
    flags = " IS_LANDSCAPE " if landscape else "  "
    items = [format_group(g) for g in groups]
    items += ["EMPTY_UNIT"] * (gl.MAX_GROUPS - len(groups))
    return ('(* LAYOUT Version 4.00 *)\n{ "%s", "%s", BOTH, a_template_flag_set {%s},  '
            "(* paper *) { %s, %s }, %d,\n{%s }},\n") % (
        key, label, flags, gl.fmt(paper[0]), gl.fmt(paper[1]), len(groups),
        ",\n".join(items))


def file_name(brand):
    return "libreoffice-%s.layout" % re.sub(r"[^a-z0-9]+", "-", brand.lower()).strip("-")


def write_layouts(out, outdir, source_name):
    for name in sorted(os.listdir(outdir)):
        if name.startswith("libreoffice-") and name.endswith(".layout"):
            os.remove(os.path.join(outdir, name))
    for brand in sorted(out):
        with open(os.path.join(outdir, file_name(brand)), "w", encoding="ascii",
                  newline="\n") as f:
            f.write("(* Generated by tools/libreoffice_to_layout.py from %s "
                    "labels.xml. Do not edit. *)\n" % source_name)
            for rec in out[brand]:
                f.write(format_record(*rec))


def summary(out, skipped, disagree):
    records = [r for recs in out.values() for r in recs]
    lines = ["records written: %d in %d files" % (len(records), len(out))]
    for brand in sorted(out):
        lines.append("  %s: %d" % (brand, len(out[brand])))
    kinds = collections.Counter(g["kind"] for r in records for g in r[4])
    for kind, n in sorted(kinds.items()):
        lines.append("  groups %s: %d" % (kind, n))
    lines.append("skipped: %d" % sum(skipped.values()))
    for reason, n in sorted(skipped.items()):
        lines.append("  %s: %d" % (reason, n))
    if disagree:
        lines.append("kept as gLabels has them: " + ", ".join(sorted(disagree)))
    return "\n".join(lines)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("labels", help="LibreOffice's share/labels/labels.xml")
    ap.add_argument("--out", default=os.path.join(HERE, "..", "data", "catalogue"),
                    help="the catalogue folder (default: %(default)s)")
    ap.add_argument("--source", default="libreoffice-common 7.4.7-1+deb12u14",
                    help="package named in the file headers")
    args = ap.parse_args(argv)
    outdir = os.path.normpath(args.out)
    out, skipped, disagree = convert(args.labels, read_catalogue(outdir))
    write_layouts(out, outdir, args.source)
    print(summary(out, skipped, disagree))
    return 0


if __name__ == "__main__":
    sys.exit(main())
