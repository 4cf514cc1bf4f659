#include "v7_fixtures.h"

#include <algorithm>
#include <cstddef>

namespace {

using a_bytes = std::vector<uint8_t>;

// Defect numbers, as the project reader records them.
enum : int {
    kUnitMissing = 4,
    kUnitVersion = 5,
    kFontMissing = 12,
    kV3 = 15,
    kChecksum = 16,
};

void Be(a_bytes& b, uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
}
void I16(a_bytes& b, int v) { Be(b, uint32_t(uint16_t(int16_t(v))), 2); }
void Byte(a_bytes& b, int v) { b.push_back(uint8_t(v)); }
void Rgb(a_bytes& b, const uint8_t c[3]) { b.insert(b.end(), c, c + 3); }
void Pt(a_bytes& b, Point p) { I16(b, p.v), I16(b, p.h); }
void Rc(a_bytes& b, Rect r) { I16(b, r.top), I16(b, r.left), I16(b, r.bottom), I16(b, r.right); }
void Key(a_bytes& b, const a_keyset& k) { I16(b, k.a), I16(b, k.b), I16(b, k.c), I16(b, k.d); }
void PStr(a_bytes& b, const std::string& s) {
    Byte(b, int(std::min<size_t>(s.size(), 255)));
    b.insert(b.end(), s.begin(), s.begin() + std::ptrdiff_t(std::min<size_t>(s.size(), 255)));
}

void Chunk(a_bytes& f, const char tag[4], int id, const a_bytes& body) {
    f.insert(f.end(), tag, tag + 4);
    Be(f, uint32_t(id), 4);
    Be(f, uint32_t(body.size()), 4);
    f.insert(f.end(), body.begin(), body.end());
}

// A pixel-map chunk as the old program wrote it (version 1): bounds, depth,
// every row bottom first padded to 16-bit words, 8-bit values 0 and 255
// stored the other way round. `px(x, y)` gives a pixel's bytes.
template <typename F>
a_bytes Pix_V1(Rect bounds, int depth, F px) {
    a_bytes b;
    I16(b, 1), I16(b, 0), Rc(b, bounds), I16(b, depth);
    const int w = bounds.right - bounds.left;
    const size_t row = size_t((w * depth + 15) / 16) * 2;
    for (int y = bounds.bottom - 1; y >= bounds.top; --y) {
        a_bytes r(row, 0);
        for (int x = 0; x < w; ++x) {
            const uint32_t v = px(bounds.left + x, y);
            if (depth == 1 && v) r[size_t(x) >> 3] |= uint8_t(0x80 >> (x & 7));
            if (depth == 8) r[size_t(x)] = uint8_t(v == 0 ? 255 : v == 255 ? 0 : v);
            if (depth == 32) {
                uint8_t* q = &r[4 * size_t(x)];
                q[0] = uint8_t(v >> 16), q[1] = uint8_t(v >> 8), q[2] = uint8_t(v), q[3] = 255;
            }
        }
        b.insert(b.end(), r.begin(), r.end());
    }
    return b;
}

bool Inside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

uint32_t Rgb32(const uint8_t c[3]) { return uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | c[2]; }

void Text(a_bytes& b, const a_v7_text& t) {
    Pt(b, t.anchor), I16(b, t.font), I16(b, t.size_index);
    if (t.version >= 3) {
        for (bool f : {t.bold, t.italic, t.outline, t.glow, t.shadow, false}) Byte(b, f);
        I16(b, t.glow_radius), I16(b, t.glow_opacity), I16(b, 0), Rgb(b, t.glow_rgb);
        I16(b, t.shad_dx), I16(b, t.shad_dy), I16(b, t.shad_opacity), I16(b, t.shad_radius), Rgb(b, t.shad_rgb);
        I16(b, t.outl_radius), Rgb(b, t.outl_rgb);
    } else {
        Byte(b, t.bold), Byte(b, t.italic);
    }
    I16(b, 7);  // field 11
    Byte(b, t.layout), Byte(b, t.justify);
    I16(b, 0), I16(b, 100), I16(b, t.radius), I16(b, t.line_angle), I16(b, 0);
    if (t.version < 3) I16(b, 0);
    I16(b, t.count >= 0 ? t.count : int(t.chars.size()) + 1);
    I16(b, 0), Rgb(b, t.base_rgb);
    for (int i = 0; i < 5; ++i) I16(b, i);
    Rc(b, Rect{1, 2, 3, 4}), Byte(b, 0);
    std::string all = t.chars + '\x01';
    for (char c : all) {
        Byte(b, uint8_t(c)), Byte(b, 0);
        for (int i = 0; i < 4; ++i) I16(b, 9);
        Byte(b, 0), Byte(b, 0);
    }
}

void Photo(a_bytes& b, const a_v7_photo& p, int version) {
    Byte(b, p.source);
    if (p.source == 1) Key(b, p.key);
    if (p.source == 2) I16(b, 0), Be(b, 0, 4), PStr(b, p.path);
    if (p.source == 3) I16(b, p.embedded);
    const int16_t values[] = {p.scaleh, p.scalev, p.angle, p.darkness, p.sat, p.hue, p.opacity, p.corner, p.feather};
    const bool flags[] = {p.flipx, p.flipy, p.invert, p.wtransp};
    for (int i = 0; i < (version == 1 ? 6 : version == 2 ? 8 : 9); ++i) I16(b, values[i]);
    for (int i = 0; i < version + 1; ++i) Byte(b, flags[i]);
    Rc(b, p.crop), Pt(b, p.center), Rc(b, Rect{});
}

a_bytes Canvas(const a_v7_project& p) {
    a_bytes b;
    I16(b, p.canvas_version), Key(b, p.canvas_key);
    Byte(b, p.flipx), Byte(b, p.flipy), Byte(b, p.invert);
    I16(b, p.nrot), Byte(b, p.kind);
    if (p.has_darkness) I16(b, p.darkness);
    return b;
}

// The paint maps cover the whole picture at a quarter of its resolution
// (each is scaled from its own bounds), so that fixtures stay small.
a_bytes Paint_Chunk(const a_v7_project& p, Rect map, bool mask) {
    const uint32_t rgb = Rgb32(p.paint_rgb);
    auto painted = [&](int x, int y) { return Inside(p.painted, x * 4, y * 4); };
    if (!mask) return Pix_V1(map, 32, [&](int x, int y) { return painted(x, y) ? rgb : 0xFFFFFFu; });
    return Pix_V1(map, p.mask_depth, [&](int x, int y) { return painted(x, y) ? (p.mask_depth == 1 ? 1u : 255u) : 0u; });
}

Point Kind_Size(int kind) {
    static const int16_t w[] = {640, 640, 640, 810, 640, 1280, 640, 594, 1194, 1280, 584, 810, 810, 1280, 810, 800, 571};
    static const int16_t h[] = {640, 640, 504, 640, 640, 640, 453, 640, 640, 870, 870, 495, 376, 167, 484, 571, 800};
    return kind < 17 ? Point{h[kind], w[kind]} : Point{640, 640};
}

// Where the chunk with this tag starts.
size_t Chunk_At(const a_bytes& f, const char tag[4]) {
    size_t i = 4;
    while (i + 12 <= f.size() && !std::equal(tag, tag + 4, f.begin() + std::ptrdiff_t(i)))
        i += 12 + (size_t(f[i + 8]) << 24 | size_t(f[i + 9]) << 16 | size_t(f[i + 10]) << 8 | f[i + 11]);
    return i;
}

a_v7_fixture Damaged(const std::string& name, a_v7_project p, int defect) {
    return {name, Write_V7(p), defect};
}

}  // namespace

