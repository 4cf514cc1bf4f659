// Numbered resources compiled into the program: string lists ("STR#"),
// menus ("MENU"), menu bars ("MBAR") and window texts ("WTXT"), written by tools/resource_compile
// from data/strings and data/menus. Multi-byte numbers inside them are
// big-endian; readers check every count and length against the size.
// Process-wide state: reads the compiled string and menu resources.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint32_t Res_Type(const char (&four)[5]) {
    return uint32_t(uint8_t(four[0])) << 24 | uint32_t(uint8_t(four[1])) << 16 |
           uint32_t(uint8_t(four[2])) << 8 | uint32_t(uint8_t(four[3]));
}
inline constexpr uint32_t RES_STRLIST = Res_Type("STR#");
inline constexpr uint32_t RES_MENU = Res_Type("MENU");
inline constexpr uint32_t RES_MENUBAR = Res_Type("MBAR");
// The window's texts of one language (id = language index), keyed by the
// English wording: a 16-bit count, then pairs sorted by the English text,
// each text with a 16-bit length.
inline constexpr uint32_t RES_WINTEXT = Res_Type("WTXT");

struct a_resource {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// The resource of that type and id; false when there is none.
[[nodiscard]] bool Resource_Get(uint32_t type, int id, a_resource& r);

// The table the resource compiler generates, sorted by type, then id.
struct a_resource_entry {
    uint32_t type;
    int32_t id;
    uint32_t offset;  // into g_resource_bytes
    uint32_t size;
};
extern const a_resource_entry g_resource_index[];
extern const size_t g_resource_count;
extern const uint8_t g_resource_bytes[];
extern const size_t g_resource_bytes_size;
