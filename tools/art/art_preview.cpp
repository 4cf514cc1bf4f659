// art_preview: writes contact sheets of the generated art, one PNG per
// category (canvases per class), and prints counts, estimated sizes and the
// generation time.
//   art_preview OUTPUT_DIR [DATA_DIR]
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>

#include "art_items.h"
#include "art_sheet.h"
#include "platform/app.h"

namespace {

const char* Category_Name(int a) {
    switch (a) {
        case 1: return "canvas-full";
        case 2: return "canvas";
        case 3: return "gradients";
        case 6: return "sounds";
        case 7: return "borders";
        case 8: return "stamps";
        case 10: return "patterns";
        case 11: return "symbols";
        case 12: return "interface";
        default: return "other";
    }
}

bool Write_Sheet(const std::string& dir, const std::vector<a_art_item>& items, int a, int b) {
    a_art_picture sheet = Art_Contact_Sheet(items, a, b);
    if (sheet.width == 0) return true;
    std::string name = dir + "/" + Category_Name(a) + (b >= 0 ? "-" + std::to_string(b) : "") +
                       ".png";
    if (!Art_Write_Png(name, sheet)) {
        std::fprintf(stderr, "art_preview: cannot write %s\n", name.c_str());
        return false;
    }
    std::printf("wrote %s\n", name.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: art_preview OUTPUT_DIR [DATA_DIR]\n");
        return 2;
    }
    std::string out = argv[1], data = argc == 3 ? argv[2] : CIRQUEL_ART_DATA;
    std::vector<a_art_item> items;
    std::string error;
    auto start = std::chrono::steady_clock::now();
    if (!Art_Generate_All(data, items, error)) {
        std::fprintf(stderr, "art_preview: %s\n", error.c_str());
        Platform_Stop();
        return 1;
    }
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    std::map<int, std::pair<int, size_t>> per_category;
    for (const a_art_item& item : items) {
        auto& [count, bytes] = per_category[item.key.a];
        ++count;
        bytes += Art_Estimated_Size(item) + 20;
    }
    size_t total = 0;
    for (const auto& [a, stats] : per_category) {
        std::printf("category %2d %-12s %5d items  ~%8.2f MB\n", a, Category_Name(a),
                    stats.first, double(stats.second) / 1e6);
        total += stats.second;
    }
    std::printf("%zu items, ~%.2f MB, generated in %.2f s\n", items.size(), double(total) / 1e6,
                secs);
    bool ok = true;
    for (const auto& [a, stats] : per_category) {
        if (a == 1 || a == 2) {
            for (int b = 0; b < 6; ++b) ok = Write_Sheet(out, items, a, b) && ok;
        } else {
            ok = Write_Sheet(out, items, a, -1) && ok;
        }
    }
    // The about box and start screen at their own size.
    for (const a_art_item& item : items)
        if (item.key.a == 12 && (item.key.b == 128 || item.key.b == 129))
            ok = Art_Write_Png(out + "/interface-" + std::to_string(item.key.b) + ".png",
                               item.picture) && ok;
    // The toolkit must stop before static destructors run.
    Platform_Stop();
    return ok ? 0 : 1;
}
