// cirquel-thumbnailer [-s SIZE] PROJECT.cd4 OUT.png: the picture file managers
// show for a project (share/thumbnailers/cirquel.thumbnailer runs it).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/startup.h"
#include "thumbnail.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: cirquel-thumbnailer [-s SIZE] PROJECT.cd4 OUT.png   (SIZE 8 to 1024, default 256)\n");
    return 2;
}

bool Parse_Size(const char* s, int& size) {
    char* end = nullptr;
    long v = std::strtol(s, &end, 10);
    if (*s == '\0' || *end != '\0' || v < 8 || v > 1024) return false;
    size = int(v);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int size = 256;
    std::string in, out;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-s") == 0 && i + 1 < argc) {
            if (!Parse_Size(argv[++i], size)) return Usage();
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            Usage();
            return 0;
        } else if (in.empty()) {
            in = argv[i];
        } else if (out.empty()) {
            out = argv[i];
        } else {
            return Usage();
        }
    }
    if (in.empty() || out.empty()) return Usage();
    // The stored preview needs only the pixel maps; a full start follows
    // only when the project has none.
    a_startup_options light;
    light.light = true;
    if (!Shell_Start(light)) {
        std::fprintf(stderr, "cirquel-thumbnailer: could not start\n");
        return 2;
    }
    a_thumb_image image;
    std::string error;
    bool ok = Thumb_Make(in, size, image, error) && Thumb_Write(out, image, error);
    Shell_Stop();
    if (!ok) {
        std::fprintf(stderr, "cirquel-thumbnailer: %s: %s\n", in.c_str(), error.c_str());
        return 2;
    }
    return 0;
}
