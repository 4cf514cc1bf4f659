// The design description reader: a good description makes the document it
// describes; a bad one is refused in one line naming the line and the field,
// and the open document stays as it was.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/document.h"
#include "model/selection.h"
#include "persist/design_file.h"
#include "platform/fonts.h"
#include "model/text_rec.h"
#include "render/effects_cache.h"
#include "signals_guard.h"
#include "template_fixtures.h"

namespace {

class DesignFile : public testing::Test {
protected:
    void TearDown() override {
        if (g_doc.doc_open) Doc_Dispose();
        Cache_Clear();
    }
    // The message for `text`, which must be refused.
    std::string Refusal(const std::string& text) {
        std::string error;
        EXPECT_FALSE(Design_Read(text, a_design_options{}, error)) << text;
        EXPECT_EQ(error.find('\n'), std::string::npos);
        return error;
    }
    a_signals_guard signals_{true};
};

}  // namespace

// Text blocks take their layout, font, size and fields; pictures are
// checked but, as asked here, not made.
TEST_F(DesignFile, MakesTheUnitsAndBlocksItDescribes) {
    const std::string text = R"({
  "template": "A-ONE 29125",
  "units": [{"canvas": {"hue": 200, "dist": 40, "fuzz_out": 3},
             "blocks": [{"photo": "a.png"}, {"symbol": "11.0.1.1", "hidden": true},
  {"text": "Side A\nTrack 1", "layout": "circ-ccw", "font": "DejaVu Sans", "size": 20,
   "fields": {"glowf": true, "glow_color": "#FF8000", "radius": 80, "justify": 0,
              "rotcenter": [500, 600]}, "hidden": true}]}]
})";
    a_design_options checked;
    checked.load_pictures = false;
    std::string error;
    ASSERT_TRUE(Design_Read(text, checked, error)) << error;
    EXPECT_EQ(g_doc.doc_template.nunits, 2u);
    EXPECT_EQ(g_doc.doc_units[1]->canv.cv.canvas_color_hue, 200);
    EXPECT_EQ(g_doc.doc_units[1]->canv.cv.canvas_fuzz_out, 3);
    EXPECT_TRUE(g_doc.doc_units[2]->clonef);  // the stock's second disc repeats the first
    const a_doc_unit& u = *g_doc.doc_units[1];
    ASSERT_EQ(u.oj.nlist, 2);  // the unit's paint layer, then the text
    const a_oj_item& it = u.oj.list[2];
    ASSERT_NE(it.om, nullptr);
    EXPECT_FALSE(it.flags & (1u << VISIBLE_FLAG));
    const a_om_rec& om = *it.om;
    EXPECT_EQ(om.layout, LAYOUT_CIRC_CCW);
    EXPECT_EQ(om.size, 20);
    EXPECT_EQ(om.fontx, uint32_t(Font_Find(u"DejaVu Sans")));
    EXPECT_TRUE(om.glowf);
    EXPECT_EQ(om.glow_color.r, 255);
    EXPECT_EQ(om.glow_color.g, 128);
    EXPECT_EQ(om.radius, 80);
    EXPECT_EQ(om.justify, JUST_LEFT);
    EXPECT_EQ(om.rotcenter, (Point{600, 500}));
    // Laid out: "Side A", a break, "Track 1", the end.
    ASSERT_EQ(om.nxyl, 15);
    EXPECT_EQ(om.xyl[7].cc_char, CHAR_HARDBREAK);
    EXPECT_TRUE(om.cache.progress & (1u << READY_COORD));
}

