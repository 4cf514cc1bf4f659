#include "print/flex_jobs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/messages.h"
#include "base/string_ids.h"
#include "images/image_files.h"
#include "model/doc_media.h"
#include "model/document.h"
#include "pixels/blit.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "print/pcl.h"
#include "print/print_adjust.h"
#include "print/print_render.h"

a_service<std::string(const std::string& title)> g_flex_folder_choice;

namespace {


std::string Join(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string Base_Name(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int32_t Ranged(int v, a_slider_range r) { return v < r.minval || v > r.maxval ? r.defaultval : v; }

void Put32(uint8_t* p, int32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(uint32_t(v) >> (8 * i));
}

int32_t Get32(const uint8_t* p) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(p[i]) << (8 * i);
    return int32_t(v);
}

}  // namespace

std::string Flex_Ticket_Text(const a_flex_ticket& t) {
    char job = t.burn && t.print ? 'A' : !t.burn ? 'P' : 'B';
    static const char kSpeed[] = {'L', 'M', 'H', 'D'};
    int speed = t.speed >= 1 && t.speed <= 4 ? t.speed : 2;
    int copies = std::clamp(t.copies, 1, 9999);
    char buf[32];
    std::snprintf(buf, sizeof buf, "<024,01,%c,%04d,%04d,%c,%c>", job, copies, copies,
                  kSpeed[speed - 1], t.verify ? '1' : '0');
    return buf;
}

bool Flex_Write_Ticket(const std::string& path, const a_flex_ticket& t) {
    std::string s = Flex_Ticket_Text(t);
    return File_SaveAtomic(path, s.data(), s.size());
}

bool Flex_Write_Preview(const std::string& path) {
    std::vector<uint8_t> bytes;
    return Flex_Preview_Bytes(bytes) && File_SaveAtomic(path, bytes.data(), bytes.size());
}

bool Flex_Preview_Bytes(std::vector<uint8_t>& out) {
    if (g_doc.doc_template.nunits < 1) return false;
    a_gworld_ptr w = Print_Render_Unit(1, 72);
    if (!w) return false;
    Apply_Unit_Flips(w.get(), g_doc.doc_template.Unit(1).uflags);
    const a_frect& b = g_doc.doc_template.Unit(1).bbox;
    int tw = std::max(1, int(std::lround((b.right - b.left) * 72 / 25.4)));
    int th = std::max(1, int(std::lround((b.bottom - b.top) * 72 / 25.4)));
    Rect r{0, 0, int16_t(th), int16_t(tw)};
    a_gworld_ptr thumb = Make_GWorld(32, r);
    if (!thumb) return false;
    Bicubic_Blt(w->pix, thumb->pix, w->pix.bounds, r);
    return Export_World_Bytes(FMT_JPEG, 72, thumb.get(), out) == 0;
}

std::string Find_FlexStix(const std::vector<std::string>& mounts) {
    std::vector<std::string> list = mounts.empty() ? Removable_Media_Roots() : mounts;
    for (const std::string& m : list)
        if (Base_Name(m) == "FlexStix") return m;
    return {};
}

bool Flex_Calc_Folder(bool& is_stick, std::string& folder) {
    folder = Find_FlexStix();
    is_stick = !folder.empty();
    if (is_stick) return true;
    if (Ask_YesNoCancel(DLOG_TWO_BUTTONS, STR_NO_FLEXSTIX, STR_OK, STR_CANCEL) != 0) return false;
    std::string title;
    GetIndString(title, MAIN_STR_ID, STR_CHOOSE_FOLDER);
    folder = g_flex_folder_choice.Call_Or([] { return std::string(); }, title);
    return !folder.empty();
}

bool FlexStick_Write_Folder(const std::string& folder, bool is_stick, const a_flex_ticket& t,
                            std::string* error) {
    const std::string ticket = Flex_Ticket_Text(t);
    std::vector<uint8_t> preview, raster;
    bool made = Flex_Preview_Bytes(preview) && Emit_PCL(raster);
    if (!made && error) *error = folder + ": the label could not be rendered";
    bool ok = made && File_SaveAll({{Join(folder, "flexlabl.jpg"), preview.data(), preview.size()},
                                    {Join(folder, "flexlabl.pcl"), raster.data(), raster.size()},
                                    {Join(folder, "flexset.txt"), ticket.data(), ticket.size()}},
                                   error);
    if (!ok) {
        OK_Alert(ALERT_CANNOT_SAVE, false);
        return false;
    }
    // The files are synced by their save; a stick that cannot be ejected
    // keeps them, but is not announced as ready to be removed.
    if (is_stick && Volume_Eject(folder)) OK_Alert(ALERT_STICK_READY, false);
    return true;
}

bool FlexStick_Write_Job() {
    bool is_stick = false;
    std::string folder;
    if (!Flex_Calc_Folder(is_stick, folder)) return false;
    a_flex_ticket t;
    t.copies = g_print_options.copies;
    t.speed = g_print_options.flex_speed;
    t.burn = g_print_options.flex_burn;
    t.print = g_print_options.flex_print;
    t.verify = g_print_options.flex_verify;
    return FlexStick_Write_Folder(folder, is_stick, t);
}

bool FlexLabel_Write_Job(const std::string& documents) {
    std::string root = documents.empty() ? Documents_Folder() : documents;
    std::string folder = Join(Join(root, "FlexWare Files"), "Print Files");
    bool ok = Folder_Create(folder) && Flex_Write_PRN(Join(folder, "Output.prn"));
    OK_Alert(ok ? ALERT_PRINT_FILE_WRITTEN : ALERT_CANNOT_SAVE, false);
    return ok;
}

long Find_Monet_Private(const uint8_t* extra, size_t size) {
    if (!extra || size < MONET_PRIVATE_SIZE) return -1;
    for (size_t i = 0; i + MONET_PRIVATE_SIZE <= size; ++i)
        if (std::memcmp(extra + i, "DYMO", 4) == 0) return long(i);
    return -1;
}

bool Fill_Monet_Private(uint8_t* extra, size_t size, const a_print_media_spec& media, bool is_120mm) {
    long at = Find_Monet_Private(extra, size);
    if (at < 0) return false;
    uint8_t* p = extra + at;
    a_direct_print_kind dkind = is_120mm ? CD_DIRECT : MINICD_DIRECT;
    int32_t quality = Ranged(media.adj[MEDIA_QUALITY], Print_Adjust_Range(MEDIA_QUALITY, dkind));
    int32_t density = Ranged(media.adj[MEDIA_DENSITY], Print_Adjust_Range(MEDIA_DENSITY, dkind));
    Put32(p + offsetof(a_monet_private, print_quality), quality);
    for (int i = 0; i < 4; ++i) Put32(p + offsetof(a_monet_private, ink_density) + 4 * i, density);
    Put32(p + offsetof(a_monet_private, media_size), is_120mm ? 3 : 1);
    int32_t inner = media.adj[MEDIA_INNERD] / 10, outer = (media.adj[MEDIA_OUTERD] + 9) / 10;
    size_t in_off = is_120mm ? offsetof(a_monet_private, full_120_inner)
                             : offsetof(a_monet_private, full_80_inner);
    Put32(p + in_off, inner);
    Put32(p + in_off + 4, outer);
    return true;
}

std::vector<a_job_option> Monet_Job_Options(const a_print_media_spec& media, bool is_120mm) {
    uint8_t rec[MONET_PRIVATE_SIZE] = {'D', 'Y', 'M', 'O'};
    if (!Fill_Monet_Private(rec, sizeof rec, media, is_120mm)) return {};
    auto field = [&](size_t offset) { return std::to_string(Get32(rec + offset)); };
    size_t inner = is_120mm ? offsetof(a_monet_private, full_120_inner) : offsetof(a_monet_private, full_80_inner);
    std::string size = is_120mm ? "120" : "80";
    return {
        {"PageSize", "", is_120mm ? 0 : 1},
        {"PrintQuality", field(offsetof(a_monet_private, print_quality))},
        {"InkDensity", field(offsetof(a_monet_private, ink_density))},
        {"MediaSize", field(offsetof(a_monet_private, media_size))},
        {"Full" + size + "Inner", field(inner)},
        {"Full" + size + "Outer", field(inner + 4)},
    };
}
