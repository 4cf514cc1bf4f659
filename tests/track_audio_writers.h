// Small writers of tagged, silent audio files for the track-source tests:
// MP3 with ID3v2.2/2.3/2.4 tags, FLAC with Vorbis comments, Ogg Vorbis and
// Opus with their comment packets, WAV with a RIFF INFO list, M4A with an
// ilst, WMA with ASF content descriptions. Just enough
// of each format for a tag reader; the sound is silence or nothing.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using a_tag_list = std::vector<std::pair<std::string, std::string>>;  // key, UTF-8 value

namespace audio_writers {

inline void Be(std::string& s, uint64_t v, int n) {
    for (int i = n - 1; i >= 0; --i) s += char(v >> (8 * i) & 0xFF);
}
inline void Le(std::string& s, uint64_t v, int n) {
    for (int i = 0; i < n; ++i) s += char(v >> (8 * i) & 0xFF);
}
inline void Syncsafe(std::string& s, uint32_t v) {
    for (int i = 3; i >= 0; --i) s += char(v >> (7 * i) & 0x7F);
}

// MPEG-1 layer III frames at 128 kbit/s, 44.1 kHz, all zero after the header.
inline std::string Mpeg_Frames(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
        s += "\xFF\xFB\x90\x64";
        s += std::string(413, '\0');
    }
    return s;
}

}  // namespace audio_writers

// An ID3v2 tag of `version` 2, 3 or 4 with text frames (ids of that
// version: "TT2" for 2.2, "TIT2" for the others), then MPEG frames.
inline std::string Write_Mp3(int version, const a_tag_list& frames, int nframes = 40) {
    using namespace audio_writers;
    std::string body;
    for (const auto& [id, text] : frames) {
        std::string content = std::string(1, version == 4 ? '\x03' : '\x00') + text;
        body += id;
        if (version == 2) {
            Be(body, content.size(), 3);
        } else {
            if (version == 4) Syncsafe(body, uint32_t(content.size()));
            else Be(body, content.size(), 4);
            body += std::string(2, '\0');
        }
        body += content;
    }
    std::string s = "ID3";
    s += char(version);
    s += std::string(2, '\0');
    Syncsafe(s, uint32_t(body.size()));
    return s + body + Mpeg_Frames(nframes);
}

// "KEY=value" comments as the Vorbis comment structure (vendor, count, each).
inline std::string Vorbis_Comments(const a_tag_list& tags) {
    using namespace audio_writers;
    std::string s;
    const std::string vendor = "cirquel tests";
    Le(s, vendor.size(), 4);
    s += vendor;
    Le(s, tags.size(), 4);
    for (const auto& [k, v] : tags) {
        Le(s, k.size() + 1 + v.size(), 4);
        s += k + "=" + v;
    }
    return s;
}

// FLAC: STREAMINFO for `seconds` of 44.1 kHz mono 16-bit, a comment block.
inline std::string Write_Flac(const a_tag_list& tags, int seconds) {
    using namespace audio_writers;
    std::string s = "fLaC";
    s += '\x00';
    Be(s, 34, 3);
    Be(s, 4096, 2);
    Be(s, 4096, 2);
    Be(s, 0, 3);
    Be(s, 0, 3);
    uint64_t samples = uint64_t(seconds) * 44100;
    // 20 bits rate, 3 bits channels - 1, 5 bits bits - 1, 36 bits samples.
    uint64_t packed = (uint64_t(44100) << 44) | (uint64_t(0) << 41) | (uint64_t(15) << 36) | samples;
    Be(s, packed, 8);
    s += std::string(16, '\0');
    std::string comments = Vorbis_Comments(tags);
    s += '\x84';  // last block, type 4
    Be(s, comments.size(), 3);
    s += comments;
    s += "\xFF\xF8\x69\x08" + std::string(32, '\0');  // the start of a frame
    return s;
}

