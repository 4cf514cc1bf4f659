#include "persist/disc_read.h"

#include <string>

#include "base/messages.h"
#include "base/string_ids.h"
#include "model/document.h"
#include "model/notices.h"
#include "model/photo_rec.h"
#include "model/text_rec.h"
#include "persist/chunk_stream.h"
#include "persist/disc_import.h"
#include "persist/embedded.h"
#include "persist/photo_chunks.h"
#include "persist/text_chunks.h"
#include "persist/v3_import.h"
#include "platform/codepage.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "render/canvas.h"
#include "templates/user_catalogue.h"

a_service<uint32_t(const a_font_map_entry& entry, const PixMap& sample)> g_font_subst_dialog;

namespace {

a_disc_report g_report;

constexpr uint8_t kKnownFlags = (1u << SELECTED_FLAG) | (1u << PENDING_FLAG) | (1u << VISIBLE_FLAG);

bool Is_Photo_Kind(uint8_t kind) { return kind == PHOTO_BLOCK || kind == SYMBOL_BLOCK || kind == SLOT_BLOCK; }

// One block of a table; false (records freed) when it is damaged.
bool Read_OJ(a_oj_item& item, int16_t version, a_defect_set& defects) {
    uint8_t head[2] = {};
    Chunk_ReadRaw(2, head);
    item.objid = NextUniqueID();
    item.flags = head[0] & kKnownFlags;
    item.kind = head[1];
    // A kind this program does not know carries a photo record: it is read
    // as one and shown as a photo.
    if (item.kind > PAINT_BLOCK) {
        item.kind = PHOTO_BLOCK;
        ++g_report.unknown_blocks;
    }
    if (Is_Photo_Kind(item.kind)) {
        item.ph = New_PH_Rec();
        Read_PH(*item.ph, version, defects);
    } else if (item.kind == TEXT_BLOCK) {
        item.om = New_OM_Rec();
        Read_OM(*item.om, version, defects);
        ++g_report.text_blocks;
    }
    if (No_Serious_Defects(defects) && g_chunk.err == 0) return true;
    if (g_chunk.err != 0) Add_Defect(defects, DEFECT_CHECKSUM);
    delete item.ph;
    delete item.om;
    item.ph = nullptr;
    item.om = nullptr;
    return false;
}

void Remap_Fonts(const std::vector<a_font_map_entry>& table) {
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
        a_doc_unit* u = g_doc.doc_units[ux];
        if (!u) continue;
        for (int i = 1; i <= u->oj.nlist; ++i) {
            a_om_rec* r = u->oj.list[i].om;
            if (u->oj.list[i].kind != TEXT_BLOCK || !r) continue;
            r->fontx = Find_In_Mapping_Table(table, r->fontx);
            for (int32_t k = 1; k <= r->nxyl; ++k)
                if (r->xyl[k].cc_fontx != 0) r->xyl[k].cc_fontx = Find_In_Mapping_Table(table, r->xyl[k].cc_fontx);
        }
    }
}

void Finish_Document(bool ok, const std::string& path) {
    if (!ok) {
        Doc_Dispose();
        return;
    }
    g_doc.doc_path = a_filespec{0, 0, path};
    g_doc.doc_open = true;
    g_doc.doc_new = false;
    g_doc.doc_changed = false;
    if (g_doc.doc_template.nunits > 0) Select_Doc_Unit(1);
    // A fresh history: the steps kept are of the document that was open
    // before, and undoing one would put its state into this one.
    History_Base();
}

void Note_Defects() {
    if (g_report.unknown_blocks > 0)
        g_report.notes.push_back(std::to_string(g_report.unknown_blocks) +
                                 " block(s) of a kind this program does not know were read as photos");
    if (g_report.missing_pictures > 0)
        g_report.notes.push_back(std::to_string(g_report.missing_pictures) +
                                 " picture(s) of the project could not be found: they show as missing");
    if (Has_Defect(g_report.defects, DEFECT_FONT_NOTAVAIL))
        g_report.notes.push_back("a font of the project is not installed: a substitute stands in");
}

}  // namespace

const a_disc_report& Disc_Report() { return g_report; }
a_disc_report& Disc_Report_Edit() { return g_report; }
void Disc_Report_Clear() { g_report = a_disc_report{}; }
void Disc_Report_Note(const std::string& note) { g_report.notes.push_back(note); }

void Read_Object_Table(a_doc_unit& u, uint32_t ux, a_defect_set& defects) {
    if (!Chunk_Find(int32_t(ux), "OBJT")) return Add_Defect(defects, DEFECT_OBJTABLE_MISSING);
    int16_t version = 0;
    int32_t n = 0;
    Chunk_ReadInt16(version);
    Chunk_ReadInt32(n);
    if (version != 1 && version != 2) return Add_Defect(defects, DEFECT_OBJTABLE_VERSION);
    // Every block takes at least its two head bytes.
    if (n < 0 || n > MAXNOBJECTS || int64_t(n) * 2 > int64_t(g_chunk.end - g_chunk.pos))
        return Add_Defect(defects, DEFECT_OBJTABLE_VERSION);
    OMast_Dispose(u.oj);
    u.oj.seq = ux;
    // A read past the end of the file shows as the stream's error: the
    // table's own, not one an earlier record left.
    g_chunk.err = 0;
    for (int32_t i = 0; i < n; ++i) {
        a_oj_item item;
        if (!Read_OJ(item, version, defects)) return;
        (void)OMast_Append(u.oj, item);  // n is within the list's room
    }
    // Bytes after the last counted block are blocks the count leaves out.
    if (g_chunk.pos != g_chunk.end) Add_Defect(defects, DEFECT_OBJTABLE_VERSION);
}

