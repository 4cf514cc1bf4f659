#include "persist/embedded.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <new>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "images/image_files.h"
#include "model/document.h"
#include "persist/chunk_stream.h"
#include "persist/photo_chunks.h"
#include "platform/memory.h"
#include "render/effects_cache.h"

namespace {

std::vector<uint16_t> g_done;

bool Read_Picture_File(const std::string& path, a_masked_gworld& out) {
    a_scan_owner scan;
    return !path.empty() && Read_BitMap(false, path, scan.get()) && Scan_To_MW(scan.get(), out);
}

// Every photo block of every master, in unit and block order.
template <typename F>
void For_Photo_Blocks(F f) {
    for (uint32_t ux = 1; ux <= g_doc.doc_template.nunits && ux <= MAXNUNITS; ++ux) {
        a_doc_unit* u = g_doc.doc_units[ux];
        if (!u || u->clonef) continue;
        for (int i = 1; i <= u->oj.nlist; ++i)
            if (u->oj.list[i].kind == PHOTO_BLOCK && u->oj.list[i].ph) f(ux, *u->oj.list[i].ph);
    }
}

bool Is_Embedded_Kind(const a_source_desc& s) {
    return s.kind == SOURCE_CLIPBOARD || s.kind == SOURCE_COLLAGE ||
           (s.kind == SOURCE_EXTFILE && s.sid != 0);
}

void Write_Clip(const a_source_desc& s) {
    int ix = 0;
    if (Find_Basis(s.sid, ix)) Chunk_WriteMW(Cache_Item(ix).c.body, s.sid, "CLIM", "CLIP");
}

void Write_ExtFile(const a_ph_rec& ph) {
    int ix = 0;
    const a_raw_bytes* raw = Find_Basis(ph.spec.source.sid, ix) ? Cache_Item(ix).c.raw : nullptr;
    char codec[4];
    std::memcpy(codec, ph.codec, 4);
    Reverse_Code(codec);
    Chunk_WriteStart(ph.spec.source.sid, "EMBD");
    Chunk_WriteInt16(EMBD_VERSION);
    Chunk_WriteRaw(4, codec);
    Chunk_WriteHandle(raw ? *raw : a_raw_bytes{});
    Chunk_WriteStop();
}

// The whole path of a photo whose path its Path field would cut, under `id`.
bool Write_Long_Path(const a_source_desc& s, int32_t id) {
    const std::string& path = s.path.name;
    if (path.size() <= 255 || path.size() > MAX_LONG_PATH) return false;
    Chunk_WriteStart(id, LONG_PATH_CHUNK);
    Chunk_WriteHandle(std::vector<uint8_t>(path.begin(), path.end()));
    Chunk_WriteStop();
    return true;
}

// One embedded picture of a source as the file holds it, read from the
// stream first, decoded next (maybe on another thread), and given to the
// cache last, in the order the blocks name it so that sources are numbered
// as they always were.
struct a_embedded {
    a_ph_rec* ph = nullptr;  // the first block showing it
    a_source_desc s;
    uint16_t stored = 0;     // its number in the file
    char codec[4] = {};
    std::vector<uint8_t> bytes;  // "EMBD"'s; empty: repair from the file
    a_masked_gworld mw;          // "CLIP"/"CLIM", or the decoded bytes
    bool decoded = false;
};

// The whole path stored beside the cut one, when there is one: a text
// without NUL of at most MAX_LONG_PATH bytes that begins as the cut one.
void Read_Long_Path(int32_t id, a_source_desc& s) {
    if (!Chunk_Find(id, LONG_PATH_CHUNK)) return;
    std::vector<uint8_t> bytes;
    Chunk_ReadHandle(bytes);
    std::string path(bytes.begin(), bytes.end());
    const std::string& cut = s.path.name;
    if (path.size() > MAX_LONG_PATH || path.size() <= cut.size() || path.find('\0') != std::string::npos ||
        path.compare(0, cut.size(), cut) != 0)
        return;
    s.path.name = path;
}

void Read_Long_Path(a_embedded& e) {
    Read_Long_Path(e.s.sid, e.s);
    e.ph->spec.source.path.name = e.s.path.name;
}

// A linked photo whose path may have been cut (at most 255 bytes, never
// half a character: 252 at least): it takes a number for its whole path,
// in block order, the same on writing and on reading.
bool Is_Linked_Long(const a_source_desc& s) {
    return s.kind == SOURCE_EXTFILE && s.sid == 0 && s.path.name.size() >= 255 - 3;
}

// The stored parts of one source; false on a serious defect.
bool Read_Stored(a_embedded& e, a_defect_set& defects) {
    if (e.s.kind != SOURCE_EXTFILE) {
        Chunk_ReadMW(e.mw, e.s.sid, "CLIM", "CLIP");
        return true;
    }
    Read_Long_Path(e);
    if (!Chunk_Find(e.s.sid, "EMBD")) return true;
    int16_t version = 0;
    Chunk_ReadInt16(version);
    if (version != EMBD_VERSION) {
        Add_Defect(defects, DEFECT_EMBED_VERSION);
        return false;
    }
    Chunk_ReadRaw(4, e.codec);
    Reverse_Code(e.codec);
    Canonicalize_Codec(e.codec);
    Chunk_ReadHandle(e.bytes);
    // The bytes end the chunk: a stored length that says otherwise would show
    // part of a picture, or take the next record's bytes for its own.
    if (g_chunk.err == 0 && g_chunk.pos != g_chunk.end) {
        Add_Defect(defects, DEFECT_EMBED_VERSION);
        return false;
    }
    return true;
}

void Decode(a_embedded& e) {
    a_scan_owner scan;
    e.decoded = Scan_Quicktime_Hdl(e.codec, e.bytes, scan.get()) && Scan_To_MW(scan.get(), e.mw);
}

// Only the toolkit's JPEG decoder runs off the main thread: it reports no
// progress and shows no alert, and large photographs are where the time goes.
bool Decodes_Apart(const a_embedded& e) {
    return e.bytes.size() >= 65536 && std::memcmp(e.codec, "JPEG", 4) == 0 && e.bytes[0] == 0xFF &&
           e.bytes[1] == 0xD8;
}

// Every stored picture decoded: JPEG photographs shared between this thread
// and one other (the decoding is most of the time an opening takes), the
// rest here.
void Decode_All(std::vector<a_embedded>& all) {
    std::vector<a_embedded*> apart, here;
    for (a_embedded& e : all) {
        if (e.s.kind != SOURCE_EXTFILE || e.bytes.empty()) continue;
        (Decodes_Apart(e) && apart.size() <= here.size() ? apart : here).push_back(&e);
    }
    std::thread other;
    if (!apart.empty()) {
        try {
            other = std::thread([&apart] {
                for (a_embedded* e : apart) Decode(*e);
            });
        } catch (const std::system_error&) {
            here.insert(here.end(), apart.begin(), apart.end());  // no thread: all here
            apart.clear();
        }
    }
    for (a_embedded* e : here) Decode(*e);
    if (other.joinable()) other.join();
}

// The picture to the cache, or the missing placeholder (false).
bool Insert(a_embedded& e, const std::string& project_path) {
    if (e.s.kind != SOURCE_EXTFILE) {
        if (!e.mw.fore) {
            Dispose_MW(e.mw);
            Cache_Insert_Missing(e.s, e.ph->spec.subset);
            return false;
        }
        a_raw_bytes* raw = nullptr;
        Cache_Insert_External(e.s, e.mw, raw);
        return true;
    }
    if (e.decoded) {
        a_checked_allocation checked;  // without its bytes the picture stays, unsaved
        auto* raw = new (std::nothrow) a_raw_bytes(std::move(e.bytes));
        Cache_Insert_External(e.s, e.mw, raw);
        return true;
    }
    Dispose_MW(e.mw);
    if (e.bytes.empty() && Attempt_Repair_Photo(*e.ph, project_path, e.mw)) {
        e.s.path = e.ph->spec.source.path;
        a_raw_bytes* raw = nullptr;
        Cache_Insert_External(e.s, e.mw, raw);
        return true;
    }
    Cache_Insert_Missing(e.s, e.ph->spec.subset);
    return false;
}

}  // namespace

