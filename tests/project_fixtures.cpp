#include "project_fixtures.h"

#include <cstring>
#include <vector>
#include <utility>

#include "images/image_files.h"
#include "model/document.h"
#include "model/photo_rec.h"
#include "model/text_rec.h"
#include "persist/chunk_stream.h"
#include "persist/disc_write.h"
#include "persist/photo_chunks.h"
#include "persist/project_file.h"
#include "persist/text_chunks.h"
#include "pixels/pixmap.h"
#include "pixels/syspix.h"
#include "platform/fonts.h"
#include "platform/image_codec.h"
#include "render/effects_cache.h"

namespace {

using a_bytes = std::vector<uint8_t>;

struct a_chunk {
    std::string tag;
    int32_t id = 0;
    a_bytes body;
};

uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

void Put_Be(a_bytes& b, uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
}

std::vector<a_chunk> Split(const a_bytes& f) {
    std::vector<a_chunk> out;
    for (size_t at = DISC_PREAMBLE_BYTES; at + CHUNK_HEADER_BYTES <= f.size();) {
        const size_t len = Be32(&f[at + 8]), from = at + CHUNK_HEADER_BYTES;
        if (len > f.size() - from) break;
        out.push_back({std::string(reinterpret_cast<const char*>(&f[at]), 4), int32_t(Be32(&f[at + 4])),
                       a_bytes(f.begin() + ptrdiff_t(from), f.begin() + ptrdiff_t(from + len))});
        at = from + len;
    }
    return out;
}

a_bytes Join(uint16_t signature, uint16_t version, const std::vector<a_chunk>& chunks) {
    a_bytes f;
    Put_Be(f, signature, 2);
    Put_Be(f, version, 2);
    for (const a_chunk& c : chunks) {
        f.insert(f.end(), c.tag.begin(), c.tag.end());
        Put_Be(f, uint32_t(c.id), 4);
        Put_Be(f, uint32_t(c.body.size()), 4);
        f.insert(f.end(), c.body.begin(), c.body.end());
    }
    return f;
}

a_chunk& Chunk(std::vector<a_chunk>& chunks, const char* tag, int32_t id) {
    for (a_chunk& c : chunks)
        if (c.tag == tag && c.id == id) return c;
    static a_chunk none;
    none = a_chunk{};
    return none;
}

void Set16(a_bytes& b, size_t at, uint16_t v) {
    if (at + 2 > b.size()) return;
    b[at] = uint8_t(v >> 8);
    b[at + 1] = uint8_t(v);
}

a_ph_rec& Add_Picture(a_doc_unit& u, uint8_t kind, a_source_desc source) {
    a_oj_item it;
    it.objid = NextUniqueID();
    it.kind = kind;
    it.flags = 1u << VISIBLE_FLAG;
    it.ph = New_PH_Rec();
    it.ph->spec.source = source;
    it.ph->spec.subset = Rect{0, 0, 6, 8};
    it.ph->dst_center = Point{50, 60};
    (void)OMast_Append(u.oj, it);
    return *it.ph;
}

// Two small label pieces of one kind (the second a clone) with a photo whose
// file's bytes are kept, a pasted picture twice, a clip-art symbol, a text
// block and paint, all on the first.
void Make_Document() {
    a_template t;
    t.nunits = 2;
    std::strcpy(t.label, "fixture");
    t.papersize = {80, 60};
    for (uint32_t ux : {1u, 2u}) {
        t.units[ux].kind = UNIT_RECT;
        t.units[ux].bbox = {5.0f + 35.0f * float(ux - 1), 10, 17.0f + 35.0f * float(ux - 1), 20};
    }
    Doc_New(t);
    a_doc_unit& u = *g_doc.doc_units[1];
    std::vector<uint8_t> px(8 * 6 * 4), jpeg;
    for (size_t i = 0; i < px.size(); ++i) px[i] = uint8_t(i * 5);
    (void)Codec_Encode(px.data(), 8, 6, 32, "jpeg", 90, 72, jpeg);
    a_source_desc file{0, SOURCE_EXTFILE, {}, {0, 0, "/nonexistent/fixture.jpg"}};
    a_masked_gworld mw;
    New_MW("fixture", Rect{0, 0, 6, 8}, mw);
    auto* raw = new a_raw_bytes(jpeg);
    Cache_Insert_External(file, mw, raw);
    std::memcpy(Add_Picture(u, PHOTO_BLOCK, file).codec, "JPEG", 4);
    a_source_desc pasted{0, SOURCE_CLIPBOARD, {}, {}};
    New_MW("fixture", Rect{0, 0, 6, 8}, mw);
    a_raw_bytes* none = nullptr;
    Cache_Insert_External(pasted, mw, none);
    Add_Picture(u, PHOTO_BLOCK, pasted);
    Add_Picture(u, PHOTO_BLOCK, pasted).spec.opacity = 50;
    Add_Picture(u, SYMBOL_BLOCK, a_source_desc{0, SOURCE_DATABASE, {11, 0, 4, 1}, {}}).spec.is_symbol = true;
    a_oj_item text;
    text.objid = NextUniqueID();
    text.kind = TEXT_BLOCK;
    text.om = New_OM_Rec();
    text.om->fontx = uint32_t(std::max(1, Font_Base_Proportional()));
    text.om->nxyl = 0;
    for (char16_t c : std::u16string(u"Side A\u0001")) {
        a_xyl_char& x = text.om->xyl[++text.om->nxyl];
        Set_XYL_Defaults(x);
        x.cc_char = c;
    }
    (void)OMast_Append(u.oj, text);
    u.paintinuse = true;
    Sync_Existence(PAINT1_LAYER, u, true);
    const Rect stroke{20, 10, 24, 40};
    PixMap32_Fill(u.static_[PAINT1_LAYER].world->pix, stroke, 0x00AA3311);
    PixMap8_Fill(u.static_[PAINT1_LAYER].mask->pix, stroke, 255);
}

// Where a character of the first form says it was laid out.
int16_t Old_Form_X(int i) { return int16_t(7 * i); }

// A text record in the first form: the record's head as the writer makes
// it, up to and with the character count, then 15-byte characters (code,
// three words the reader drops, the layout position, the category) and the
// sentinel.
a_bytes Text_Version1(const a_om_rec& om) {
    a_bytes rec;
    Chunk_Init(0, rec);
    Write_OM(om);
    Chunk_Stop();
    constexpr size_t kHead = 2 + 8 + 8 + 6 + 2 + 4 + 25 * 2 + 4 * 4 + 4;  // through the count
    a_bytes out(rec.begin(), rec.begin() + ptrdiff_t(kHead));
    for (int i = 1; i <= om.nxyl; ++i) {
        const a_xyl_char& c = om.xyl[i];
        Put_Be(out, c.cc_char, 2);
        Put_Be(out, 0xFFFF, 2);
        Put_Be(out, 0x8000, 2);
        Put_Be(out, 0x7FFF, 2);
        Put_Be(out, uint16_t(Old_Form_X(i)), 2);
        Put_Be(out, 40, 2);
        Put_Be(out, 0, 2);
        out.push_back(c.cc_char == CHAR_EOS ? uint8_t(CC_EOS) : uint8_t(CC_REGULAR));
    }
    Put_Be(out, DISC_SENTINEL, 2);
    return out;
}

// Unit 1's block table in the first form: photo records without their
// version word, and (with `text`) the text block with 15-byte characters.
a_bytes Table_Version1(bool text) {
    const a_oj_master& oj = g_doc.doc_units[1]->oj;
    a_bytes body;
    int32_t n = 0;
    a_bytes blocks;
    for (int i = 1; i <= oj.nlist; ++i) {
        const a_oj_item& it = oj.list[i];
        if (it.kind == TEXT_BLOCK && !text) continue;
        ++n;
        blocks.push_back(it.flags);
        blocks.push_back(it.kind);
        if (it.om) {
            const a_bytes rec = Text_Version1(*it.om);
            blocks.insert(blocks.end(), rec.begin(), rec.end());
        }
        if (!it.ph) continue;
        a_bytes rec;
        Chunk_Init(0, rec);
        Write_PH(*it.ph);
        Chunk_Stop();
        blocks.insert(blocks.end(), rec.begin() + 2, rec.end());  // past the version word
    }
    Put_Be(body, 1, 2);
    Put_Be(body, uint32_t(n), 4);
    body.insert(body.end(), blocks.begin(), blocks.end());
    return body;
}

}  // namespace