void Read_Unit(uint32_t ux, a_defect_set& defects) {
    a_doc_unit* u = New_Unit_Rec();
    g_doc.doc_units[ux] = u;
    Read_UnitHeader(*u, ux, defects);
    if (!No_Serious_Defects(defects) || u->clonef) return;
    Read_Paint_Layer(*u, ux);
    Read_Object_Table(*u, ux, defects);
    if (No_Serious_Defects(defects)) (void)Canvas_Verify(*u, g_doc.doc_template.units[ux].kind);
}

void Ask_Font_Subst(std::vector<a_font_map_entry>& table) {
    std::string prompt;
    for (a_font_map_entry& e : table) {
        if (e.new_fontx != 0) continue;
        PixMap sample;
        Chunk_ReadPix(sample, int32_t(e.stored_fontx), "FONX");
        a_pixmap_owner owned(sample);
        e.new_fontx = g_font_subst_dialog.Call_Or(
            [&e] {
                a_dialog_request q;
                q.layout = DLOG_ONE_BUTTON;
                q.message = "Choose a substitute for the missing font: " + Utf16_To_Utf8(e.name);
                q.buttons = {Utf16_To_Utf8(Font_Name(Font_Base_Proportional()))};
                (void)Dialog_Ask(q);
                return uint32_t(Font_Base_Proportional());
            },
            e, *owned);
    }
}

// Reads the project into g_doc, which it replaces once the template reads
// (`replaced`); the caller finishes the document.
bool Read_Project(std::vector<uint8_t>& bytes, const std::string& path, bool& replaced) {
    g_report = a_disc_report{};
    a_defect_set& defects = g_report.defects;
    if (!Read_V4_Preamble(bytes, defects)) return false;
    Chunk_Init(DISC_PREAMBLE_BYTES, bytes);
    auto t = std::make_unique<a_template>();
    Read_Template(*t, defects);
    a_ctemplate sheet{};
    bool carried = false;
    if (No_Serious_Defects(defects)) Read_Sheet_Text(*t, sheet, carried, defects);
    std::vector<a_font_map_entry> fonts;
    // The open document is replaced only by a project whose template reads.
    replaced = No_Serious_Defects(defects);
    if (replaced) {
        if (g_doc.doc_open) Doc_Dispose();
        g_doc.doc_template = *t;
        g_doc.doc_print = a_print_info{};
        Read_Font_Table(fonts, defects);
    }
    if (No_Serious_Defects(defects)) Read_Media_Specs();
    for (uint32_t ux = 1; ux <= t->nunits && No_Serious_Defects(defects); ++ux) Read_Unit(ux, defects);
    if (No_Serious_Defects(defects)) g_report.missing_pictures = Read_Embedded(path, defects);
    if (No_Serious_Defects(defects)) {
        Ask_Font_Subst(fonts);
        Remap_Fonts(fonts);
    }
    Chunk_Stop();
    // The sheet the project brought, in the chooser from now on.
    if (carried && No_Serious_Defects(defects)) Project_Sheet_Add(sheet);
    return No_Serious_Defects(g_report.defects);
}

bool Read_DISC_Bytes(std::vector<uint8_t>& bytes, const std::string& path) {
    bool replaced = false;
    const bool ok = Read_Project(bytes, path, replaced);
    if (replaced) Finish_Document(ok, path);
    Note_Defects();
    return ok;
}

bool Read_DISC(bool append, const std::string& path) {
    std::vector<uint8_t> bytes;
    if (File_Read_Limited(path, DISC_MAX_BYTES, bytes) != a_file_read::OK) {
        g_report = a_disc_report{};
        Add_Defect(g_report.defects, DEFECT_FILE_OPEN);
        return false;
    }
    if (append && Is_V3_Bytes(bytes)) return Read_V3_Into(bytes, path);
    bool ok = append ? Import_DISC_Bytes(bytes, path, g_doc.upx) : Read_DISC_Bytes(bytes, path);
    // A project of an earlier major version opens only through the import.
    if (!append && Has_Defect(g_report.defects, DEFECT_FILE_VERSION) && bytes.size() >= 4 &&
        bytes[0] == 0xCD && bytes[1] == 0xCD && (bytes[2] << 8 | bytes[3]) < DISC_VERSION)
        OK_Alert(ALERT_OLD_PROJECT, false);
    return ok;
}

bool Is_DISC_File(const std::string& path) {
    std::vector<uint8_t> bytes;
    a_defect_set d = 0;
    if (File_Read_Limited(path, DISC_MAX_BYTES, bytes) != a_file_read::OK || !Read_V4_Preamble(bytes, d))
        return false;
    Chunk_Init(DISC_PREAMBLE_BYTES, bytes);
    bool found = Chunk_Find(1, "PREV");
    Chunk_Stop();
    return found;
}

bool Scan_DISC_Preview(PixMap& preview, const std::string& path) {
    std::vector<uint8_t> bytes;
    a_defect_set d = 0;
    if (File_Read_Limited(path, DISC_MAX_BYTES, bytes) != a_file_read::OK || !Read_V4_Preamble(bytes, d))
        return false;
    Chunk_Init(DISC_PREAMBLE_BYTES, bytes);
    Chunk_ReadPix(preview, 1, "PREV");
    Chunk_Stop();
    // Previews are written 32-bit; any other depth is damage, and its
    // readers would take its rows for longer ones.
    if (!Is_Null_PixMap(preview) && preview.pixelSize != 32) Dispose_PixMap(preview);
    return !Is_Null_PixMap(preview);
}
