// A document of one unit with blocks placed by hand, and a record of what the
// block operations told the rest of the program: dirty areas, history steps
// and sounds.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "model/document.h"
#include "model/notices.h"
#include "model/ph_blocks.h"
#include "model/photo_rec.h"
#include "model/selection.h"
#include "signals_guard.h"
#include "template_fixtures.h"
#include "ui/interface.h"

// One unit: a disc ("B") or a rectangle ("A"), 40 mm square.
inline std::unique_ptr<a_template> One_Unit_Template(bool disc) {
    auto t = std::make_unique<a_template>();
    t->nunits = 1;
    t->units[1].kind = disc ? UNIT_CD : UNIT_RECT;
    t->units[1].bbox = {0, 0, 40, 40};
    return t;
}

class BlockTest : public testing::Test {
protected:
    void SetUp() override {
        saved_gs_ = std::make_unique<a_interface_rec>(gs);
        Doc_New(*One_Unit_Template(true));
        g_block_bar = PHOTO_BAR;
        // The guard puts the services and notices back: no tokens to keep.
        (void)g_doc_services.history_emit.Install([this](int op) { history.push_back(op); });
        (void)g_doc_services.play_sound.Install([this](int snd) { sounds.push_back(snd); });
        (void)g_doc_notices.unit_dirty.Subscribe(
            [this](uint32_t, const Rect& r) { dirty.push_back(r); });
    }
    // The controls a test moved (the colour sliders are the canvas's too)
    // are put back for the tests after it.
    void TearDown() override {
        Doc_Dispose();
        gs = *saved_gs_;
    }

    std::unique_ptr<a_interface_rec> saved_gs_;
    a_doc_unit& U() { return *g_doc.up; }
    a_oj_item& Item(int omx) { return U().oj.list[omx]; }
    // A picture block of `kind` whose box is `box` (no picture behind it).
    int Add(const Rect& box, uint8_t kind = PHOTO_BLOCK) {
        int newx = 0;
        a_ph_rec* ph = PH_New(kind, newx);
        ph->dst_box = box;
        ph->dst_center = Rect_Centre(box);
        return newx;
    }
    int Add_Text() {
        a_oj_item it;
        it.objid = NextUniqueID();
        it.kind = TEXT_BLOCK;
        it.om = New_OM_Rec();
        EXPECT_TRUE(OMast_Append(U().oj, it));
        return U().oj.nlist;
    }
    void Select(std::initializer_list<int> omxs) {
        for (int i = 1; i <= U().oj.nlist; ++i) Set_Flag(Item(i), SELECTED_FLAG, false);
        for (int omx : omxs) Set_Flag(Item(omx), SELECTED_FLAG, true);
    }
    Rect Box(int omx) { return Item(omx).ph->dst_box; }
    bool Posted(const Rect& r) const {
        for (const Rect& d : dirty)
            if (d == Rect_Sect(r, g_doc.up->paintbounds)) return true;
        return false;
    }
    void Clear_Record() {
        history.clear();
        sounds.clear();
        dirty.clear();
    }

    a_signals_guard signals_{true};
    std::vector<int> history;
    std::vector<int> sounds;
    std::vector<Rect> dirty;
};

inline Rect Box_At(int left, int top, int w, int h) {
    return Rect{int16_t(top), int16_t(left), int16_t(top + h), int16_t(left + w)};
}
