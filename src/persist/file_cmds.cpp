#include "persist/file_cmds.h"

#include <filesystem>
#include <vector>

#include "base/messages.h"
#include "base/recent_projects.h"
#include "base/string_ids.h"
#include "model/document.h"
#include "model/history_ops.h"
#include "model/notices.h"
#include "persist/disc_read.h"
#include "persist/disc_write.h"
#include "render/compositor.h"
#include "text/text_layout.h"
#include "text/text_metrics.h"
#include "platform/recent_docs.h"

a_file_services g_file_services;

namespace {

struct a_preview_cache {
    std::string path;
    PixMap pix;
};
a_preview_cache g_preview;

enum a_save_answer { ANSWER_SAVE = 0, ANSWER_DONT_SAVE = 1, ANSWER_CANCEL = 2 };

// The save-changes question; Save / Don't Save / Cancel. Only for a changed
// document: an unchanged one answers Don't Save without asking.
a_save_answer Ask_Save_Changes(int prompt) {
    if (!g_doc.doc_open || !g_doc.doc_changed) return ANSWER_DONT_SAVE;
    return a_save_answer(Confirm_Msg(DLOG_THREE_BUTTONS, prompt, STR_SAVE, STR_DONT_SAVE, STR_CANCEL));
}

// False when the user cancelled or the save failed.
bool Settle_Changes(int prompt) {
    switch (Ask_Save_Changes(prompt)) {
    case ANSWER_SAVE:
        return Do_File_Save();
    case ANSWER_DONT_SAVE:
        return true;
    default:
        return false;
    }
}

bool Ends_With_Nocase(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size()) return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(uint8_t(s[s.size() - tail.size() + i])) != std::tolower(uint8_t(tail[i]))) return false;
    return true;
}

// A project's text blocks come without their layout: made here, so that
// their frames and boxes are there before the first drawing.
void Lay_Out_Text_Blocks() {
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
        a_doc_unit* u = g_doc.doc_units[ux];
        if (!u || u->clonef) continue;
        for (int i = 1; i <= u->oj.nlist; ++i)
            if (u->oj.list[i].kind == TEXT_BLOCK && u->oj.list[i].om)
                OM_Recalc_On(*u->oj.list[i].om, i, Doc_Text_Unit(ux));
    }
}

// The start screen's list and the desktop's; the desktop's may fail quietly.
void Recent_Add(const std::string& path) {
    Recent_Project_Add(path);
    (void)Recent_Document_Add(path, DISC_MIME_TYPE);
}

}  // namespace

bool Doc_Read(const std::string& path) {
    if (Read_DISC(false, path)) {
        Lay_Out_Text_Blocks();
        return true;
    }
    if (g_doc.doc_open) Doc_Dispose();
    OK_Alert(ALERT_CANNOT_READ, false);
    return false;
}

bool Do_Import_Cirquel(const std::string& path) {
    if (!g_doc.doc_open) return false;
    std::string chosen = path;
    if (chosen.empty()) chosen = g_file_services.choose_open.Call_Or([] { return std::string(); });
    if (chosen.empty()) return false;
    if (!Read_DISC(true, chosen)) {
        OK_Alert(ALERT_CANNOT_READ, false);
        return false;
    }
    Lay_Out_Text_Blocks();
    All_Units_PostRender();
    History_Emit(OP_IMPORT);
    return true;
}

bool Do_File_Open(bool skipmsg, const std::string& path) {
    if (Ends_With_Nocase(path, ".ART4")) return false;
    // The file first: the question about unsaved changes is asked only once
    // there is something to open instead.
    std::string chosen = path;
    if (chosen.empty()) chosen = g_file_services.choose_open.Call_Or([] { return std::string(); });
    if (chosen.empty() || Ends_With_Nocase(chosen, ".ART4")) return false;
    if (!skipmsg && !Settle_Changes(STR_SAVE_BEFORE_OPEN)) return false;
    return Do_File_Open2(chosen);
}

bool Do_File_Open2(const std::string& path) {
    std::string chosen = path;
    if (chosen.empty()) chosen = g_file_services.choose_open.Call_Or([] { return std::string(); });
    if (chosen.empty()) return false;
    // The open document kept as project bytes: a file that cannot be read
    // puts it back, with its path and state, instead of leaving none open.
    const bool had = g_doc.doc_open;
    const a_filespec path_was = g_doc.doc_path;
    const bool changed = g_doc.doc_changed, was_new = g_doc.doc_new;
    std::vector<uint8_t> kept;
    if (had && Write_DISC_Bytes(kept) != 0) kept.clear();
    if (had) Doc_Dispose();
    if (Do_File_Open3(chosen, false)) return true;
    if (kept.empty() || g_doc.doc_open || !Read_DISC_Bytes(kept, path_was.name)) return false;
    Lay_Out_Text_Blocks();
    g_doc.doc_path = path_was;
    g_doc.doc_changed = changed;
    g_doc.doc_new = was_new;
    Doc_Name_Changed(Doc_Name());
    return false;
}

