#include "artdb/art_survey.h"

#include <cstring>

#include "artdb/art_records.h"

a_record_kind Record_Kind(const a_keyset& key) {
    if (key.a == 3) return a_record_kind::GRADIENT;
    if (key.a == 6) return a_record_kind::SOUND;
    if (key.a == 7 && key.b == 0) return a_record_kind::BORDER_DIRECTORY;
    return a_record_kind::PICTURE;
}

namespace {

void Survey_Picture(const std::vector<uint8_t>& rec, a_record_info& info) {
    a_kpixt_header h;
    a_record_status st = KPixt_Read_Header(rec.data(), rec.size(), h);
    std::vector<uint8_t> pixels;
    if (st == a_record_status::OKAY) {
        info.width = h.width;
        info.height = h.height;
        info.depth = h.pixelsize;
        info.flags = h.flags;
        st = KPixt_Decode(rec.data(), rec.size(), h, pixels);
    }
    if (st == a_record_status::BAD_DEPTH)
        info.problem = "picture depth not 8, 16 or 32";
    else if (st == a_record_status::NO_MEMORY)
        info.problem = "out of memory";
    else if (st != a_record_status::OKAY)
        info.problem = "damaged picture";
}

}  // namespace

a_record_info Record_Survey(int filex, int index) {
    a_record_info info;
    const a_map_item& m = Map_Item(filex, index);
    info.key = m.key;
    info.filex = filex;
    info.len = m.len;
    info.kind = Record_Kind(m.key);
    std::vector<uint8_t> rec;
    if (!OP_Read(filex, index, rec)) {
        info.problem = "unreadable";
    } else if (info.kind == a_record_kind::PICTURE) {
        Survey_Picture(rec, info);
    } else if (info.kind == a_record_kind::GRADIENT) {
        std::vector<uint32_t> bands;
        if (Grad_Decode(rec.data(), rec.size(), bands))
            info.bands = static_cast<int>(bands.size());
        else
            info.problem = "damaged gradient";
    } else if (info.kind == a_record_kind::BORDER_DIRECTORY) {
        a_bord_res res;
        if (!Bord_Decode(rec.data(), rec.size(), res)) {
            info.problem = "damaged border directory";
        } else {
            info.borders = static_cast<int>(res.bords.size());
            for (const a_bord_spec& b : res.bords)
                if (!OP_Exists(b.key)) info.problem = "border " + Key_To_String(b.key) + " missing";
        }
    } else {
        a_sound s;
        if (Sound_Decode(rec.data(), rec.size(), s)) {
            info.samples = static_cast<int>(s.samples.size());
            info.rate = s.rate;
        } else {
            info.problem = "damaged sound";
        }
    }
    info.damaged = !info.problem.empty();
    return info;
}

std::vector<a_record_info> Art_Survey(int category) {
    std::vector<a_record_info> out;
    // Walk the union of the maps in key order; the newest database holding a key serves it.
    std::vector<int> pos(OP_Count() + 1, 1);
    for (;;) {
        int best = 0;
        for (int f = OP_Count(); f >= 1; --f) {
            if (pos[f] > Map_Count(f)) continue;
            if (!best || Compare_Keys(Map_Item(f, pos[f]).key, Map_Item(best, pos[best]).key) < 0)
                best = f;
        }
        if (!best) break;
        a_keyset key = Map_Item(best, pos[best]).key;
        if (category < 0 || key.a == category) out.push_back(Record_Survey(best, pos[best]));
        for (int f = 1; f <= OP_Count(); ++f)
            if (pos[f] <= Map_Count(f) && Equal_Keys(Map_Item(f, pos[f]).key, key)) ++pos[f];
    }
    return out;
}

a_rgb_image Pixt_Image(const PixMap& map, bool alpha) {
    a_rgb_image img;
    img.width = map.bounds.right - map.bounds.left;
    img.height = map.bounds.bottom - map.bounds.top;
    img.bgra.resize(size_t(img.width) * img.height * 4);
    img.alpha = alpha && map.pixelSize == 32;
    uint32_t table[256];
    CTabHandle_To_Map(map.pmTable, table);
    for (int y = 0; y < img.height; ++y) {
        const uint8_t* row = map.baseAddr + size_t(y) * PixMap_RowBytes(map);
        uint8_t* out = img.bgra.data() + size_t(y) * img.width * 4;
        for (int x = 0; x < img.width; ++x, out += 4) {
            if (map.pixelSize == 32) {
                std::memcpy(out, row + 4 * x, 4);
            } else if (map.pixelSize == 16) {
                unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
                out[0] = uint8_t((v & 31) * 255 / 31);
                out[1] = uint8_t(((v >> 5) & 31) * 255 / 31);
                out[2] = uint8_t(((v >> 10) & 31) * 255 / 31);
            } else {
                uint32_t c = table[row[x]];
                out[0] = uint8_t(c), out[1] = uint8_t(c >> 8), out[2] = uint8_t(c >> 16);
            }
            if (!img.alpha) out[3] = 255;
        }
    }
    return img;
}

bool Art_Picture_Image(const a_keyset& key, a_rgb_image& image) {
    int index = 0, filex = 0;
    std::vector<uint8_t> rec;
    if (!Map_Find(index, filex, key) || !OP_Read(filex, index, rec)) return false;
    a_kpixt_header h;
    std::vector<uint8_t> pixels;
    if (KPixt_Read_Header(rec.data(), rec.size(), h) != a_record_status::OKAY ||
        KPixt_Decode(rec.data(), rec.size(), h, pixels) != a_record_status::OKAY)
        return false;
    PixMap map;
    CTabHandle ctab = (h.flags & PIXT_GRAY)    ? gray_ctable
                      : (h.flags & PIXT_GRAY2) ? gray_ctable2
                                               : &g_video.main_colors32;
    New_Empty_PixMap(map, Rect{0, 0, h.height, h.width}, h.pixelsize,
                     h.pixelsize <= 8 ? ctab : nullptr);
    map.baseAddr = pixels.data();
    map.rowBytes = h.rowbytes;
    image = Pixt_Image(map, (h.flags & PIXT_TRANSPARENT) != 0);
    return true;
}

a_rgb_image Art_Sheet(int category, int klass, int& count) {
    std::vector<a_sheet_tile> tiles;
    for (const a_record_info& info : Art_Survey(category)) {
        if (info.kind != a_record_kind::PICTURE || (klass >= 0 && info.key.b != klass)) continue;
        a_sheet_tile tile;
        tile.label = Key_To_String(info.key);
        if (!Art_Picture_Image(info.key, tile.image)) tile.label += " damaged";
        tiles.push_back(std::move(tile));
    }
    count = static_cast<int>(tiles.size());
    return Contact_Sheet(tiles, 8, 128);
}