void Done_Init() { g_done.clear(); }
void Done_Add(uint16_t sid) {
    if (g_done.size() < MAX_DONE_SOURCES) g_done.push_back(sid);
}
bool Is_Done(uint16_t sid) { return std::find(g_done.begin(), g_done.end(), sid) != g_done.end(); }
void Done_Stop() { g_done.clear(); }

bool Attempt_Repair_Photo(a_ph_rec& ph, const std::string& project_path, a_masked_gworld& out) {
    const std::string& stored = ph.spec.source.path.name;
    if (Read_Picture_File(stored, out)) return true;
    namespace fs = std::filesystem;
    std::string name = fs::path(stored).filename().string();
    if (name.empty() || project_path.empty()) return false;
    std::string here = (fs::path(project_path).parent_path() / name).string();
    if (!Read_Picture_File(here, out)) return false;
    ph.spec.source.path.name = here;
    return true;
}

a_long_paths Write_Embedded(void (*progress)(int permille)) {
    a_long_paths long_paths;
    Done_Init();
    uint32_t n = std::max<uint32_t>(1, g_doc.doc_template.nunits);
    int32_t linked = LINKED_PATH_BASE;
    For_Photo_Blocks([&](uint32_t ux, const a_ph_rec& ph) {
        const a_source_desc& s = ph.spec.source;
        if (progress) progress(int(ux * 1000 / n));
        bool is_long = s.kind == SOURCE_EXTFILE && s.path.name.size() > 255;
        if (Is_Linked_Long(s)) {
            const int32_t id = linked++;
            if (is_long) ++(Write_Long_Path(s, id) ? long_paths.kept : long_paths.cut);
        }
        if (!Is_Embedded_Kind(s) || Is_Done(s.sid)) return;
        Done_Add(s.sid);
        if (s.kind != SOURCE_EXTFILE) return Write_Clip(s);
        Write_ExtFile(ph);
        if (is_long) ++(Write_Long_Path(s, s.sid) ? long_paths.kept : long_paths.cut);
    });
    Done_Stop();
    return long_paths;
}

