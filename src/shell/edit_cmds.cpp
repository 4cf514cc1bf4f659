#include "shell/edit_cmds.h"

#include <utility>
#include <vector>

#include "images/image_files.h"
#include "images/pack.h"
#include "images/photo_blocks.h"
#include "images/photo_scrap.h"
#include "model/arrange.h"
#include "model/document.h"
#include "model/history_ops.h"
#include "model/notices.h"
#include "model/ph_blocks.h"
#include "model/selection.h"
#include "paint/selection.h"
#include "pixels/gworld.h"
#include "platform/clipboard.h"
#include "platform/png_writer.h"
#include "platform/sound.h"
#include "render/compositor.h"
#include "shell/commands.h"
#include "shell/mainloop.h"
#include "shell/menus.h"
#include "text/text_blocks.h"
#include "text/text_edit.h"
#include "text/text_scrap.h"
#include "ui/interface.h"
#include "ui/photo_cmds.h"

namespace {

// The most a private block on the clipboard may hold: a text block of the
// largest size is well under it.
constexpr size_t kMaxClipBlock = size_t(4) << 20;

std::string g_refusal;

bool Refuse() {
    Sound_Play(SND_REFUSED);
    return false;
}

bool Editing_Text() { return gs.curr_phase == TEXT_PHASE && Edited_OM() != nullptr; }

// The selected characters with their overrides, and as plain text.
bool Copy_Text_Selection(bool cut) {
    const a_om_rec* om = Edited_OM();
    if (!om || !Is_Text_Range()) return Refuse();
    if (!Scrap_Add_Run(*om, g_ed.sel_lo, g_ed.sel_hi)) return Refuse();
    if (cut && Del_Range()) {
        History_Set_Pending(OP_TEXT_CUT);
        Edit_Recorded();
    }
    return true;
}

// Our own run of characters, overrides and all, else plain text from anywhere.
bool Paste_Into_Text() {
    std::vector<uint8_t> bytes;
    std::vector<a_xyl_char> run;
    std::string why;
    bool done = false;
    if (Clipboard_Get(TEXT_RUN_CLIP_FORMAT, kMaxClipBlock, bytes)) {
        if (!Text_Run_From_Clip(bytes, run, why)) return g_refusal = why, Refuse();
        done = Ed_Ins_Run(run);
    } else {
        const std::u16string text = Clipboard_Text();
        done = !text.empty() && Text_Inject_Unicode(text.c_str());
    }
    if (!done) return Refuse();
    History_Set_Pending(OP_TEXT_PASTE);
    Edit_Recorded();
    return true;
}

bool Copy_Block(bool cut) {
    int omx = OMX_START;
    if (!Selection_Enum(omx)) return Refuse();
    const a_oj_item& it = *Curr_Item(omx);
    bool put = false;
    if (Has_PH_Kind(it.kind) && it.ph) put = Scrap_Add_PH(a_pasted_ph_rec{it.kind, *it.ph});
    else if (it.kind == TEXT_BLOCK && it.om) put = Scrap_Add_OM(*it.om);
    if (!put) return Refuse();
    if (cut) Enum_Obj_Del();
    return true;
}

bool Paste_Private() {
    std::vector<uint8_t> bytes;
    std::string why;
    if (Clipboard_Get(PHOTO_BLOCK_CLIP_FORMAT, kMaxClipBlock, bytes)) {
        a_pasted_ph_rec pasted;
        if (!Photo_Block_From_Clip(bytes, pasted, why)) return g_refusal = why, false;
        Phase_Set(pasted.ojkind == SYMBOL_BLOCK ? SYMBOL_PHASE : PHOTO_PHASE);
        return Do_Paste_PH(pasted);
    }
    if (Clipboard_Get(TEXT_BLOCK_CLIP_FORMAT, kMaxClipBlock, bytes)) {
        a_om_rec om;
        if (!Text_Block_From_Clip(bytes, om, why)) return g_refusal = why, false;
        Phase_Set(TEXT_PHASE);
        int newx = 0;
        return Do_Paste_OM(om, newx);
    }
    return false;
}

bool Paste_Picture() {
    std::vector<uint8_t> bytes;
    if (!Clipboard_Get("image/png", IMAGE_FILE_MAX_BYTES, bytes)) return false;
    a_picture_scan_rec scan;
    Null_Scan(scan);
    const char png[4] = {'P', 'N', 'G', 'f'};
    a_masked_gworld mw;
    bool ok = Scan_Bytes(false, png, bytes.data(), bytes.size(), scan) == SCAN_OK && Scan_To_MW(scan, mw);
    Dispose_Scan(scan);
    return ok && Do_Paste_MW(mw);
}

// The paint selection's pixels as a PNG picture, which other programs take too.
bool Copy_Paint(bool cut) {
    a_masked_gworld mw;
    if (!Selection_Image(mw)) return Refuse();
    const Rect& b = mw.fore->pix.bounds;
    std::vector<uint32_t> argb(size_t(Rect_Width(b)) * size_t(Rect_Height(b)));
    for (int v = 0; v < Rect_Height(b); ++v) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(PixMap_Row(mw.fore->pix, v));
        const uint8_t* mrow = PixMap_Row(mw.mask->pix, v);
        for (int h = 0; h < Rect_Width(b); ++h)
            argb[size_t(v) * size_t(Rect_Width(b)) + size_t(h)] = (row[h] & 0xFFFFFF) | uint32_t(mrow[h]) << 24;
    }
    a_png_rows rows;
    rows.base = reinterpret_cast<const uint8_t*>(argb.data());
    rows.width = Rect_Width(b), rows.height = Rect_Height(b);
    rows.rowbytes = size_t(rows.width) * 4;
    rows.alpha = true;
    Dispose_MW(mw);
    std::vector<uint8_t> png;
    if (!Png_Encode_Fast(rows, png) || !Clipboard_Put({}, {a_clip_format{"image/png", std::move(png)}}))
        return Refuse();
    if (cut) (void)Selection_Delete();
    return true;
}

