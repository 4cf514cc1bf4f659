// A small 32-bit (or other depth) picture with a drawing port made current
// for the lifetime of the object, for tests of drawing.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/port.h"

struct a_test_canvas {
    std::vector<uint8_t> mem;
    a_port_bits bits;
    a_port* port = nullptr;
    a_port* saved = nullptr;

    // `fill` is an RGB colour for 32-bit canvases, a byte value otherwise.
    a_test_canvas(const Rect& bounds, int depth = 32, uint32_t fill = 0xFFFFFF) {
        int w = Rect_Width(bounds), h = Rect_Height(bounds);
        bits.rowbytes = ((w * depth + 31) / 32) * 4;
        bits.depth = int16_t(depth);
        bits.bounds = bounds;
        mem.assign(size_t(bits.rowbytes) * size_t(h) + 64, 0xEE);  // tail guard
        bits.base = mem.data();
        for (int y = 0; y < h; ++y) {
            uint8_t* row = bits.base + size_t(y) * size_t(bits.rowbytes);
            if (depth == 32)
                for (int x = 0; x < w; ++x) std::memcpy(row + 4 * x, &fill, 4);
            else
                std::memset(row, int(fill & 0xFF), size_t(bits.rowbytes));
        }
        saved = Port_Get();
        port = Port_New(bits);
        Port_Set(port);
    }
    a_test_canvas(int w, int h) : a_test_canvas(Rect{0, 0, int16_t(h), int16_t(w)}) {}
    ~a_test_canvas() {
        Port_Set(saved);
        Port_Dispose(port);
    }
    a_test_canvas(const a_test_canvas&) = delete;
    a_test_canvas& operator=(const a_test_canvas&) = delete;

    uint8_t* Row(int y) { return bits.base + size_t(y - bits.bounds.top) * size_t(bits.rowbytes); }
    // 32-bit: the RGB of a pixel; other depths: its byte.
    uint32_t At(int x, int y) {
        int col = x - bits.bounds.left;
        if (bits.depth == 32) {
            uint32_t v;
            std::memcpy(&v, Row(y) + 4 * col, 4);
            return v & 0xFFFFFF;
        }
        return Row(y)[col];
    }
    int Count(uint32_t rgb) {
        int n = 0;
        for (int y = bits.bounds.top; y < bits.bounds.bottom; ++y)
            for (int x = bits.bounds.left; x < bits.bounds.right; ++x) n += At(x, y) == rgb;
        return n;
    }
    bool Guard_Intact() const {
        size_t end = size_t(bits.rowbytes) * size_t(Rect_Height(bits.bounds));
        for (size_t k = end; k < mem.size(); ++k)
            if (mem[k] != 0xEE) return false;
        return true;
    }
};