std::vector<a_project_fixture> Project_Fixtures() {
    Cache_Clear();
    Make_Document();
    a_bytes whole;
    (void)Write_DISC_Bytes(whole);
    const std::vector<a_chunk> base = Split(whole);
    const a_bytes objt1 = Table_Version1(false), objt1_text = Table_Version1(true);
    Doc_Dispose();
    Cache_Clear();

    std::vector<a_project_fixture> out;
    auto add = [&](const char* name, int defect, auto change, uint16_t signature = DISC_SIGNATURE,
                   uint16_t version = DISC_VERSION) {
        std::vector<a_chunk> chunks = base;
        change(chunks);
        // The preview is the bulk of a small project and no reader needs it:
        // only the whole project keeps it.
        if (std::string(name) != "v8") std::erase_if(chunks, [](const a_chunk& k) { return k.tag == "PREV"; });
        out.push_back({std::string(name) + ".cd4", Join(signature, version, chunks), defect});
    };
    auto same = [](std::vector<a_chunk>&) {};
    add("v8", -1, same);
    add("v8_table_v1", -1, [&](std::vector<a_chunk>& c) { Chunk(c, "OBJT", 1).body = objt1; });
    add("v8_text_v1", -1, [&](std::vector<a_chunk>& c) { Chunk(c, "OBJT", 1).body = objt1_text; });
    add("v7_previous_major", DEFECT_FILE_VERSION, same, DISC_SIGNATURE, 7);
    add("not_a_project", DEFECT_FILE_SIGNATURE, same, 0xCDCE);
    add("paper_49_9", DEFECT_TMPL_VERSION, [](std::vector<a_chunk>& c) {
        float w = 49.9f;
        uint32_t b;
        std::memcpy(&b, &w, 4);
        a_bytes& t = Chunk(c, "TMPL", 1).body;
        const size_t at = 2 + 2 + 4 + 32 + 4;  // version, reserved, label, flags
        if (t.size() >= at + 4)
            for (int i = 0; i < 4; ++i) t[at + size_t(i)] = uint8_t(b >> (24 - 8 * i));
    });
    add("unit_sentinel", DEFECT_CHECKSUM, [](std::vector<a_chunk>& c) {
        a_bytes& u = Chunk(c, "UNIT", 1).body;
        Set16(u, u.size() - 2, 0x4321);
    });
    add("table_missing", DEFECT_OBJTABLE_MISSING, [](std::vector<a_chunk>& c) { Chunk(c, "OBJT", 1).tag = "XXXX"; });
    add("table_401_blocks", DEFECT_OBJTABLE_VERSION, [](std::vector<a_chunk>& c) {
        a_bytes& t = Chunk(c, "OBJT", 1).body;
        Set16(t, 2, 0);
        Set16(t, 4, 401);
    });
    add("embedded_version_2", DEFECT_EMBED_VERSION, [](std::vector<a_chunk>& c) {
        for (a_chunk& k : c)
            if (k.tag == "EMBD") Set16(k.body, 0, 2);
    });
    add("font_name_swapped", -1, [](std::vector<a_chunk>& c) {
        a_bytes& t = Chunk(c, "FONT", 1).body;
        // version, count, the first entry's number, then its 256-byte name
        for (size_t at = 2 + 4 + 4; at + 1 < t.size() && at < 2 + 4 + 4 + 256; at += 2) std::swap(t[at], t[at + 1]);
    });
    {
        std::vector<a_chunk> chunks = base;
        std::erase_if(chunks, [](const a_chunk& k) { return k.tag == "PREV"; });
        a_bytes cut = Join(DISC_SIGNATURE, DISC_VERSION, chunks);
        size_t objt = 0;
        for (const a_chunk& k : chunks) {
            if (k.tag == "OBJT") break;
            objt += CHUNK_HEADER_BYTES + k.body.size();
        }
        cut.resize(DISC_PREAMBLE_BYTES + objt + CHUNK_HEADER_BYTES + 20);  // inside unit 1's table
        out.push_back({"cut_in_table.cd4", cut, DEFECT_OBJTABLE_MISSING});
    }
    return out;
}

int16_t Project_Fixture_Old_X(int i) { return Old_Form_X(i); }
