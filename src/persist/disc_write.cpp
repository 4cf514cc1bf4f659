#include "persist/disc_write.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>

#include "images/pack.h"
#include "base/messages.h"
#include "persist/chunk_stream.h"
#include "persist/embedded.h"
#include "persist/photo_chunks.h"
#include "persist/project_file.h"
#include "persist/text_chunks.h"
#include "persist/unit_picture.h"
#include "pixels/blit.h"
#include "platform/files.h"
#include "platform/font_sample.h"
#include "platform/fonts.h"

namespace {

constexpr int kProgressSteps = 200;
constexpr int kFontSampleWidth = 240;
constexpr int kFontSampleHeight = 16;
constexpr uint32_t kMidGrey = 0xFF808080;
constexpr int kThumbOversample = 2;

void Tick(int step) { Progress_Tick(kProgressSteps, step); }

std::vector<std::string> g_notes;

void Note_Long_Paths(const a_long_paths& p) {
    if (p.kept > 0)
        g_notes.push_back(std::to_string(p.kept) +
                          " photo path(s) longer than 255 bytes: kept whole in a chunk of their own "
                          "(programs that do not read it see the path cut)");
    if (p.cut > 0)
        g_notes.push_back(std::to_string(p.cut) +
                          " photo path(s) longer than 255 bytes could not be kept whole: the photo may be "
                          "missing when the project is opened again");
}

void Fill(PixMap& pm, uint32_t value) {
    for (int y = pm.bounds.top; y < pm.bounds.bottom; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(PixMap_Row(pm, y));
        std::fill(row, row + Rect_Width(pm.bounds), value);
    }
}


}  // namespace

a_gworld_ptr Gen_Thumbnail() {
    const a_template& t = g_doc.doc_template;
    float px = std::max(t.papersize.x, 1.0f), py = std::max(t.papersize.y, 1.0f);
    float scale = std::min(THUMB_WIDTH / px, THUMB_HEIGHT / py);
    int w = std::clamp(int(px * scale + 0.5f), 1, THUMB_WIDTH);
    int h = std::clamp(int(py * scale + 0.5f), 1, THUMB_HEIGHT);
    a_gworld_ptr thumb = Make_GWorld(32, Rect{0, 0, int16_t(h), int16_t(w)});
    if (!thumb) return nullptr;
    Fill(thumb->pix, kMidGrey);
    for (uint32_t ux = 1; ux <= t.nunits; ++ux) {
        const a_frect& bb = t.units[ux].bbox;
        Rect r{int16_t(bb.top * scale), int16_t(bb.left * scale), int16_t(bb.bottom * scale + 0.5f),
               int16_t(bb.right * scale + 0.5f)};
        r = Rect_Sect(r, thumb->pix.bounds);
        if (Rect_IsEmpty(r)) continue;
        // Drawn at twice the preview's size and scaled down: letters and
        // edges come out smooth, and the cost is that of a small picture.
        const Rect size{0, 0, int16_t(Rect_Height(r) * kThumbOversample),
                        int16_t(Rect_Width(r) * kThumbOversample)};
        a_gworld_ptr unit = Render_Unit_Sized(ux, size);
        if (unit) Bicubic_Blt(unit->pix, thumb->pix, unit->pix.bounds, r);
    }
    return thumb;
}

std::vector<uint32_t> Document_Fonts() {
    std::vector<uint32_t> fonts;
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits; ++ux) {
        const a_doc_unit* u = g_doc.doc_units[ux];
        if (!u || u->clonef) continue;
        for (int i = 1; i <= u->oj.nlist; ++i) {
            if (u->oj.list[i].kind != TEXT_BLOCK || !u->oj.list[i].om) continue;
            uint32_t f = u->oj.list[i].om->fontx;
            if (f != 0 && fonts.size() < MAX_FONT_TABLE &&
                std::find(fonts.begin(), fonts.end(), f) == fonts.end())
                fonts.push_back(f);
        }
    }
    return fonts;
}

void Write_Font_Samples(const std::vector<uint32_t>& fontxs) {
    const Rect r{0, 0, kFontSampleHeight, kFontSampleWidth};
    for (uint32_t f : fontxs) {
        a_gworld_ptr w = Make_GWorldF("font sample", r, 8, gray_ctable);
        std::vector<uint8_t> grey = Font_Sample_Gray(Font_Name(int(f)), kFontSampleWidth, kFontSampleHeight);
        // The grey table runs from white (0) to black (255).
        for (int y = 0; y < kFontSampleHeight; ++y) {
            uint8_t* row = PixMap_Row(w->pix, y);
            for (int x = 0; x < kFontSampleWidth; ++x) row[x] = uint8_t(255 - grey[size_t(y * kFontSampleWidth + x)]);
        }
        Chunk_WriteWorld(r, w.get(), int32_t(f), "FONX");
    }
}

