#include "persist/embedded.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <new>
#include <utility>
#include <vector>

#include "images/image_files.h"
#include "model/document.h"
#include "persist/chunk_stream.h"
#include "persist/photo_chunks.h"
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

// The picture of a stored "CLIP"/"CLIM" pair into the cache; the missing
// placeholder (false) when there is none.
bool Read_Clip(a_source_desc& s, const Rect& subset) {
    a_masked_gworld mw;
    Chunk_ReadMW(mw, s.sid, "CLIM", "CLIP");
    if (!mw.fore) {
        Dispose_MW(mw);
        Cache_Insert_Missing(s, subset);
        return false;
    }
    a_raw_bytes* raw = nullptr;
    Cache_Insert_External(s, mw, raw);
    return true;
}

// The embedded bytes decoded, or the file found again; the placeholder when
// neither gives a picture (false).
bool Read_ExtFile(a_ph_rec& ph, a_source_desc& s, const std::string& project_path,
                  a_defect_set& defects) {
    std::vector<uint8_t> bytes;
    char codec[4] = {};
    if (Chunk_Find(s.sid, "EMBD")) {
        int16_t version = 0;
        Chunk_ReadInt16(version);
        if (version != EMBD_VERSION) {
            Add_Defect(defects, DEFECT_EMBED_VERSION);
            return false;
        }
        Chunk_ReadRaw(4, codec);
        Reverse_Code(codec);
        Canonicalize_Codec(codec);
        Chunk_ReadHandle(bytes);
    }
    a_masked_gworld mw;
    if (!bytes.empty()) {
        a_scan_owner scan;
        if (Scan_Quicktime_Hdl(codec, bytes, scan.get()) && Scan_To_MW(scan.get(), mw)) {
            auto* raw = new (std::nothrow) a_raw_bytes(std::move(bytes));
            Cache_Insert_External(s, mw, raw);
            return true;
        }
    } else if (Attempt_Repair_Photo(ph, project_path, mw)) {
        s.path = ph.spec.source.path;
        a_raw_bytes* raw = nullptr;
        Cache_Insert_External(s, mw, raw);
        return true;
    }
    Cache_Insert_Missing(s, ph.spec.subset);
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

void Write_Embedded(void (*progress)(int permille)) {
    Done_Init();
    uint32_t n = std::max<uint32_t>(1, g_doc.doc_template.nunits);
    For_Photo_Blocks([&](uint32_t ux, const a_ph_rec& ph) {
        const a_source_desc& s = ph.spec.source;
        if (progress) progress(int(ux * 1000 / n));
        if (!Is_Embedded_Kind(s) || Is_Done(s.sid)) return;
        Done_Add(s.sid);
        if (s.kind == SOURCE_EXTFILE) Write_ExtFile(ph);
        else Write_Clip(s);
    });
    Done_Stop();
}

int Read_Embedded(const std::string& project_path, a_defect_set& defects) {
    int missing = 0;
    // Stored source number and kind -> the source as the cache now knows it.
    std::map<std::pair<uint16_t, uint8_t>, a_source_desc> renumbered;
    Done_Init();
    For_Photo_Blocks([&](uint32_t, a_ph_rec& ph) {
        a_source_desc s = ph.spec.source;
        if (!No_Serious_Defects(defects) || !Is_Embedded_Kind(s) || Is_Done(s.sid)) return;
        Done_Add(s.sid);
        const uint16_t stored = s.sid;
        bool found = s.kind == SOURCE_EXTFILE ? Read_ExtFile(ph, s, project_path, defects)
                                              : Read_Clip(s, ph.spec.subset);
        missing += !found;
        if (s.sid != 0) renumbered[{stored, s.kind}] = s;
    });
    Done_Stop();
    For_Photo_Blocks([&](uint32_t, a_ph_rec& ph) {
        auto it = renumbered.find({ph.spec.source.sid, ph.spec.source.kind});
        if (it != renumbered.end()) ph.spec.source = it->second;
    });
    return missing;
}
