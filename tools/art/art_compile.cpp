// art_compile OUTPUT DATA_DIR: runs every art generator and writes the art
// database. The same sources give the same bytes on every run.
#include <cstdio>
#include <string>
#include <vector>

#include "art_encode.h"
#include "platform/app.h"
#include "platform/files.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: art_compile OUTPUT.ART4 DATA_DIR\n");
        return 2;
    }
    if (!Platform_Init(true)) {  // the JPEG codec of the toolkit
        std::fprintf(stderr, "art_compile: could not start the toolkit\n");
        return 1;
    }
    std::vector<a_art_item> items;
    std::string error;
    std::vector<uint8_t> file;
    if (!Art_Generate_All(argv[2], items, error) || !Art_Compile(items, file, error) ||
        !File_SaveAtomic(argv[1], file.data(), file.size(), &error)) {
        std::fprintf(stderr, "art_compile: %s\n", error.c_str());
        Platform_Stop();
        return 1;
    }
    std::printf("art_compile: %zu records, %zu bytes\n", items.size(), file.size());
    Platform_Stop();
    return 0;
}