void Write_OJ(const a_oj_item& item) {
    uint8_t head[2] = {item.flags, item.kind};
    Chunk_WriteRaw(2, head);
    switch (item.kind) {
    case PHOTO_BLOCK:
    case SYMBOL_BLOCK:
    case SLOT_BLOCK:
        Write_PH(item.ph ? *item.ph : a_ph_rec{});
        break;
    case TEXT_BLOCK:
        if (item.om) Write_OM(*item.om);
        else Write_OM(*std::make_unique<a_om_rec>());
        break;
    default:
        break;
    }
}

void Write_Object_Table(const a_doc_unit& u, uint32_t ux) {
    Chunk_WriteStart(int32_t(ux), "OBJT");
    Chunk_WriteInt16(2);
    // A collage being built is not part of the project until its OK.
    int n = 0;
    for (int i = 1; i <= u.oj.nlist; ++i) n += u.oj.list[i].kind != SLOT_BLOCK || !Pack_Active();
    Chunk_WriteInt32(n);
    for (int i = 1; i <= u.oj.nlist; ++i)
        if (u.oj.list[i].kind != SLOT_BLOCK || !Pack_Active()) Write_OJ(u.oj.list[i]);
    Chunk_WriteStop();
}

void Write_Unit(uint32_t ux) {
    const a_doc_unit* u = g_doc.doc_units[ux];
    if (!u) return;
    Write_UnitHeader(*u, ux);
    if (u->clonef) return;
    // The paint before the block table: a file cut inside the paint then
    // loses the table too, which is refused, where the other order would
    // lose the paint's mask unnoticed.
    Write_Paint_Layer(*u, ux);
    Write_Object_Table(*u, ux);
}

const std::vector<std::string>& Disc_Write_Notes() { return g_notes; }

int16_t Write_DISC_Bytes(std::vector<uint8_t>& out) {
    out.clear();
    g_notes.clear();
    Progress_Init();
    Tick(0);
    Chunk_Init(DISC_PREAMBLE_BYTES, out);
    Write_V4_Preamble();
    a_gworld_ptr thumb = Gen_Thumbnail();
    if (thumb) Chunk_WriteWorld(thumb->pix.bounds, thumb.get(), 1, "PREV");
    Tick(30);
    Write_Template(g_doc.doc_template);
    Write_Sheet_Text(g_doc.doc_template);
    std::vector<uint32_t> fonts = Document_Fonts();
    Write_Font_Table(fonts);
    Write_Font_Samples(fonts);
    Write_Media_Specs();
    Tick(60);
    const uint32_t n = g_doc.doc_template.nunits;
    for (uint32_t ux = 1; ux <= n; ++ux) {
        Write_Unit(ux);
        Tick(60 + int(ux * 60 / std::max<uint32_t>(n, 1)));
    }
    Tick(125);
    Note_Long_Paths(Write_Embedded([](int permille) { Tick(125 + permille * 55 / 1000); }));
    int16_t err = g_chunk.err;
    Chunk_Stop();
    Tick(kProgressSteps);
    Progress_Stop();
    return err;
}

int16_t Write_DISC(const std::string& path, std::string* error, size_t max_bytes) {
    std::vector<uint8_t> bytes;
    int16_t err = Write_DISC_Bytes(bytes);
    if (err != 0) {
        if (error) *error = path + ": the project could not be put together";
        return err;
    }
    if (bytes.size() > max_bytes) {
        constexpr size_t mb = size_t(1) << 20;
        if (error)
            *error = path + ": the project would be " + std::to_string((bytes.size() + mb - 1) / mb) +
                     " MB, more than the " + std::to_string(max_bytes / mb) +
                     " MB a project can have; link its photos instead of embedding them";
        return DISC_WRITE_TOO_LARGE;
    }
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
        if (error) *error = path + ": no such folder";
        return DISC_WRITE_NOT_CREATED;
    }
    if (!File_SaveAtomic(path, bytes.data(), bytes.size(), error)) return CHUNK_ERR_IO;
    return 0;
}