TEST_F(DesignFile, RefusalsNameTheLineAndTheFieldAndChangeNothing) {
    auto t = std::make_unique<a_template>();
    t->nunits = 1;
    t->units[1].kind = UNIT_RECT;
    t->units[1].bbox = {0, 0, 40, 40};
    Doc_New(*t);
    a_doc_unit* before = g_doc.doc_units[1];
    EXPECT_EQ(Refusal("{\"template\": \"A-ONE 29125\",\n \"units\": [{\"blocks\": [\n"
                      "  {\"photo\": \"a.png\", \"spec\": {\"opacity\": 120}}]}]}"),
              "line 3: units[1].blocks[1].spec.opacity: 120 is outside 6 to 100");
    EXPECT_EQ(g_doc.doc_units[1], before);
    EXPECT_EQ(g_doc.doc_template.units[1].kind, UNIT_RECT);
    EXPECT_EQ(Refusal("{\"template\": \"No such stock\"}"),
              "line 1: template: no template named \"No such stock\"");
    EXPECT_EQ(Refusal("{\"template\": \"A-ONE 29125\",\n\"units\": [{},\n {\"unit\": 2}]}"),
              "line 3: units[2].unit: unit 2 repeats unit 1 (a clone); describe that one");
    const std::string text_head = "{\"template\": \"A-ONE 29125\", \"units\": [{\"blocks\": [\n";
    EXPECT_EQ(Refusal(text_head + "{\"text\": \"Side A\",\n \"fields\": {\"radius\": 95, \"glow\": true}}]}]}"),
              "line 3: units[1].blocks[1].fields.glow: is not a known field");
    EXPECT_EQ(Refusal(text_head + "{\"text\": \"A\", \"layout\": \"spiral-cw\", \"size\": 100}]}]}"),
              "line 2: units[1].blocks[1].size: 100 is outside 5 to 72");
    EXPECT_EQ(Refusal(text_head + "{\"text\": \"A\", \"layout\": \"round\"}]}]}"),
              "line 2: units[1].blocks[1].layout: must be one of "
              "horz|90|circ-cw|spiral-cw|contour|vert|270|circ-ccw|spiral-ccw|spoke");
    EXPECT_EQ(Refusal(text_head + "{\"text\": \"A\", \"font\": \"No Such Face\"}]}]}"),
              "line 2: units[1].blocks[1].font: no font named \"No Such Face\"");
    EXPECT_EQ(Refusal(text_head + "{\"text\": \"A\", \"fields\": {\"base_color\": \"red\"}}]}]}"),
              "line 2: units[1].blocks[1].fields.base_color: must be a colour #RRGGBB");
    EXPECT_EQ(Refusal(text_head + "{\"text\": \"A\", \"fields\": {\"rotcenter\": [1]}}]}]}"),
              "line 2: units[1].blocks[1].fields.rotcenter: must be [x, y] in the unit's cells");
    EXPECT_EQ(Refusal(text_head + "{\"text\": \"" + std::string(4000, 'x') + "\"}]}]}"),
              "line 2: units[1].blocks[1].text: holds more than 3999 characters");
    EXPECT_EQ(Refusal(text_head + "{\"text\": \"Sum\\u0000mer\"}]}]}"),
              "line 2: units[1].blocks[1].text: holds the control character U+0000 at byte 4");
    EXPECT_EQ(Refusal(text_head + "{\"text\": \"A\", \"symbol\": \"11.0.1.1\"}]}]}"),
              "line 2: units[1].blocks[1]: needs one of photo, symbol or text");
    EXPECT_EQ(Refusal("{\"template\": \"A-ONE 29125\",\n\"colour\": 1}"), "line 2: colour: is not a known field");
    EXPECT_EQ(Refusal("{\"template\": \"A-ONE 29125\", \"c\\nx\": 1}"), "line 1: c?x: is not a known field");
    EXPECT_EQ(Refusal("{\n\"template\": [1,\n2").rfind("line 3: not JSON", 0), 0u);
    EXPECT_EQ(Refusal("{\"template\":\n 4E4222222}"), "line 2: not JSON: a number out of range");
    EXPECT_EQ(Refusal(std::string(40, '[') + std::string(40, ']')), "description nests deeper than 16 levels");
    EXPECT_EQ(g_doc.doc_units[1], before);
}
