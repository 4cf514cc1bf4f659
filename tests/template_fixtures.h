// Small catalogue records for tests, written as layout text.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "templates/catalogue.h"
#include "templates/layout_text.h"

// One group in layout-text form.
inline std::string Group(const std::string& kind, int nx, int ny, double left, double top,
                         double w, double h, double px = 0, double py = 0,
                         const std::string& flags = "", double bleed = 0, double m1 = 0) {
    char buf[512];
    std::snprintf(buf, sizeof buf,
                  "{ %s, a_unit_flag_set { %s }, %d, %d, %g, %g, %g, %g, %g, %g, %g, %g, %g, %g, "
                  "%g, 0, 0, 0 }",
                  kind.c_str(), flags.c_str(), nx, ny, left, top, w, h, px, py, bleed, bleed, bleed,
                  bleed, m1);
    return buf;
}

// A record with up to six groups (the rest empty).
inline a_ctemplate Record(const std::string& sort, const std::string& label,
                          const std::vector<std::string>& groups, const std::string& tflags = "",
                          double pw = 210, double ph = 297) {
    std::string text = "{ \"" + sort + "\", \"" + label + "\", BOTH, a_template_flag_set { " +
                       tflags + " }, { " + std::to_string(pw) + ", " + std::to_string(ph) + " }, " +
                       std::to_string(groups.size()) + ", {";
    for (size_t g = 0; g < 6; ++g) {
        if (g) text += ", ";
        text += g < groups.size() ? groups[g] : "EMPTY_UNIT";
    }
    text += " }},";
    std::vector<a_ctemplate> out;
    a_layout_error err;
    EXPECT_TRUE(Layout_Parse(text, out, err)) << err.line << ": " << err.message << "\n" << text;
    return out.empty() ? a_ctemplate{} : out[0];
}

// Restores the built-in working list after a test that replaced it.
class CustomListTest : public testing::Test {
protected:
    void TearDown() override { Build_Template_List(); }
    static void Use(const std::vector<a_ctemplate>& records) {
        Build_Paper_List_From(records, a_unit_kind_set().set());
    }
};
