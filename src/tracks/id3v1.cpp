#include "tracks/id3v1.h"

#include <cstring>

#include "platform/input_file.h"

bool ID3v1_From_Tail(std::string_view tail, uint64_t file_size, a_id3v1_rec& tag) {
    if (file_size <= ID3V1_SIZE || tail.size() != ID3V1_SIZE || tail.substr(0, 3) != "TAG") return false;
    std::memcpy(&tag, tail.data(), ID3V1_SIZE);
    return true;
}

bool ID3v1_Read(const std::string& path, a_id3v1_rec& tag) {
    a_input_file file;
    if (file.Open(path) != a_input_open::OK || file.size() <= int64_t(ID3V1_SIZE)) return false;
    char tail[ID3V1_SIZE];
    if (!file.Read_At(file.size() - int64_t(ID3V1_SIZE), tail, ID3V1_SIZE)) return false;
    return ID3v1_From_Tail(std::string_view(tail, ID3V1_SIZE), uint64_t(file.size()), tag);
}

std::string ID3v1_Field(const char* field, size_t size) {
    size_t n = 0;
    while (n < size && field[n] != '\0') ++n;
    while (n > 0 && field[n - 1] == ' ') --n;
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        auto c = uint8_t(field[i]);
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}