a_bytes Write_V7(const a_v7_project& p) {
    a_bytes f;
    Be(f, 0xCDCD, 2), Be(f, 7, 2);
    Chunk(f, "CANV", 1, Canvas(p));
    if (p.painted.bottom > p.painted.top) {
        const Point size = Kind_Size(p.kind);
        const Rect map{0, 0, int16_t(size.v / 4), int16_t(size.h / 4)};
        Chunk(f, "LAYR", 1, Paint_Chunk(p, map, false));
        Chunk(f, "MASK", 1, Paint_Chunk(p, map, true));
    }
    if (p.write_fonts) {
        a_bytes b;
        I16(b, 1), I16(b, int(p.fonts.size()));
        for (const auto& [n, name] : p.fonts) I16(b, n), PStr(b, name);
        Chunk(f, "FONT", 1, b);
    }
    if (p.write_text) {
        a_bytes b;
        I16(b, p.texts.empty() ? 3 : p.texts[0].version), I16(b, int(p.texts.size()));
        for (const a_v7_text& t : p.texts) Text(b, t);
        Chunk(f, "TEXT", 1, b);
    }
    if (!p.photos.empty()) {
        a_bytes b;
        I16(b, p.photo_version), I16(b, int(p.photos.size()));
        for (const a_v7_photo& ph : p.photos) Photo(b, ph, p.photo_version);
        Chunk(f, "PHOT", 1, b);
        const Rect r{0, 0, p.picture_size.v, p.picture_size.h};
        const uint32_t rgb = Rgb32(p.picture_rgb);
        a_bytes pict, mask;
        I16(pict, 2), I16(pict, 0), Rc(pict, r), Rc(pict, r), I16(pict, 32);
        I16(mask, 2), I16(mask, 0), Rc(mask, r), Rc(mask, r), I16(mask, 8);
        for (int i = 0; i < r.bottom * r.right; ++i) Be(pict, rgb << 8 | 0xFF, 4), Byte(mask, 255);
        Chunk(f, "PICT", 1, pict);
        Chunk(f, "PMSK", 1, mask);
    }
    return f;
}