inline uint32_t Ogg_Crc(const std::string& page) {
    uint32_t crc = 0;
    for (unsigned char c : page) {
        crc ^= uint32_t(c) << 24;
        for (int i = 0; i < 8; ++i) crc = crc & 0x80000000u ? crc << 1 ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

// One Ogg page holding one whole packet (under 255 * 255 bytes).
inline std::string Ogg_Page(const std::string& packet, int type, uint64_t granule, uint32_t seq) {
    using namespace audio_writers;
    std::string s = "OggS";
    s += '\0';
    s += char(type);
    Le(s, granule, 8);
    Le(s, 0x4C51, 4);
    Le(s, seq, 4);
    Le(s, 0, 4);
    size_t n = packet.size() / 255 + 1;
    s += char(n);
    for (size_t i = 0; i + 1 < n; ++i) s += '\xFF';
    s += char(packet.size() % 255);
    s += packet;
    uint32_t crc = Ogg_Crc(s);
    for (int i = 0; i < 4; ++i) s[22 + size_t(i)] = char(crc >> (8 * i) & 0xFF);
    return s;
}

// Opus: head, tags and one silent packet ending `seconds` in.
inline std::string Write_Opus(const a_tag_list& tags, int seconds) {
    using namespace audio_writers;
    std::string head = "OpusHead";
    head += '\x01';
    head += '\x01';
    Le(head, 312, 2);
    Le(head, 48000, 4);
    Le(head, 0, 2);
    head += '\0';
    return Ogg_Page(head, 2, 0, 0) + Ogg_Page("OpusTags" + Vorbis_Comments(tags), 0, 0, 1) +
           Ogg_Page(std::string("\xF8\xFF\xFE", 3), 4, uint64_t(seconds) * 48000 + 312, 2);
}

// Ogg Vorbis: identification, comment and setup headers, one audio packet.
inline std::string Write_Vorbis(const a_tag_list& tags, int seconds) {
    using namespace audio_writers;
    std::string id = "\x01vorbis";
    Le(id, 0, 4);
    id += '\x01';
    Le(id, 44100, 4);
    Le(id, 0, 4);
    Le(id, 128000, 4);
    Le(id, 0, 4);
    id += '\xB8';
    id += '\x01';
    std::string comment = "\x03vorbis" + Vorbis_Comments(tags) + "\x01";
    std::string setup = "\x05vorbis" + std::string(16, '\0');
    return Ogg_Page(id, 2, 0, 0) + Ogg_Page(comment, 0, 0, 1) + Ogg_Page(setup, 0, 0, 2) +
           Ogg_Page(std::string(1, '\0'), 4, uint64_t(seconds) * 44100, 3);
}

// WAV: `seconds` of 8 kHz mono 8-bit silence and a LIST INFO chunk
// (INAM title, IART artist, IPRD album ...).
inline std::string Write_Wav(const a_tag_list& info, int seconds) {
    using namespace audio_writers;
    std::string fmt;
    Le(fmt, 1, 2);
    Le(fmt, 1, 2);
    Le(fmt, 8000, 4);
    Le(fmt, 8000, 4);
    Le(fmt, 1, 2);
    Le(fmt, 8, 2);
    std::string list = "INFO";
    for (const auto& [k, v] : info) {
        std::string value = v + '\0';
        if (value.size() % 2) value += '\0';
        list += k;
        Le(list, value.size(), 4);
        list += value;
    }
    std::string body = "WAVE";
    body += "fmt ";
    Le(body, fmt.size(), 4);
    body += fmt;
    body += "data";
    Le(body, uint64_t(seconds) * 8000, 4);
    body += std::string(size_t(seconds) * 8000, '\x80');
    body += "LIST";
    Le(body, list.size(), 4);
    body += list;
    std::string s = "RIFF";
    Le(s, body.size(), 4);
    return s + body;
}

namespace audio_writers {

// An MP4 box: 32-bit size, four-character type, contents.
inline std::string Box(const std::string& type, const std::string& body) {
    std::string s;
    Be(s, 8 + body.size(), 4);
    return s + type + body;
}

inline std::string Zeros(size_t n) { return std::string(n, '\0'); }

// UTF-8 to UTF-16LE for characters of the basic plane, with a closing null.
inline std::string Utf16le_Z(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        auto c = uint8_t(s[i]);
        uint32_t u = c;
        size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : 3;
        if (n == 2) u = (c & 0x1Fu) << 6 | (uint8_t(s[i + 1]) & 0x3Fu);
        if (n == 3) u = (c & 0x0Fu) << 12 | (uint8_t(s[i + 1]) & 0x3Fu) << 6 | (uint8_t(s[i + 2]) & 0x3Fu);
        Le(out, u, 2);
        i += n;
    }
    Le(out, 0, 2);
    return out;
}

}  // namespace audio_writers

// M4A: ftyp, then moov with mvhd, one sound trak (mdhd's duration is the
// length TagLib reports) and udta/meta/ilst items. Keys are ilst item types
// ("\xA9nam", "trkn" ...); trkn takes "track/total", the others UTF-8 text.
inline std::string Write_M4a(const a_tag_list& items, int seconds) {
    using namespace audio_writers;
    std::string mvhd = Zeros(12);
    Be(mvhd, 1000, 4);
    Be(mvhd, uint64_t(seconds) * 1000, 4);
    mvhd += Zeros(80);
    std::string mdhd = Zeros(12);
    Be(mdhd, 44100, 4);
    Be(mdhd, uint64_t(seconds) * 44100, 4);
    mdhd += Zeros(4);
    std::string hdlr = Zeros(8) + "soun" + Zeros(13);
    std::string trak = Box("trak", Box("mdia", Box("mdhd", mdhd) + Box("hdlr", hdlr)));
    std::string ilst;
    for (const auto& [key, value] : items) {
        std::string data;
        if (key == "trkn") {
            size_t slash = value.find('/');
            Be(data, 0, 4);  // implicit type
            Be(data, 0, 4);
            Be(data, 0, 2);
            Be(data, std::stoul(value.substr(0, slash)), 2);
            Be(data, slash == std::string::npos ? 0 : std::stoul(value.substr(slash + 1)), 2);
            Be(data, 0, 2);
        } else {
            Be(data, 1, 4);  // UTF-8 text
            Be(data, 0, 4);
            data += value;
        }
        ilst += Box(key, Box("data", data));
    }
    std::string meta_hdlr = Zeros(8) + "mdirappl" + Zeros(9);
    std::string meta = Zeros(4) + Box("hdlr", meta_hdlr) + Box("ilst", ilst);
    std::string ftyp = "M4A ";
    Be(ftyp, 0, 4);
    ftyp += "M4A isom";
    return Box("ftyp", ftyp) + Box("moov", Box("mvhd", mvhd) + trak + Box("udta", Box("meta", meta)));
}

namespace audio_writers {

// A GUID as ASF stores it: the first three fields little-endian.
inline std::string Guid(uint32_t a, uint16_t b, uint16_t c, uint64_t d) {
    std::string s;
    Le(s, a, 4);
    Le(s, b, 2);
    Le(s, c, 2);
    Be(s, d, 8);
    return s;
}

inline std::string Asf_Object(const std::string& guid, const std::string& body) {
    std::string s = guid;
    Le(s, 24 + body.size(), 8);
    return s + body;
}

}  // namespace audio_writers

// WMA: an ASF header of File Properties (play duration), Stream Properties
// (an audio stream), Content Description (title, author, description) and
// Extended Content Description ("WM/AlbumTitle" ... as strings). Keys
// "Title", "Author" and "Description" go to the Content Description.
inline std::string Write_Wma(const a_tag_list& tags, int seconds) {
    using namespace audio_writers;
    std::string file = Zeros(40);  // file id, size, creation date, packets
    Le(file, uint64_t(seconds) * 10000000, 8);  // play duration, 100 ns
    Le(file, uint64_t(seconds) * 10000000, 8);  // send duration
    Le(file, 0, 8);                             // preroll, ms
    Le(file, 2, 4);                             // seekable
    file += Zeros(12);                          // packet sizes, bitrate
    std::string stream = Guid(0xF8699E40, 0x5B4D, 0x11CF, 0xA8FD00805F5C442Bull) +
                         Guid(0x20FB5700, 0x5B55, 0x11CF, 0xA8FD00805F5C442Bull);
    Le(stream, 0, 8);
    Le(stream, 18, 4);  // type-specific data: WAVEFORMATEX
    Le(stream, 0, 4);
    Le(stream, 1, 2);   // stream 1
    Le(stream, 0, 4);
    Le(stream, 0x161, 2);  // WMA 9, stereo, 44.1 kHz, 128 kbit/s
    Le(stream, 2, 2);
    Le(stream, 44100, 4);
    Le(stream, 16000, 4);
    Le(stream, 2973, 2);
    Le(stream, 16, 2);
    Le(stream, 0, 2);
    std::string fields[5], ext;
    int nattr = 0;
    for (const auto& [key, value] : tags) {
        int slot = key == "Title" ? 0 : key == "Author" ? 1 : key == "Description" ? 3 : -1;
        if (slot >= 0) {
            fields[slot] = Utf16le_Z(value);
            continue;
        }
        std::string name = Utf16le_Z(key), text = Utf16le_Z(value);
        Le(ext, name.size(), 2);
        ext += name;
        Le(ext, 0, 2);  // Unicode string
        Le(ext, text.size(), 2);
        ext += text;
        ++nattr;
    }
    std::string content;
    for (const std::string& f : fields) Le(content, f.size(), 2);
    for (const std::string& f : fields) content += f;
    std::string count;
    Le(count, nattr, 2);
    std::string objects =
        Asf_Object(Guid(0x8CABDCA1, 0xA947, 0x11CF, 0x8EE400C00C205365ull), file) +
        Asf_Object(Guid(0xB7DC0791, 0xA9B7, 0x11CF, 0x8EE600C00C205365ull), stream) +
        Asf_Object(Guid(0x75B22633, 0x668E, 0x11CF, 0xA6D900AA0062CE6Cull), content) +
        Asf_Object(Guid(0xD2D0A440, 0xE307, 0x11D2, 0x97F000A0C95EA850ull), count + ext);
    std::string header;
    Le(header, 4, 4);  // objects
    header += "\x01\x02";
    return Asf_Object(Guid(0x75B22630, 0x668E, 0x11CF, 0xA6D900AA0062CE6Cull), header + objects);
}