int Read_Embedded(const std::string& project_path, a_defect_set& defects) {
    std::vector<a_embedded> all;
    Done_Init();
    bool ok = true;
    int32_t linked = LINKED_PATH_BASE;
    For_Photo_Blocks([&](uint32_t, a_ph_rec& ph) {
        const a_source_desc& s = ph.spec.source;
        if (Is_Linked_Long(s)) Read_Long_Path(linked++, ph.spec.source);
        if (!ok || !Is_Embedded_Kind(s) || Is_Done(s.sid)) return;
        Done_Add(s.sid);
        a_embedded& e = all.emplace_back();
        e.ph = &ph;
        e.s = s;
        e.stored = s.sid;
        ok = Read_Stored(e, defects);
    });
    Done_Stop();
    if (ok) Decode_All(all);
    int missing = 0;
    // Stored source number and kind -> the source as the cache now knows it.
    std::map<std::pair<uint16_t, uint8_t>, a_source_desc> renumbered;
    for (a_embedded& e : all) {
        if (!ok) {
            Dispose_MW(e.mw);
            continue;
        }
        missing += !Insert(e, project_path);
        if (e.s.sid != 0) renumbered[{e.stored, e.s.kind}] = e.s;
    }
    For_Photo_Blocks([&](uint32_t, a_ph_rec& ph) {
        auto it = renumbered.find({ph.spec.source.sid, ph.spec.source.kind});
        if (it != renumbered.end()) ph.spec.source = it->second;
    });
    return missing;
}
