// Writes the seed corpus of the art-database fuzz target: the test
// generator's database (every record kind and compression) and a database
// of one record per kind, so nothing binary is kept in the source tree.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "art/mini_gen.h"
#include "art_encode.h"
#include "platform/app.h"
#include "platform/files.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    if (!Platform_Init(true)) return 1;
    std::filesystem::create_directories(argv[1]);
    std::vector<a_art_item> items;
    Art_Generate_Mini(items);
    std::string error;
    std::vector<uint8_t> file;
    int status = 0;
    // Every item alone, then all of them together.
    for (size_t i = 0; i <= items.size() && status == 0; ++i) {
        std::vector<a_art_item> some = i < items.size() ? std::vector<a_art_item>{items[i]} : items;
        std::string path = std::string(argv[1]) + "/seed" + std::to_string(i) + ".ART4";
        if (!Art_Compile(some, file, error) ||
            !File_SaveAtomic(path, file.data(), file.size(), &error)) {
            std::fprintf(stderr, "artdb_seeds: %s\n", error.c_str());
            status = 1;
        }
    }
    Platform_Stop();
    return status;
}
