"""Tests of tools/glabels_to_layout.py over the made-up sheets in tools/testdata.

Run: python3 -m unittest tools/test_glabels_to_layout.py
"""

import os
import re
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import glabels_to_layout as g  # noqa: E402

DATA = os.path.join(HERE, "testdata")


def fields(record_text):
    """Top-level fields of one record, comments dropped, groups as lists."""
    text = re.sub(r"\(\*.*?\*\)", " ", record_text, flags=re.S).strip()
    assert text.endswith(","), text
    tokens = re.findall(r'"[^"]*"|[{},]|[^\s{},]+', text[:-1])
    stack = [[]]
    for tok in tokens:
        if tok == "{":
            stack.append([])
        elif tok == "}":
            done = stack.pop()
            stack[-1].append(done)
        elif tok != ",":
            stack[-1].append(tok)
    assert len(stack) == 1 and len(stack[0]) == 1, "unbalanced braces"
    return stack[0][0]


class ConvertedFixture(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out, cls.skipped, _ = g.convert(DATA)
        cls.records = {r[1]: r for recs in cls.out.values() for r in recs}

    def group(self, label, i=0):
        return self.records[label][3][i]


class Lengths(unittest.TestCase):
    def test_units(self):
        cases = {"72": 25.4, "72pt": 25.4, "1in": 25.4, "12.5mm": 12.5,
                 "1.5cm": 15.0, "1pc": 25.4 / 6, "3.9e-16pt": 0.0,
                 "": 0.0, "in": 0.0}
        for text, mm in cases.items():
            with self.subTest(text=text):
                self.assertAlmostEqual(g.parse_length(text), mm, places=9)

    def test_unknown_unit_is_refused(self):
        with self.assertRaises(g.Skip):
            g.parse_length("3furlong")


class Geometry(ConvertedFixture):
    def test_inches_and_points_become_millimetres(self):
        r = self.records["Test 101"]
        self.assertEqual([round(x, 6) for x in r[2]], [215.9, 279.4])
        gr = r[3][0]
        self.assertAlmostEqual(gr["left"], 4.7625)
        self.assertAlmostEqual(gr["dx"], 69.85)
        self.assertAlmostEqual(gr["meas1"], 1.5875)  # corner radius
        oval = self.records["Test 102"]
        self.assertAlmostEqual(oval[2][1], 50.8)  # paper "Other", points
        self.assertEqual(oval[3][0]["kind"], "UNIT_OVAL")
        self.assertAlmostEqual(oval[3][0]["left"], 25.4 / 6)

    def test_equiv_chain_takes_geometry_but_keeps_its_name(self):
        self.assertEqual(self.records["Test 200"][2:], self.records["Test 100"][2:])
        self.assertEqual(self.records["Test 200"][0], "TEST__000200")
        self.assertEqual(self.skipped["equiv names an unknown template (equiv)"], 1)

    def test_disc_kinds_and_hole(self):
        expect = {  # label: kind, width, height, hole diameter
            "Test CD-1": ("UNIT_CD", 117.0, 117.0, 41.0),
            "Test CD-2": ("UNIT_MINICD_HOCKEY", 78.0, 60.0, 34.0),
            "Test CD-3": ("UNIT_MINICD_RECT", 60.0, 70.0, 40.0),
            "Test CD-4": ("UNIT_MINICD_RING", 78.0, 78.0, 18.0),
        }
        for label, (kind, w, h, hole) in expect.items():
            with self.subTest(label=label):
                gr = self.group(label)
                self.assertEqual(gr["kind"], kind)
                self.assertAlmostEqual(gr["width"], w)
                self.assertAlmostEqual(gr["height"], h)
                self.assertAlmostEqual(gr["meas1"], hole)
        # Each label element's layout is a group of its own.
        self.assertEqual(self.group("Test CD-4", 1)["kind"], "UNIT_CIRCLE")

    def test_business_cards(self):
        self.assertEqual(self.group("Test BC-1")["kind"], "UNIT_VISITING")
        self.assertAlmostEqual(self.group("Test BC-1")["meas1"], 3.0)
        self.assertEqual(self.group("Test BC-2")["kind"], "UNIT_VISITING")
        self.assertEqual(self.group("Test 100")["kind"], "UNIT_RECT")

    def test_left_out_templates_are_counted(self):
        self.assertEqual(dict(self.skipped), {
            "Label-continuous label": 1, "Label-path label": 1,
            "roll paper": 1, "label outside the sheet": 1,
            "more than 250 labels on a sheet": 1, "more than 6 layouts": 1,
            "equiv names an unknown template (equiv)": 1,
            "upright business-card disc": 1})
        self.assertNotIn("gamma", self.out)


class LabelsAndKeys(ConvertedFixture):
    def test_labels(self):
        labels = set(self.records)
        self.assertIn("DYMO 99010", labels)  # catalogue spelling of the brand
        self.assertIn("Avery 2160 (2)", labels)  # already in the catalogue
        self.assertIn("Herma A 5/8' athome", labels)  # no '"' or '@'
        self.assertIn("Uber_Etiquettes CD12 (case firs", labels)
        self.assertIn("Uber_Etiquettes CD12 (case (2)", labels)
        self.assertEqual(len({l.casefold() for l in labels}), len(labels))
        for label in labels:
            self.assertLessEqual(len(label), 31)
            self.assertRegex(label, r'^[ -~]+$')
            self.assertNotRegex(label, r'["@\\]')

    def test_sort_keys(self):
        keys = {label: r[0] for label, r in self.records.items()}
        self.assertEqual(keys["Avery 100"], "AVER_A000100")
        self.assertEqual(keys["DYMO 99010"], "DYMO__099010")
        self.assertEqual(keys["Test CD-1"], "TEST__CD1___")
        self.assertEqual(keys["Herma A 5/8' athome"], "HERMA_A58HOM")
        self.assertEqual(keys["Hermann 1234567"], "HERM1_123456")
        self.assertEqual(keys["Uber_Etiquettes T"], "UBERE_T_____")
        for key in keys.values():
            self.assertRegex(key, r"^[A-Z0-9_]{12}$")

    def test_maker_codes_are_distinct_and_fixed_ones_win(self):
        codes = g.maker_codes(["Avery", "AVERY A", "Herma", "Herman", "Hermann"])
        self.assertEqual(codes["Avery"], "AVER_A")
        self.assertEqual(len(set(codes.values())), len(codes))
        self.assertEqual(codes["Herma"], "HERMA_")
        self.assertEqual([codes["Herman"], codes["Hermann"]], ["HERM1_", "HERM2_"])


class Spellings(unittest.TestCase):
    def test_one_spelling_per_maker_and_unique_keys(self):
        sheet = ('<Template brand="%s" part="%s" size="A4" _description="Business Cards">'
                 '<Label-rectangle id="0" width="50mm" height="20mm"><Layout nx="1" ny="1" '
                 'x0="5mm" y0="5mm"/></Label-rectangle></Template>')
        xml = "".join(sheet % bp for bp in (("Stomper", "PRO CD"), ("CD Stomper", "PRO-CD"),
                                             ("Fellows", "04715-A"), ("Fellowes", "04715/B"),
                                             ("Russian", "A4 5x9")))
        with tempfile.TemporaryDirectory() as folder:
            with open(os.path.join(DATA, "paper-sizes.xml"), "rb") as f:
                open(os.path.join(folder, "paper-sizes.xml"), "wb").write(f.read())
            with open(os.path.join(folder, "x-templates.xml"), "w") as f:
                f.write('<Glabels-templates xmlns="http://glabels.org/xmlns/3.0/">%s'
                        '</Glabels-templates>' % xml)
            out, _, _ = g.convert(folder)
        recs = out["x"]
        self.assertEqual(sorted(r[1] for r in recs), ["CD_Stomper PRO CD", "CD_Stomper PRO-CD",
                                                      "Fellowes 04715-A", "Fellowes 04715/B",
                                                      "Generic business cards A4 5x9"])
        # PRO CD and PRO-CD share the product code PROCD_: one gets another last character.
        keys = [r[0] for r in recs]
        self.assertEqual(len(set(keys)), 5)
        self.assertEqual(len({k[:6] for k in keys}), 3)
        # A brand that names no maker goes under Generic, with Generic's maker code.
        self.assertIn("GENER_A45X9_", keys)


class Output(unittest.TestCase):
    def write(self, folder):
        out, _, _ = g.convert(DATA)
        g.write_layouts(out, folder, "fixture")
        return {n: open(os.path.join(folder, n), "rb").read()
                for n in sorted(os.listdir(folder))}

    def test_files_are_stable_and_well_formed(self):
        with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
            open(os.path.join(a, "glabels-stale.layout"), "w").close()
            first, second = self.write(a), self.write(b)
        self.assertEqual(first, second)
        self.assertEqual(sorted(first), ["glabels-alpha.layout", "glabels-beta.layout"])
        text = first["glabels-alpha.layout"].decode("ascii")
        self.assertNotIn("\r", text)
        records = text.split("(* LAYOUT Version 4.00 *)\n")[1:]
        self.assertEqual(len(records), 11)
        for rec in records:
            f = fields(rec)
            self.assertEqual(len(f), 8)  # 7 header fields, then the groups
            self.assertEqual(f[2:4], ["BOTH", "a_template_flag_set"])
            groups = f[7]
            self.assertEqual(len(groups), 6)
            self.assertEqual(int(f[6]), sum(x != "EMPTY_UNIT" for x in groups))
            for x in groups:
                if x != "EMPTY_UNIT":
                    self.assertEqual(len(x), 19)
                    for real in x[5:]:
                        self.assertRegex(real, r"^-?\d+\.\d{4}$")

    def test_record_with_six_groups(self):
        gr = {"kind": "UNIT_RECT", "nx": 1, "ny": 1, "left": 0.0, "top": -0.00001,
              "width": 1.0, "height": 2.0, "dx": 0.0, "dy": 0.0, "meas1": 0.5}
        text = g.format_record("X", "Y", (1.0, 2.0), [gr] * 6)
        self.assertEqual(len(fields(text)[7]), 6)
        self.assertIn("(* BBOX *) 0.0000, 0.0000, 1.0000, 2.0000,", text)
        self.assertTrue(text.endswith("0.0000 }}},\n"))


if __name__ == "__main__":
    unittest.main()
