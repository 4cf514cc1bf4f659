// Text blocks for tests: a named font that must be installed, a record with
// given text and layout, and the 1200-pixel disc unit of "A-ONE 29125".
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/codepage.h"
#include "platform/fonts.h"
#include "templates/catalogue.h"
#include "templates/expand.h"
#include "text/text_blocks.h"
#include "text/text_layout.h"

// The font's number; the test fails with the family's name when it is missing.
inline int Need_Font(const std::u16string& family) {
    int f = Font_Find(family);
    EXPECT_NE(f, 0) << "font family \"" << Utf16_To_Utf8(family)
                    << "\" is not installed (scripts/bootstrap installs it)";
    return f;
}

inline a_text_unit Disc_Text_Unit() {
    static a_template t;
    if (t.nunits == 0) Expand_Template(TList_Get(Find_Template("A-ONE 29125")), t);
    Rect bounds;
    Calc_Unit_Bounds(t.units[1], bounds);
    return Text_Unit_Of(t.units[1], bounds);
}

inline std::unique_ptr<a_om_rec> Text_Block(const std::u16string& text, uint8_t layout, int size = 14) {
    auto om = std::make_unique<a_om_rec>();
    om->fontx = uint32_t(Need_Font(u"DejaVu Sans"));
    om->layout = layout;
    om->size = int16_t(size);
    a_text_unit u = Disc_Text_Unit();
    om->rotcenter = Rect_Centre(u.bounds);
    om->anchor = Point{300, 200};
    UniStr_To_OM(*om, text.c_str());
    return om;
}

inline void Lay_Out(a_om_rec& om, int omx = 7) { OM_Recalc_On(om, omx, Disc_Text_Unit()); }

// Width in pixels of one character as layout measures it at the block's size.
inline float Char_Width_Of(const a_om_rec& om, const std::u16string& ch) {
    Push_TextSize_Mapping(Disc_Text_Unit().px_per_pt);
    a_fontspec f = Calc_Base_Font(om);
    float w = Font_Text_Width(Font_Key(f, Points_To_PixelsR(om.size)), ch.data(), int(ch.size()));
    Pop_TextSize_Mapping();
    return w;
}
