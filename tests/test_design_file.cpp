// The design description reader: a good description makes the document it
// describes; a bad one is refused in one line naming the line and the field,
// and the open document stays as it was.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/document.h"
#include "model/selection.h"
#include "persist/design_file.h"
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

TEST_F(DesignFile, MakesTheUnitsAndBlocksItDescribes) {
    const std::string text = R"({
  "template": "A-ONE 29125",
  "units": [{"canvas": {"hue": 200, "dist": 40, "fuzz_out": 3},
             "blocks": [{"photo": "a.png"}, {"symbol": "11.0.1.1", "hidden": true}]}]
})";
    a_design_options checked;
    checked.load_pictures = false;
    std::string error;
    ASSERT_TRUE(Design_Read(text, checked, error)) << error;
    EXPECT_EQ(g_doc.doc_template.nunits, 2u);
    EXPECT_EQ(g_doc.doc_units[1]->canv.cv.canvas_color_hue, 200);
    EXPECT_EQ(g_doc.doc_units[1]->canv.cv.canvas_fuzz_out, 3);
    EXPECT_TRUE(g_doc.doc_units[2]->clonef);  // the stock's second disc repeats the first
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
    EXPECT_EQ(Refusal("{\"template\": \"A-ONE 29125\", \"units\": [{\"blocks\": [\n{\"text\": \"Side A\", "
                      "\"layout\": \"circ-cw\"}]}]}"),
              "line 2: units[1].blocks[1].text: text blocks are not supported yet");
    EXPECT_EQ(Refusal("{\"template\": \"A-ONE 29125\",\n\"colour\": 1}"), "line 2: colour: is not a known field");
    EXPECT_EQ(Refusal("{\"template\": \"A-ONE 29125\", \"c\\nx\": 1}"), "line 1: c?x: is not a known field");
    EXPECT_EQ(Refusal("{\n\"template\": [1,\n2").rfind("line 3: not JSON", 0), 0u);
    EXPECT_EQ(Refusal("{\"template\":\n 4E4222222}"), "line 2: not JSON: a number out of range");
    EXPECT_EQ(Refusal(std::string(40, '[') + std::string(40, ']')), "description nests deeper than 16 levels");
    EXPECT_EQ(g_doc.doc_units[1], before);
}
