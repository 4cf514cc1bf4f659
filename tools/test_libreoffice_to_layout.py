"""Tests of tools/libreoffice_to_layout.py over the made-up sheets in
tools/testdata/libreoffice-labels.xml, against a one-record catalogue.

Run: python3 -m unittest tools/test_libreoffice_to_layout.py
"""

import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import check_layout as cl  # noqa: E402
import libreoffice_to_layout as lo  # noqa: E402

XML = os.path.join(HERE, "testdata", "libreoffice-labels.xml")

# What gLabels gives: L7160 as LibreOffice has it, L7161 with another pitch.
GLABELS = """(* LAYOUT Version 4.00 *)
{ "AVER_AL7160_", "Avery L7160", BOTH, a_template_flag_set {  }, { 210, 297 }, 1,
{{ UNIT_RECT, a_unit_flag_set {  }, 3, 7, 7.2, 15.15, 63.5, 38.1, 63.5, 38.1, 0, 0, 0, 0, 0, 0, 0, 0 },
EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT }},
{ "AVER_AL7161_", "Avery L7161", BOTH, a_template_flag_set {  }, { 210, 297 }, 1,
{{ UNIT_RECT, a_unit_flag_set {  }, 3, 6, 7.2, 15.15, 63.5, 40, 66, 40, 0, 0, 0, 0, 0, 0, 0, 0 },
EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT, EMPTY_UNIT }},
"""


class Converted(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.catalogue = cl.parse_text(GLABELS, "glabels-avery.layout")
        cls.out, cls.skipped, cls.disagree = lo.convert(XML, cls.catalogue)
        cls.records = {r[1]: r for recs in cls.out.values() for r in recs}

    def groups(self, label):
        return self.records[label][4]

    def test_disc_and_packaging_kinds_follow_description_and_size(self):
        full, plain = self.groups("Avery J9001")[0], self.groups("Avery J9002")[0]
        self.assertEqual((full["kind"], full["meas"][0]), ("UNIT_CD", lo.FULL_FACE_HOLE_MM))
        self.assertEqual((plain["kind"], plain["meas"][0]), ("UNIT_CD", lo.CD_HOLE_MM))
        self.assertEqual(self.groups("Avery J9006")[0]["kind"], "UNIT_CIRCLE")
        self.assertEqual(self.groups("Avery J9007")[0]["kind"], "UNIT_MINICD_HOCKEY")
        # Face and spines of one part are one sheet; the Asian copy adds nothing.
        self.assertEqual([g["kind"] for g in self.groups("Avery J9003")],
                         ["UNIT_VHS_FACE", "UNIT_VHS_SPINE"])
        self.assertNotIn("Avery J9003 (2)", self.records)
        for label, (key, _, paper, landscape, groups) in self.records.items():
            for g in groups:
                rec = cl.parse_text(lo.format_record(key, label, paper, landscape, [g]))[0]
                faults = []
                cl.check_record(rec, lambda *a: faults.append(a))
                self.assertEqual(faults, [], label)

    def test_landscape_sheet_is_stored_upright_and_turned(self):
        key, label, paper, landscape, groups = self.records["Avery J9004"]
        self.assertEqual((paper, landscape), ((210.0, 297.0), True))
        rec = cl.parse_text(lo.format_record(key, label, paper, landscape, groups))[0]
        self.assertIn("IS_LANDSCAPE", rec.tflags)
        self.assertAlmostEqual(max(b[2] for b in cl.expand_group(rec.groups[0], rec.tflags)), 297.0)

    def test_what_is_left_out(self):
        self.assertEqual(dict(self.skipped), {
            "continuous label": 1, "unknown manufacturer": 1, "label outside the sheet": 1,
            "already converted from gLabels": 1, "gLabels has the part with other geometry": 1,
            "same sheet of the brand under another name": 1})
        self.assertEqual(self.disagree, ["Avery L7161"])

    def test_labels_and_keys_are_new_and_unique(self):
        keys = [r[0] for r in self.records.values()] + [r.sort for r in self.catalogue]
        self.assertEqual(len(keys), len(set(keys)))
        self.assertEqual(self.records["Avery J9001"][0], "AVER_AJ9001_")
        self.assertEqual(sorted(self.out), ["Avery"])

    def test_files_are_stable(self):
        texts = []
        for _ in range(2):
            with tempfile.TemporaryDirectory() as d:
                with open(os.path.join(d, "glabels-avery.layout"), "w") as f:
                    f.write(GLABELS)
                open(os.path.join(d, "libreoffice-stale.layout"), "w").close()
                out, _, _ = lo.convert(XML, lo.read_catalogue(d))
                lo.write_layouts(out, d, "fixture")
                texts.append({n: open(os.path.join(d, n)).read() for n in sorted(os.listdir(d))})
        self.assertEqual(texts[0], texts[1])
        self.assertEqual(sorted(texts[0]), ["glabels-avery.layout", "libreoffice-avery.layout"])
        self.assertEqual(len(cl.parse_text(texts[0]["libreoffice-avery.layout"])), len(self.records))


if __name__ == "__main__":
    unittest.main()
