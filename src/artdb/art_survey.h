// Looking over the open art databases without ending the program on a
// damaged record: what each record is, decoding it to check it, and
// pictures turned into plain images for export and contact sheets.
// Process-wide state: reads the open art files through the database.
#pragma once
#include <string>
#include <vector>

#include "artdb/database.h"
#include "artdb/pixt.h"
#include "platform/image_out.h"

enum class a_record_kind { PICTURE, GRADIENT, BORDER_DIRECTORY, SOUND };

struct a_record_info {
    a_keyset key;
    int filex = 0;
    int32_t len = 0;
    a_record_kind kind = a_record_kind::PICTURE;
    bool damaged = false;
    std::string problem;
    // pictures
    int width = 0, height = 0, depth = 0;
    uint8_t flags = 0;
    // gradients, border directories, sounds
    int bands = 0, borders = 0, samples = 0, rate = 0;
};

// The kind a key's category stores.
a_record_kind Record_Kind(const a_keyset& key);
// Reads and fully decodes entry `index` of database `filex`.
a_record_info Record_Survey(int filex, int index);
// Every record visible through the open databases (newest first wins), in
// key order; `category` -1 for all.
std::vector<a_record_info> Art_Survey(int category);

// Decoded pixels as an image: 8-bit pictures through their colour table;
// with `alpha` (transparent 32-bit pictures) the fourth byte is kept as alpha.
a_rgb_image Pixt_Image(const PixMap& map, bool alpha);
// Decodes one picture record of the open databases; false when absent or damaged.
[[nodiscard]] bool Art_Picture_Image(const a_keyset& key, a_rgb_image& image);
// A contact sheet of every picture of `category` (and class `klass`, -1 for
// all), labelled with keys; `count` receives the number of pictures.
a_rgb_image Art_Sheet(int category, int klass, int& count);
