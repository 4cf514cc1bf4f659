"""Tests of tools/check_layout.py.  Run: python3 -m unittest discover -s tests/tools"""

import os
import sys
import unittest

TOP = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(TOP, "tools"))
import check_layout as cl  # noqa: E402


def group(kind="UNIT_CD", flags="", nx=1, ny=1, box=(0, 0, 10, 10), pitch=(0, 0),
          bleed=(0, 0, 0, 0), meas=(0, 0, 0, 0)):
    nums = ", ".join("%g" % v for v in (*box, *pitch, *bleed, *meas))
    return "{ %s, a_unit_flag_set { %s }, %d, %d, %s }" % (kind, flags, nx, ny, nums)


def record(groups, sort="TEST__000001", label="Test 1", tflags="", paper=(210, 297)):
    groups = list(groups)
    n = len(groups)
    groups += ["EMPTY_UNIT"] * (6 - n)
    return '{ "%s", "%s", BOTH, a_template_flag_set { %s }, { %g, %g }, %d,\n{%s }},\n' % (
        sort, label, tflags, paper[0], paper[1], n, ",\n".join(groups))


def faults_of(*texts):
    out = []
    records = []
    for i, t in enumerate(texts):
        records += cl.parse_text(t, "f%d" % i)
    for r in records:
        cl.check_record(r, lambda f, line, m: out.append((f, line, m)))
    cl.check_catalogue(records, lambda f, line, m: out.append((f, line, m)))
    return out


def boxes_of(text):
    rec = cl.parse_text(text)[0]
    return [tuple(round(v, 2) for v in b) for g in rec.groups if g for b in cl.expand_group(g, rec.tflags)]


class Expansion(unittest.TestCase):
    def test_pitch_between_adds_the_unit_size(self):
        text = record([group(ny=2, box=(15, 15, 118, 118), pitch=(0, 30), meas=(41, 0, 0, 0))],
                      tflags="IS_PITCHBETWEEN", paper=(148, 296))
        self.assertEqual(boxes_of(text), [(15, 15, 133, 133), (15, 163, 133, 281)])
        self.assertEqual(faults_of(text), [])

    def test_staggered_short_odd_rows_in_inches(self):
        text = record([group("UNIT_CD_CORE", "UNIT_STAGGERED, UNIT_SHORTODD", 3, 5,
                             (0.687, 0.604, 1.29, 1.29), (1.457, 0.7435), (2, 2, 2, 2),
                             (0.669291, 0, 0, 0))], tflags="IS_INCHES", paper=(215.9, 279.4))
        boxes = boxes_of(text)
        self.assertEqual(len(boxes), 13)
        self.assertEqual([b[0] for b in boxes[:5]], [17.45, 91.47, 165.48, 54.46, 128.47])
        self.assertAlmostEqual(boxes[3][1] - boxes[0][1], 18.885, places=2)
        self.assertEqual(faults_of(text), [])

    def test_single_column_with_horizontal_pitch_moves_each_row(self):
        text = record([group("UNIT_RECT", nx=1, ny=3, box=(0, 0, 80, 50), pitch=(70, 60))])
        self.assertEqual([b[0] for b in boxes_of(text)], [0, 70, 140])
        self.assertIn("outside", faults_of(text)[0][2])


class Parsing(unittest.TestCase):
    def test_comments_and_crlf_between_tokens(self):
        text = ("(* LAYOUT Version 4.00 *)\r\n" +
                record([group(box=(1, 1, 10, 10), meas=(3, 0, 0, 0))]).replace(",", ", (* c *)\r\n", 3))
        rec = cl.parse_text(text)[0]
        self.assertEqual((rec.sort, rec.label, rec.line), ("TEST__000001", "Test 1", 2))

    def test_errors_name_the_line(self):
        good = record([group(meas=(3, 0, 0, 0))])
        cases = [
            (good + good.replace("UNIT_CD,", "UNIT_DISC,"), 9, "unknown unit kind"),
            (good.replace("a_unit_flag_set {  }", "a_unit_flag_set { UNIT_FLIPX UNIT_FLIPY }"),
             2, "expected ',' or '}'"),
            (good.replace(",\nEMPTY_UNIT }}", " }}"), 6, "expected ','"),
            (good.replace("{ 210, 297 }, 1", "{ 210, 297 }, 7"), 1, "number of groups"),
            (good + "(* open", 8, "unterminated comment"),
        ]
        for text, line, words in cases:
            with self.subTest(words=words):
                with self.assertRaises(cl.LayoutError) as ctx:
                    cl.parse_text(text)
                self.assertEqual(ctx.exception.line, line)
                self.assertIn(words, ctx.exception.message)