// The clipboard's picture as the paint tools' floating selection.
bool Paste_Paint() {
    std::vector<uint8_t> bytes;
    if (!Clipboard_Get("image/png", IMAGE_FILE_MAX_BYTES, bytes)) return Refuse();
    a_picture_scan_rec scan;
    Null_Scan(scan);
    const char png[4] = {'P', 'N', 'G', 'f'};
    a_masked_gworld mw;
    bool ok = Scan_Bytes(false, png, bytes.data(), bytes.size(), scan) == SCAN_OK && Scan_To_MW(scan, mw);
    Dispose_Scan(scan);
    if (!ok) return Refuse();
    const Point centre = g_selection_paste_centre ? g_selection_paste_centre()
                                                  : Point{int16_t((g_doc.up->paintbounds.top + g_doc.up->paintbounds.bottom) / 2),
                                                          int16_t((g_doc.up->paintbounds.left + g_doc.up->paintbounds.right) / 2)};
    ok = Selection_Paste(mw, centre);
    Dispose_MW(mw);
    return ok || Refuse();
}

void Install(int command, bool (*fn)()) {
    Command_Install(command, [fn](const a_command_context&) { (void)fn(); });
}

void Install(int command, void (*fn)()) {
    Command_Install(command, [fn](const a_command_context&) {
        if (g_doc.doc_open) fn();
    });
}

}  // namespace

bool Edit_Copy(bool cut) {
    // What was there before goes even when nothing can be put in its place.
    (void)Clipboard_Clear();
    if (!g_doc.doc_open) return Refuse();
    if (Editing_Text()) return Copy_Text_Selection(cut);
    switch (gs.curr_phase) {
        case SYMBOL_PHASE:
        case PHOTO_PHASE:
        case TEXT_PHASE: return Copy_Block(cut);
        case PAINT_PHASE: return g_doc.up ? Copy_Paint(cut) : Refuse();
        default: return Refuse();
    }
}

const std::string& Edit_Paste_Refusal() { return g_refusal; }