a_v7_project V7_Sample(uint8_t kind) {
    a_v7_project p;
    p.kind = kind;
    const Point size = Kind_Size(kind);
    // A quarter of the picture painted, from its middle to its right and bottom.
    p.painted = Rect{int16_t(size.v / 2), int16_t(size.h / 2), size.v, size.h};
    p.canvas_key = a_keyset{2, 0, 3, 1};
    p.nrot = 5;
    p.darkness = 40;
    a_v7_text title;
    title.anchor = Point{int16_t(size.v / 4), int16_t(size.h / 2)};
    title.chars = "Summer\r\x8A\x8E t\xE9";  // "Summer", CR, "äé tÈ" in Mac Roman
    title.bold = true;
    title.shadow = true;
    a_v7_text round;
    round.anchor = Point{int16_t(size.v / 2), int16_t(size.h / 2)};
    round.layout = 1;  // clockwise circle
    round.size_index = 8;
    round.radius = int16_t(size.v * 95 / 200);
    round.line_angle = 450;
    round.chars = "around";
    round.font = 2;  // not in the table: font 1
    p.texts = {title, round};
    a_v7_photo photo;
    photo.center = Point{int16_t(size.v / 2), int16_t(size.h / 4)};
    p.photos = {photo};
    return p;
}

std::vector<a_v7_fixture> V7_Fixtures() {
    std::vector<a_v7_fixture> out;
    for (auto [name, kind] : {std::pair{"square", 0}, {"wide", 5}, {"tall", 10}, {"strip", 13}})
        out.push_back({std::string(name) + ".cd4", Write_V7(V7_Sample(uint8_t(kind))), -1});
    a_v7_project older = V7_Sample(2);
    for (a_v7_text& t : older.texts) {
        t.version = 2;
        t.anchor = Point{int16_t(t.anchor.v * 4), int16_t(t.anchor.h * 4)};
        t.radius = int16_t((t.radius - 10) * 4);
    }
    older.photo_version = 1;
    older.has_darkness = false;
    out.push_back({"version2.cd4", Write_V7(older), -1});
    a_v7_project oldest = older;
    for (a_v7_text& t : oldest.texts) t.version = 1;
    oldest.mask_depth = 1;
    out.push_back({"version1.cd4", Write_V7(oldest), -1});

    const a_v7_project base = V7_Sample(0);
    const a_bytes whole = Write_V7(base);
    out.push_back({"cut.cd4", a_bytes(whole.begin(), whole.begin() + std::ptrdiff_t(Chunk_At(whole, "TEXT") + 30)), kV3});
    a_v7_project p = base;
    p.kind = 17;
    out.push_back(Damaged("bad_kind.cd4", p, kUnitVersion));
    p = base;
    p.photos[0].source = 9;
    out.push_back(Damaged("bad_source.cd4", p, kV3));
    p = base;
    p.texts[0].count = 4001;
    out.push_back(Damaged("too_many_chars.cd4", p, kChecksum));
    p = base;
    p.texts[1].count = 200;  // more characters than the chunk holds
    out.push_back(Damaged("bad_char_count.cd4", p, kChecksum));
    p = base;
    p.texts[0].layout = 8;
    out.push_back(Damaged("bad_layout.cd4", p, kV3));
    p = base;
    p.canvas_version = 2;
    out.push_back(Damaged("canvas_version.cd4", p, kUnitVersion));
    p = base;
    p.write_fonts = false;
    out.push_back(Damaged("no_fonts.cd4", p, kFontMissing));
    a_bytes no_canvas = whole;
    no_canvas[4] = 'X';  // "XANV"
    out.push_back({"no_canvas.cd4", no_canvas, kUnitMissing});
    a_bytes big_count = whole;
    const size_t text = Chunk_At(whole, "TEXT");
    big_count[text + 14] = 1, big_count[text + 15] = 44;  // 300 texts
    out.push_back({"text_count.cd4", big_count, kChecksum});
    return out;
}
