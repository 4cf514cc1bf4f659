// Bytes of the undo snapshot: numbers in the host's order, appended to a
// buffer and read back with every read checked against what is left.
// Process-wide state: none.
#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/geometry.h"

class a_undo_writer {
public:
    explicit a_undo_writer(std::vector<uint8_t>& out) : out_(out) {}
    template <typename T>
    void Num(T v) {
        static_assert(std::is_arithmetic_v<T>);
        Bytes(&v, sizeof v);
    }
    void Bool(bool v) { Num<uint8_t>(v ? 1 : 0); }
    void Bytes(const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        out_.insert(out_.end(), b, b + n);
    }
    void Str(const std::string& s) {
        Num<uint32_t>(static_cast<uint32_t>(s.size()));
        Bytes(s.data(), s.size());
    }
    void Pt(Point p) { Num(p.v), Num(p.h); }
    void Box(const Rect& r) { Num(r.top), Num(r.left), Num(r.bottom), Num(r.right); }
    size_t Size() const { return out_.size(); }
    std::vector<uint8_t>& Out() { return out_; }

private:
    std::vector<uint8_t>& out_;
};

// Once a read fails every later read fails too; the caller checks Ok() at
// the end (and that everything was read).
class a_undo_reader {
public:
    a_undo_reader(const uint8_t* p, size_t n) : p_(p), left_(n) {}
    template <typename T>
    T Num() {
        static_assert(std::is_arithmetic_v<T>);
        T v{};
        if (Take(&v, sizeof v) && std::is_floating_point_v<T> && !std::isfinite(v)) ok_ = false;
        return ok_ ? v : T{};
    }
    bool Bool() {
        uint8_t b = Num<uint8_t>();
        if (b > 1) ok_ = false;
        return b == 1;
    }
    std::string Str() {
        uint32_t n = Num<uint32_t>();
        if (!ok_ || n > left_) return Fail(), std::string();
        std::string s(reinterpret_cast<const char*>(p_), n);
        p_ += n, left_ -= n;
        return s;
    }
    Point Pt() {
        Point p;
        p.v = Num<int16_t>(), p.h = Num<int16_t>();
        return p;
    }
    Rect Box() {
        Rect r;
        r.top = Num<int16_t>(), r.left = Num<int16_t>();
        r.bottom = Num<int16_t>(), r.right = Num<int16_t>();
        return r;
    }
    bool Take(void* dst, size_t n) {
        if (!ok_ || n > left_) return Fail(), false;
        std::memcpy(dst, p_, n);
        p_ += n, left_ -= n;
        return true;
    }
    void Fail() { ok_ = false; }
    bool Ok() const { return ok_; }
    bool Done() const { return ok_ && left_ == 0; }  // everything read, nothing wrong
    size_t Left() const { return left_; }

private:
    const uint8_t* p_;
    size_t left_;
    bool ok_ = true;
};

// A block on the clipboard is a four-letter tag, a 16-bit version, then the
// record as a snapshot holds it. The heading, with room reserved for
// `room` more bytes so the writer appends without reallocating.
inline std::vector<uint8_t> Scrap_Heading(const char tag[4], uint16_t version, size_t room) {
    std::vector<uint8_t> out(tag, tag + 4);
    out.reserve(6 + room);
    out.push_back(uint8_t(version & 0xFF));
    out.push_back(uint8_t(version >> 8));
    return out;
}
// Whether `bytes` start with that heading; otherwise false with a one-line
// reason naming `what` ("text block").
inline bool Scrap_Heading_Ok(const std::vector<uint8_t>& bytes, const char tag[4], uint16_t version,
                             const std::string& what, std::string& why) {
    if (bytes.size() < 6 || std::memcmp(bytes.data(), tag, 4) != 0)
        return why = "the clipboard's " + what + " has no heading", false;
    const uint16_t found = uint16_t(bytes[4] | bytes[5] << 8);
    if (found != version)
        return why = "the clipboard's " + what + " is of version " + std::to_string(found), false;
    return true;
}