bool Edit_Paste() {
    g_refusal.clear();
    if (!g_doc.doc_open) return Refuse();
    if (Editing_Text()) return Paste_Into_Text();
    // A collage takes pictures only, each into its next empty slot.
    if (Pack_Active()) return Paste_Picture() || Refuse();
    if (gs.curr_phase == PAINT_PHASE && g_doc.up) return Paste_Paint();
    if (Paste_Private()) return true;
    if (!g_refusal.empty()) return Refuse();  // ours, but damaged: nothing else is tried
    if (Paste_Picture()) return true;
    std::u16string text = Clipboard_Text();
    if (!text.empty() && Do_Paste_UTF16(text)) return true;
    return Refuse();
}

bool Do_Paste_MW(a_masked_gworld& mw) {
    if (Pack_Active()) return Pack_Paste(mw);
    Phase_Set(PHOTO_PHASE);
    return Photo_Paste(SOURCE_CLIPBOARD, mw);
}

bool Do_Paste_UTF16(const std::u16string& text) {
    if (Editing_Text()) {
        if (!Text_Inject_Unicode(text.c_str())) return false;
        History_Set_Pending(OP_TEXT_PASTE);
        Edit_Recorded();
        return true;
    }
    Phase_Set(TEXT_PHASE);
    Point none{0, -1000};
    return Text_New2(text.c_str(), nullptr, none, true) > 0;
}

void Edit_Select(bool all) {
    if (a_om_rec* om = Editing_Text() ? Edited_OM() : nullptr) {
        if (all) Set_Sel_Range(1, om->nxyl);
        else Set_Sel_Empty(g_ed.sel_hi);
        return;
    }
    all ? Obj_Select_All() : Obj_Select_None();
}

void Edit_Commands_Init() {
    Command_Install(MENU_EDIT + 4, [](const a_command_context&) { (void)Edit_Copy(true); });
    Command_Install(MENU_EDIT + 5, [](const a_command_context&) { (void)Edit_Copy(false); });
    Install(MENU_EDIT + 6, Edit_Paste);
    Command_Install(MENU_EDIT + 7, [](const a_command_context&) {
        if (g_doc.doc_open) Edit_Select(true);
    });
    Command_Install(MENU_EDIT + 8, [](const a_command_context&) {
        if (g_doc.doc_open) Edit_Select(false);
    });
    // Arrange: stacking, centring, the fractions of the unit, fit and cover.
    const int z[] = {999, -999, 1, -1};
    for (int i = 0; i < 4; ++i)
        Command_Install(MENU_ARRANGE + 1 + i, [d = z[i]](const a_command_context&) {
            if (g_doc.doc_open) Layer_ArrangeRel(d);
        });
    Install(MENU_ARRANGE + 6, Align_Center);
    Command_Install(MENU_ARRANGE + 7, [](const a_command_context&) {
        if (g_doc.doc_open) Align_Horz(1, 2);
    });
    Command_Install(MENU_ARRANGE + 8, [](const a_command_context&) {
        if (g_doc.doc_open) Align_Vert(1, 2);
    });
    const int fractions[5][2] = {{1, 4}, {1, 3}, {1, 2}, {2, 3}, {3, 4}};
    for (int i = 0; i < 5; ++i) {
        const int num = fractions[i][0], den = fractions[i][1];
        Command_Install(MENU_HMOVE + 1 + i, [num, den](const a_command_context&) {
            if (g_doc.doc_open) Align_Horz(num, den);
        });
        Command_Install(MENU_VMOVE + 1 + i, [num, den](const a_command_context&) {
            if (g_doc.doc_open) Align_Vert(num, den);
        });
    }
    // Fitting and covering are one step each, as the photo panel's buttons.
    const std::pair<int, void (*)()> fits[] = {
        {12, Photo_Fit_H}, {13, Photo_Fit_V}, {14, Photo_Cover_P}, {15, Photo_Cover_D}};
    for (const auto& f : fits) {
        void (*fit)() = f.second;
        Command_Install(MENU_ARRANGE + f.first, [fit](const a_command_context&) {
            if (g_doc.doc_open) Photo_Fit_Command(fit);
        });
    }
}