class SheetBounds(unittest.TestCase):
    def test_inches_scale_geometry_but_not_bleed(self):
        fits = record([group("UNIT_RECT", box=(0, 0, 8.5, 11), bleed=(20, 20, 20, 20))],
                      tflags="IS_INCHES", paper=(215.9, 279.4))
        self.assertEqual(faults_of(fits), [])
        too_tall = fits.replace(" 11, ", " 11.05, ")
        self.assertIn("outside", faults_of(too_tall)[0][2])

    def test_landscape_turns_the_frame(self):
        wrap = group("UNIT_DVDBOX_WRAP", box=(12, 13.5, 273, 183), meas=(14, 0, 0, 0))
        self.assertEqual(faults_of(record([wrap], tflags="IS_LANDSCAPE")), [])
        self.assertIn("outside", faults_of(record([wrap]))[0][2])

    def test_tolerance_is_half_a_millimetre(self):
        ok = record([group("UNIT_RECT", box=(-0.4, 0, 210.8, 297.4))])
        bad = record([group("UNIT_RECT", box=(-0.6, 0, 10, 10))])
        self.assertEqual(faults_of(ok), [])
        self.assertEqual(len(faults_of(bad)), 1)

    def test_too_many_units(self):
        text = record([group("UNIT_RECT", nx=16, ny=16, box=(0, 0, 5, 5), pitch=(6, 6))])
        self.assertTrue(any("256 units" in m for _, _, m in faults_of(text)))


class Overlaps(unittest.TestCase):
    def test_discs_with_overlapping_boxes_need_clobbers(self):
        def sheet(flags):
            return record([group(flags=flags, box=(3, 3, 116, 116), meas=(41, 0, 0, 0)),
                           group(flags=flags, box=(91, 90.5, 116, 116), meas=(41, 0, 0, 0))])
        self.assertIn("UNIT_CLOBBERS", faults_of(sheet(""))[0][2])
        self.assertEqual(faults_of(sheet("UNIT_CLOBBERS")), [])

    def test_overlapping_discs_and_rectangles(self):
        discs = record([group(box=(0, 0, 100, 100), meas=(41, 0, 0, 0)),
                        group(box=(60, 60, 100, 100), meas=(41, 0, 0, 0), flags="UNIT_CLOBBERS")])
        rects = record([group("UNIT_RECT", nx=2, box=(0, 0, 50, 20), pitch=(45, 0))])
        self.assertIn("overlaps", faults_of(discs)[0][2])
        self.assertIn("overlaps", faults_of(rects)[0][2])


class Measures(unittest.TestCase):
    def test_measures_must_fit_the_unit(self):
        cases = [
            ("UNIT_CD", (10, 10), (12, 0, 0, 0), "centre hole"),
            ("UNIT_CD", (10, 10), (4, 3, 0, 0), "hub ring"),
            ("UNIT_JEWEL_BASE", (151, 118), (80, 0, 0, 0), "spines"),
            ("UNIT_AUDIO_JCARD", (101.6, 101.6), (63.5, 40, 0, 0), "panels"),
            ("UNIT_AUDIO_FACE", (89, 42), (0, 30, 58, 18), "tape window"),
            ("UNIT_MINICD_RECT", (85, 55), (22, 30, 0, 0), "card disc"),
        ]
        for kind, size, meas, words in cases:
            with self.subTest(kind=kind, words=words):
                out = faults_of(record([group(kind, box=(0, 0) + size, meas=meas)]))
                self.assertEqual(len(out), 1)
                self.assertIn(words, out[0][2])

    def test_printer_tray_starts_with_a_disc(self):
        text = record([group("UNIT_RECT", box=(0, 0, 10, 10))], tflags="IS_CDPRINTER")
        self.assertIn("disc unit", faults_of(text)[0][2])


class Catalogue(unittest.TestCase):
    def test_duplicates_across_files(self):
        a = record([group(meas=(3, 0, 0, 0))])
        b = record([group(meas=(3, 0, 0, 0))], sort="TEST__000002")
        out = faults_of(a, a.replace('"Test 1"', '"Test 2"'), b)
        self.assertEqual([(f, m.split(" ")[0]) for f, _, m in out], [("f2", "label")])
        out = faults_of(a, a)
        self.assertIn("sort key and label", out[0][2])

    def test_brand_split_into_two_runs(self):
        recs = [record([group(meas=(3, 0, 0, 0))], sort=s, label=l) for s, l in
                (("AAAAA_000001", "Alpha 1"), ("BBBBB_000001", "Beta 1"), ("CCCCC_000001", "Alpha 2"))]
        out = faults_of("".join(recs))
        self.assertEqual(len(out), 1)
        self.assertIn("second run", out[0][2])

    def test_shipped_catalogue_is_clean(self):
        self.assertEqual(cl.main(["--quiet", os.path.join(TOP, "data", "catalogue")]), 0)


if __name__ == "__main__":
    unittest.main()
