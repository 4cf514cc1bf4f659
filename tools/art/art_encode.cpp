#include "art_encode.h"

namespace {

a_keyset Key(const a_art_key& k) {
    return a_keyset{k.a, k.b, k.c, k.d};
}

a_pixt_codec Codec(a_art_codec c) {
    switch (c) {
        case a_art_codec::RAW:
            return a_pixt_codec::RAW;
        case a_art_codec::PACKBITS:
            return a_pixt_codec::PACKBITS;
        case a_art_codec::LZW:
            return a_pixt_codec::LZW;
        case a_art_codec::JPEG:
            return a_pixt_codec::JPEG;
    }
    return a_pixt_codec::RAW;
}

bool Encode_Picture_Item(const a_art_picture& pic, std::vector<uint8_t>& out, std::string& error) {
    size_t want = size_t(pic.width) * pic.height * (pic.depth / 8);
    if (pic.width <= 0 || pic.height <= 0 || pic.pixels.size() != want) {
        error = "pixels do not match the picture size";
        return false;
    }
    a_pixt_source src;
    src.width = pic.width;
    src.height = pic.height;
    src.depth = pic.depth;
    src.stride = size_t(pic.width) * (pic.depth / 8);
    src.pixels = pic.pixels.data();
    src.flags =
        static_cast<uint8_t>((pic.gray ? PIXT_GRAY : 0) | (pic.transparent ? PIXT_TRANSPARENT : 0));
    return Encode_Picture(src, Codec(pic.codec), pic.jpeg_quality, out, error);
}

}  // namespace

bool Art_Encode_Item(const a_art_item& item, a_db_entry& entry, std::string& error) {
    entry = a_db_entry{};
    entry.key = Key(item.key);
    switch (item.kind) {
        case a_art_kind::PICTURE:
            if (!Encode_Picture_Item(item.picture, entry.data, error)) {
                error = Key_To_String(entry.key) + " (" + item.name + "): " + error;
                return false;
            }
            return true;
        case a_art_kind::GRADIENT:
            entry.data = Encode_Gradient(item.gradient.bands);
            return true;
        case a_art_kind::BORDER_DIRECTORY: {
            a_bord_res res;
            for (const a_art_border& b : item.borders) {
                auto rect = [](const int16_t r[4]) { return Rect{r[0], r[1], r[2], r[3]}; };
                res.bords.push_back({Key(b.key), b.klass, rect(b.corn_piece), rect(b.side_piece),
                                     rect(b.sliv_piece)});
            }
            entry.data = Encode_Border_Directory(res);
            return true;
        }
        case a_art_kind::SOUND:
            entry.data = Encode_Sound(item.sound.rate, item.sound.samples);
            return true;
    }
    return false;
}

bool Art_Compile(const std::vector<a_art_item>& items, std::vector<uint8_t>& file,
                 std::string& error) {
    std::vector<a_db_entry> entries;
    entries.reserve(items.size());
    for (const a_art_item& item : items) {
        a_db_entry e;
        if (!Art_Encode_Item(item, e, error)) return false;
        entries.push_back(std::move(e));
    }
    return Build_Database(std::move(entries), file, error);
}
