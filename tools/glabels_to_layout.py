#!/usr/bin/env python3
"""Convert gLabels label-sheet templates into Cirquel catalogue records.

Reads the XML templates of the gLabels data package (a folder holding
paper-sizes.xml and *-templates.xml) and writes one
glabels-<stem>.layout file per templates file that yields records, e.g.
avery-us-templates.xml -> glabels-avery-us.layout.  The record form is
described in data/catalogue/README.

    tools/glabels_to_layout.py /tmp/glabels/usr/share/libglabels-3.0/templates

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
import unicodedata
import xml.etree.ElementTree as ET

MM_PER_UNIT = {
    "pt": 25.4 / 72.0,
    "": 25.4 / 72.0,  # gLabels' default unit is the point
    "in": 25.4,
    "mm": 1.0,
    "cm": 10.0,
    "pc": 25.4 / 6.0,  # pica = 12 pt
}

MAX_GROUPS = 6
MAX_UNITS = 250
MAX_LABEL = 31
TOLERANCE_MM = 0.5

# Labels already in the catalogue from other sources.
EXISTING_LABELS = (
    "A-ONE 29125", "Avery 2160", "Compulabel 312862", "Ace 177 series",
    "DYMO DiscPainter", "Alea Pingo Photo II Hockey", "Amtren FlexLabel",
    "UAL 565 series",
)

# Brands whose maker code is fixed, with the spelling the catalogue uses.
FIXED_BRANDS = {
    "a-one": ("A-ONE", "AAONE_"),
    "avery": ("Avery", "AVER_A"),
    "compulabel": ("Compulabel", "COMPU_"),
    "ace": ("Ace", "ACE___"),
    "dymo": ("DYMO", "DYMO__"),
    "alea": ("Alea", "ALEA__"),
    "amtren": ("Amtren", "AMTR__"),
    "ual": ("UAL", "UAL___"),
    "generic": ("Generic", "GENER_"),
}

# Spellings of gLabels brands that the catalogue writes another way, so that
# one maker is one brand.
BRAND_SPELLINGS = {
    "DataBecker": "Data Becker",
    "Fellows": "Fellowes",
    "Pressit": "PressIt",
    "Stomper": "CD Stomper",
}

# gLabels brands that name no maker (Russian: a country's business-card
# sizes). Their sheets are listed under Generic and labelled by what they are.
NOT_MAKERS = {"Russian"}

# Letters NFKD does not split into an ASCII letter plus accents.
TRANSLIT = {
    "ß": "ss", "Æ": "AE", "æ": "ae", "Ø": "O", "ø": "o", "Œ": "OE",
    "œ": "oe", "Ł": "L", "ł": "l", "Đ": "D", "đ": "d", "Þ": "Th",
    "þ": "th", "ı": "i", "ŀ": "l", "Ŀ": "L",
}

_LENGTH_RE = re.compile(r"^\s*([-+]?(?:(?:\d+\.?\d*|\.\d+)(?:e[-+]?\d+)?)?)\s*([a-z]*)\s*$")


class Skip(Exception):
    """A template that yields no record; the message is the counted reason."""


class Notes:
    """Counts of things worth telling the person running the script."""

    def __init__(self):
        self.counts = collections.Counter()

    def add(self, what):
        self.counts[what] += 1


def parse_length(text, notes=None):
    """A gLabels length ("12.5mm", "1in", "36" = points) in millimetres."""
    if text is None:
        return None
    m = _LENGTH_RE.match(text.lower())
    if not m or m.group(2) not in MM_PER_UNIT:
        raise Skip("unreadable length")
    number = m.group(1)
    if number in ("", "+", "-"):
        # gLabels reads a length without a number as 0.
        if notes is not None:
            notes.add("length without a number read as 0")
        return 0.0
    return float(number) * MM_PER_UNIT[m.group(2)]


def length_attr(elem, name, notes, default=None):
    value = parse_length(elem.get(name), notes)
    return default if value is None else value


def transliterate(text):
    """Printable ASCII spelling of text; drops what cannot be spelled."""
    out = []
    for ch in text:
        ch = TRANSLIT.get(ch, ch)
        for c in unicodedata.normalize("NFKD", ch):
            if 32 <= ord(c) < 127:
                out.append(c)
    return "".join(out)


def ascii_text(text):
    """Transliterated text that is safe inside a quoted record field."""
    s = transliterate(text)
    # Characters the record form reserves.
    s = s.replace('"', "'").replace("@", "at").replace("\\", "/")
    s = s.replace("(*", "(").replace("*)", ")")
    return " ".join(s.split())


def parse_xml(path):
    """Root of an XML file, with namespaces dropped from element names."""
    root = ET.parse(path).getroot()
    for elem in root.iter():
        if isinstance(elem.tag, str) and "}" in elem.tag:
            elem.tag = elem.tag.split("}", 1)[1]
    return root


def load_paper_sizes(folder):
    sizes = {}
    root = parse_xml(os.path.join(folder, "paper-sizes.xml"))
    for p in root.iter("Paper-size"):
        sizes[p.get("id")] = (parse_length(p.get("width")),
                              parse_length(p.get("height")))
    return sizes


def template_files(folder):
    return sorted(f for f in os.listdir(folder) if f.endswith("-templates.xml"))


def file_stem(name):
    return name[: -len("-templates.xml")]


class Template:
    def __init__(self, elem, filename, order):
        self.elem = elem
        self.filename = filename
        self.order = order
        self.brand = elem.get("brand", "").strip()
        self.brand = BRAND_SPELLINGS.get(self.brand, self.brand)
        self.part = elem.get("part", "").strip()
        self.equiv = elem.get("equiv")
        # What the label says after the brand.
        self.name = self.part
        if self.brand in NOT_MAKERS:
            self.brand = "Generic"
            desc = elem.get("_description") or elem.get("description") or ""
            self.name = (desc.strip().lower() + " " + self.part).strip()


def load_templates(folder):
    templates = []
    for name in template_files(folder):
        root = parse_xml(os.path.join(folder, name))
        for elem in root.iter("Template"):
            templates.append(Template(elem, name, len(templates)))
    return templates


def resolve(template, by_key):
    """Follow equiv references to the template that holds the geometry."""
    seen = set()
    t = template
    while t.equiv is not None:
        key = (t.brand, t.equiv.strip())
        if key in seen:
            raise Skip("equiv loop")
        seen.add(key)
        if key not in by_key:
            raise Skip("equiv names an unknown template")
        t = by_key[key]
    return t


def is_business_card(t, w, h):
    big, small = max(w, h), min(w, h)
    eps = 1e-6
    if 85.0 - eps <= big <= 91.0 + eps and 51.0 - eps <= small <= 55.0 + eps:
        return True
    for meta in t.elem.iter("Meta"):
        if meta.get("category") == "business-card":
            return True
    desc = t.elem.get("_description") or t.elem.get("description") or ""
    return "business card" in desc.lower()


def label_shape(t, label, notes):
    """(kind, width, height, meas1) of one label element, lengths in mm."""
    tag = label.tag
    if tag == "Label-rectangle":
        w = length_attr(label, "width", notes, 0.0)
        h = length_attr(label, "height", notes, 0.0)
        r = length_attr(label, "round", notes, 0.0)
        kind = "UNIT_VISITING" if is_business_card(t, w, h) else "UNIT_RECT"
        return kind, w, h, r
    if tag == "Label-round":
        d = 2.0 * length_attr(label, "radius", notes, 0.0)
        return "UNIT_CIRCLE", d, d, 0.0
    if tag == "Label-ellipse":
        w = length_attr(label, "width", notes, 0.0)
        h = length_attr(label, "height", notes, 0.0)
        return "UNIT_OVAL", w, h, 0.0
    if tag == "Label-cd":
        d = 2.0 * length_attr(label, "radius", notes, 0.0)
        hole = 2.0 * length_attr(label, "hole", notes, 0.0)
        w = length_attr(label, "width", notes, d)
        h = length_attr(label, "height", notes, d)
        clip_w, clip_h = w < d - 1e-6, h < d - 1e-6
        if clip_w and clip_h:
            return "UNIT_MINICD_RECT", w, h, hole
        if clip_h:
            return "UNIT_MINICD_HOCKEY", w, h, hole
        if clip_w:
            # Our hockey shape is cut at top and bottom; an upright one has no shape.
            raise Skip("upright business-card disc")
        # 8 cm discs; smaller discs (hub labels, rings) stay plain CDs.
        if 60.0 <= d < 90.0:
            return "UNIT_MINICD_RING", d, d, hole
        return "UNIT_CD", d, d, hole
    if tag in ("Label-continuous", "Label-path"):
        raise Skip(tag + " label")
    raise Skip("unknown label element " + tag)


def geometry(t, paper_sizes, notes):
    """Paper (w, h) and groups of a template that holds its own geometry."""
    size = t.elem.get("size")
    if size is None:
        raise Skip("no paper size")
    if size.lower() == "roll":
        raise Skip("roll paper")
    if size == "Other":
        pw = length_attr(t.elem, "width", notes)
        ph = length_attr(t.elem, "height", notes)
        if pw is None or ph is None:
            raise Skip("paper Other without width or height")
    elif size in paper_sizes:
        pw, ph = paper_sizes[size]
    else:
        raise Skip("unknown paper size")
    labels = [e for e in t.elem if e.tag.startswith("Label-")]
    if not labels:
        raise Skip("no label element")
    groups = []
    for label in labels:
        kind, w, h, meas1 = label_shape(t, label, notes)
        for lay in label.findall("Layout"):
            nx = int(lay.get("nx", "1"))
            ny = int(lay.get("ny", "1"))
            groups.append({
                "kind": kind, "nx": nx, "ny": ny,
                "left": length_attr(lay, "x0", notes, 0.0),
                "top": length_attr(lay, "y0", notes, 0.0),
                "width": w, "height": h,
                # A pitch along a single column or row means nothing in gLabels
                # but moves labels sideways in ours, so it is dropped.
                "dx": length_attr(lay, "dx", notes, 0.0) if nx > 1 else 0.0,
                "dy": length_attr(lay, "dy", notes, 0.0) if ny > 1 else 0.0,
                "meas1": meas1,
            })
    if not groups:
        raise Skip("no layout")
    if len(groups) > MAX_GROUPS:
        raise Skip("more than %d layouts" % MAX_GROUPS)
    groups = drop_repeated_groups(groups)
    check_sane(pw, ph, groups)
    check_apart(groups)
    mark_clobbering_discs(groups)
    return (pw, ph), groups


def drop_repeated_groups(groups):
    """gLabels repeats a layout for printed backs; ours would be two labels in one place."""
    kept = []
    for g in groups:
        if g not in kept:
            kept.append(g)
    return kept


DISC_KINDS = ("UNIT_CD", "UNIT_CIRCLE", "UNIT_MINICD_RING")


def unit_boxes(g):
    for c in range(g["nx"]):
        for r in range(g["ny"]):
            x, y = g["left"] + c * g["dx"], g["top"] + r * g["dy"]
            yield (x, y, x + g["width"], y + g["height"])


def check_apart(groups):
    """Labels of one sheet may not overlap (beyond the makers' rounding); round
    labels may share box corners as long as the circles stay apart."""
    units = [(g["kind"] in DISC_KINDS, b) for g in groups for b in unit_boxes(g)]
    for n, (round1, a) in enumerate(units):
        for round2, b in units[n + 1:]:
            if (min(a[2], b[2]) - max(a[0], b[0]) <= TOLERANCE_MM
                    or min(a[3], b[3]) - max(a[1], b[1]) <= TOLERANCE_MM):
                continue
            if round1 and round2:
                dist = math.hypot((a[0] + a[2] - b[0] - b[2]) / 2, (a[1] + a[3] - b[1] - b[3]) / 2)
                if dist >= (a[2] - a[0] + b[2] - b[0]) / 2 - TOLERANCE_MM:
                    continue
            raise Skip("labels overlap")


def mark_clobbering_discs(groups):
    """Round labels whose boxes overlap are clipped to their circle when printed."""
    boxes = [(i, b) for i, g in enumerate(groups) if g["kind"] in DISC_KINDS
             for b in unit_boxes(g)]
    for n, (i, a) in enumerate(boxes):
        for j, b in boxes[n + 1:]:
            if (a[0] < b[2] - TOLERANCE_MM and b[0] < a[2] - TOLERANCE_MM
                    and a[1] < b[3] - TOLERANCE_MM and b[1] < a[3] - TOLERANCE_MM):
                groups[i]["clobbers"] = groups[j]["clobbers"] = True


def check_sane(pw, ph, groups):
    if pw <= 0 or ph <= 0:
        raise Skip("paper without size")
    units = 0
    for g in groups:
        if g["nx"] < 1 or g["ny"] < 1:
            raise Skip("layout with nx or ny below 1")
        if g["width"] <= 0 or g["height"] <= 0:
            raise Skip("label without size")
        units += g["nx"] * g["ny"]
        xs = (g["left"], g["left"] + (g["nx"] - 1) * g["dx"])
        ys = (g["top"], g["top"] + (g["ny"] - 1) * g["dy"])
        if (min(xs) < -TOLERANCE_MM or min(ys) < -TOLERANCE_MM
                or max(xs) + g["width"] > pw + TOLERANCE_MM
                or max(ys) + g["height"] > ph + TOLERANCE_MM):
            raise Skip("label outside the sheet")
    if units > MAX_UNITS:
        raise Skip("more than %d labels on a sheet" % MAX_UNITS)


def canonical_brands(brands):
    """Map each brand spelling to one spelling per brand (case-insensitive)."""
    spellings = collections.defaultdict(collections.Counter)
    for b in brands:
        spellings[b.casefold()][b] += 1
    canon = {}
    for folded, counter in spellings.items():
        if folded in FIXED_BRANDS:
            best = FIXED_BRANDS[folded][0]
        else:
            best = sorted(counter.items(), key=lambda kv: (-kv[1], kv[0]))[0][0]
        for b in counter:
            canon[b] = best
    return canon


def maker_codes(brands):
    """One distinct six-character maker code per brand."""
    codes = {}
    used = {code for _, code in FIXED_BRANDS.values()}
    for brand in sorted(set(brands), key=lambda b: (b.casefold(), b)):
        if brand.casefold() in FIXED_BRANDS:
            codes[brand] = FIXED_BRANDS[brand.casefold()][1]
            continue
        letters = re.sub(r"[^A-Z0-9]", "", transliterate(brand).upper())
        base = (letters[:5] + "_____")[:5]
        code = base + "_"
        digit = 1
        while code in used:
            if digit > 9:
                raise SystemExit("too many brands sharing maker code " + base)
            code = base[:4] + str(digit) + "_"
            digit += 1
        used.add(code)
        codes[brand] = code
    return codes


def product_code(part):
    s = re.sub(r"[^A-Z0-9]", "", transliterate(part).upper())
    if s.isdigit():
        s = s.zfill(6)
    return (s + "______")[:6]


def unique_key(key, taken):
    """key, or key with its last character replaced so that it is unused."""
    if key not in taken:
        return key
    for c in "123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ":
        alt = key[:-1] + c
        if alt not in taken:
            return alt
    raise SystemExit("no free sort key near " + key)


def make_label(brand, part, taken):
    """Unique label of at most 31 characters; None when none can be made."""
    b = ascii_text(brand).replace(" ", "_")
    p = ascii_text(part)
    for n in range(1, 100):
        suffix = "" if n == 1 else " (%d)" % n
        room = MAX_LABEL - len(b) - 1 - len(suffix)
        if room < 1:
            return None
        label = (b + " " + p[:room].rstrip() + suffix).rstrip()
        if label.casefold() not in taken:
            return label
    return None


def fmt(x):
    s = "%.4f" % x
    return "0.0000" if s == "-0.0000" else s


def format_group(g):
    flags = " UNIT_CLOBBERS " if g.get("clobbers") else "  "
    return ("{ %s, a_unit_flag_set {%s}, %d, %d, (* BBOX *) %s, %s, %s, %s, "
            "(* PITCH *) %s, %s, (* BLEED *) 0.0000, 0.0000, 0.0000, 0.0000, "
            "(* MEAS *) %s, 0.0000, 0.0000, 0.0000 }") % (
        g["kind"], flags, g["nx"], g["ny"], fmt(g["left"]), fmt(g["top"]),
        fmt(g["width"]), fmt(g["height"]), fmt(g["dx"]), fmt(g["dy"]),
        fmt(g["meas1"]))


def format_record(key, label, paper, groups):
    lines = [
        "(* LAYOUT Version 4.00 *)",
        '{ "%s", "%s", BOTH, a_template_flag_set {  },  (* paper *) '
        "{ %s, %s }, %d," % (key, label, fmt(paper[0]), fmt(paper[1]),
                             len(groups)),
    ]
    items = [format_group(g) for g in groups]
    items += ["EMPTY_UNIT"] * (MAX_GROUPS - len(groups))
    body = []
    for i, g in enumerate(groups):
        body.append(("{" if i == 0 else "") + items[i] + ",")
    rest = items[len(groups):]
    if rest:
        body.append(", ".join(rest) + " }},")
    else:
        body[-1] = body[-1][:-1] + "}},"
    return "\n".join(lines + body) + "\n"


def convert(folder):
    """Records per output stem, skip counts and notes."""
    notes = Notes()
    skipped = collections.Counter()
    paper_sizes = load_paper_sizes(folder)
    templates = load_templates(folder)
    by_key = {}
    for t in templates:
        if (t.brand, t.part) in by_key:
            continue
        by_key[(t.brand, t.part)] = t

    done = set()
    converted = []
    for t in templates:
        if (t.brand, t.part) in done:
            skipped["template defined twice"] += 1
            continue
        done.add((t.brand, t.part))
        try:
            source = resolve(t, by_key)
            paper, groups = geometry(source, paper_sizes, notes)
        except Skip as why:
            reason = str(why)
            if t.equiv is not None:
                reason += " (equiv)"
            skipped[reason] += 1
            continue
        converted.append((t, paper, groups))

    canon = canonical_brands(t.brand for t, _, _ in converted)
    codes = maker_codes(canon.values())
    taken = {label.casefold() for label in EXISTING_LABELS}
    keys = set()
    out = collections.defaultdict(list)
    for t, paper, groups in converted:
        brand = canon[t.brand]
        if brand != t.brand:
            notes.add("brand %s written as %s" % (t.brand, brand))
        label = make_label(brand, t.name, taken)
        if label is None:
            skipped["no unique label"] += 1
            continue
        if label != ascii_text(brand).replace(" ", "_") + " " + ascii_text(t.name):
            notes.add("label shortened or numbered")
        taken.add(label.casefold())
        key = unique_key(codes[brand] + product_code(t.part), keys)
        if key != codes[brand] + product_code(t.part):
            notes.add("sort key changed in its last character to be unique")
        keys.add(key)
        out[file_stem(t.filename)].append((key, label, paper, groups))
    for records in out.values():
        records.sort(key=lambda r: (r[0], r[1]))
    return out, skipped, notes


def write_layouts(out, outdir, source_name):
    os.makedirs(outdir, exist_ok=True)
    for name in sorted(os.listdir(outdir)):
        if name.startswith("glabels-") and name.endswith(".layout"):
            os.remove(os.path.join(outdir, name))
    for stem in sorted(out):
        path = os.path.join(outdir, "glabels-%s.layout" % stem)
        with open(path, "w", encoding="ascii", newline="\n") as f:
            f.write("(* Generated by tools/glabels_to_layout.py from %s "
                    "%s-templates.xml. Do not edit. *)\n" % (source_name, stem))
            for key, label, paper, groups in out[stem]:
                f.write(format_record(key, label, paper, groups))


def summary(out, skipped, notes):
    records = [r for recs in out.values() for r in recs]
    lines = ["records written: %d in %d files" % (len(records), len(out))]
    kinds = collections.Counter(g["kind"] for r in records for g in r[3])
    lines.append("brands: %d" % len({r[1].split(" ")[0] for r in records}))
    for kind, n in sorted(kinds.items()):
        lines.append("  groups %s: %d" % (kind, n))
    lines.append("skipped: %d" % sum(skipped.values()))
    for reason, n in sorted(skipped.items()):
        lines.append("  %s: %d" % (reason, n))
    for what, n in sorted(notes.counts.items()):
        lines.append("note: %s: %d" % (what, n))
    return "\n".join(lines)


def main(argv=None):
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("templates", help="folder holding paper-sizes.xml and "
                    "*-templates.xml of gLabels")
    ap.add_argument("--out", default=os.path.join(here, "..", "data",
                                                  "catalogue"),
                    help="folder for the .layout files (default: %(default)s)")
    ap.add_argument("--source", default="glabels-data 3.4.1-4",
                    help="package named in the file headers")
    args = ap.parse_args(argv)
    out, skipped, notes = convert(args.templates)
    write_layouts(out, os.path.normpath(args.out), args.source)
    print(summary(out, skipped, notes))
    return 0


if __name__ == "__main__":
    sys.exit(main())