bool Do_File_Open3(const std::string& path, bool is_template) {
    if (!Doc_Read(path)) return false;
    g_doc.doc_path = a_filespec{0, 0, path};
    Doc_Name_Changed(Doc_Name());
    if (!is_template) Recent_Add(path);
    return true;
}

void Do_File_Close() {
    if (!g_doc.doc_open || !Settle_Changes(STR_SAVE_BEFORE_CLOSE)) return;
    Doc_Dispose();
}

bool Do_File_Save() {
    if (g_doc.doc_new) return Do_File_SaveAs();
    return Doc_Write(g_doc.doc_path.name, FMT_CIRQUEL);
}

bool Do_File_SaveAs() {
    std::string title;
    Get_DLOG_String(STR_SAVE_AS, title);
    std::string path = g_file_services.choose_save.Call_Or(
        [] { return std::string(); }, title, Doc_Name(),
        int16_t(FMT_CIRQUEL));
    if (path.empty()) return false;
    // The document takes the new path only once it is written there: a
    // failed save leaves it on the file it came from.
    if (!Doc_Write(path, FMT_CIRQUEL)) return false;
    g_doc.doc_path = a_filespec{0, 0, path};
    Doc_Name_Changed(Doc_Name());
    return true;
}

bool Doc_Write(const std::string& dpath, int16_t /*format*/) {
    std::string error;
    if (Write_DISC(dpath, &error) != 0) {
        OK_Alert_Detail(ALERT_CANNOT_SAVE, error);
        return false;
    }
    Recent_Add(dpath);
    g_doc.doc_changed = false;
    g_doc.doc_new = false;
    g_doc_services.history_saved.Call_Or([] {});
    g_doc_services.history_flush.Call_Or([] {});
    std::string notes;
    for (const std::string& n : Disc_Write_Notes()) notes += (notes.empty() ? "" : "; ") + n;
    if (!notes.empty()) OK_Alert_Detail(ALERT_SAVED_WITH_NOTE, notes);
    return true;
}

void Do_File_Revert() {
    if (!g_doc.doc_open || g_doc.doc_new) return;
    // The question is about throwing changes away: Return keeps them.
    if (Confirm_Msg(DLOG_TWO_BUTTONS, STR_REVERT_QUESTION, STR_REVERT, STR_DONT_REVERT, 0, 1) != 0) return;
    const std::string path = g_doc.doc_path.name;
    const bool changed = g_doc.doc_changed;
    // The document as it is, taken back should the file turn out unreadable
    // part-way, after the reader has begun to replace it.
    std::vector<uint8_t> kept;
    if (Write_DISC_Bytes(kept) != 0) kept.clear();
    if (Read_DISC(false, path)) {
        Lay_Out_Text_Blocks();
        Doc_Name_Changed(Doc_Name());
        return;
    }
    OK_Alert(ALERT_CANNOT_READ, false);
    if (g_doc.doc_open) return;  // refused before anything was replaced
    if (kept.empty() || !Read_DISC_Bytes(kept, path)) return;
    Lay_Out_Text_Blocks();
    g_doc.doc_changed = changed;
    Doc_Name_Changed(Doc_Name());
}

void Do_File_Print(const std::string& path) {
    if (g_doc.doc_open) return;
    if (!Doc_Read(path)) return;
    // The printing code reports its own failures; without it, nothing can print.
    (void)g_file_services.print_document.Call_Or([] {
        OK_Alert(ALERT_NO_PRINTER, false);
        return false;
    });
    Doc_Dispose();
}

std::string Export_Name(int16_t format) {
    const char* suffix = nullptr;
    switch (format) {
    case FMT_BMP: suffix = ".BMP"; break;
    case FMT_JPEG: suffix = ".JPEG"; break;
    case FMT_TIFF: suffix = ".TIFF"; break;
    case FMT_PICT: suffix = ".PICT"; break;
    case FMT_PSD: suffix = ".PSD"; break;
    case FMT_PNG: suffix = ".PNG"; break;
    default: InternalError();
    }
    std::string name = Doc_Name();
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name + suffix;
}

void FilePreview_Init() { Set_FilePreview_Null(); }
void FilePreview_Stop() { Set_FilePreview_Null(); }

void Set_FilePreview_Path(const std::string& path) {
    if (path == g_preview.path) return;
    Set_FilePreview_Null();
    g_preview.path = path;
    if (!Scan_DISC_Preview(g_preview.pix, path)) Dispose_PixMap(g_preview.pix);
}

void Set_FilePreview_Null() {
    Dispose_PixMap(g_preview.pix);
    g_preview.path.clear();
}

const PixMap& FilePreview() { return g_preview.pix; }
