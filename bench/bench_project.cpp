// Saving and opening a project with two embedded 2400 x 1800 JPEG photos, a
// circular text block and a painted layer. The physical limit beside each is a plain
// write + fsync of the same number of bytes; "ratio" is that time over the
// project's (target: at least 0.5). An opening also reports "decode_ms", the
// time the two photos take to decode alone on two threads: its floor.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <string>
#include <thread>
#include <vector>

#include "bench_check.h"
#include "model/document.h"
#include "model/photo_rec.h"
#include "model/text_rec.h"
#include "persist/disc_read.h"
#include "persist/disc_write.h"
#include "pixels/pixmap.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/image_codec.h"
#include "render/effects_cache.h"
#include "shell/art_startup.h"
#include "templates/template.h"

namespace {

using a_clock = std::chrono::steady_clock;

std::string Bench_Path() { return Temp_Folder() + "/bench_project.cd4"; }

// The photos' JPEG bytes, for the decoding floor of an opening.
std::vector<std::vector<uint8_t>> g_jpegs;

void Add_Photo(a_doc_unit& u, int seed) {
    const int w = 2400, h = 1800;
    std::vector<uint8_t> px(size_t(w) * h * 4);
    for (size_t i = 0; i < px.size(); ++i) px[i] = uint8_t((i / 4 % w) ^ (i / 4 / w) ^ seed);
    std::vector<uint8_t> jpeg;
    Bench_Must(Codec_Encode(px.data(), w, h, w * 4, "jpeg", 85, 300, jpeg), "encoding a photo");
    g_jpegs.push_back(jpeg);
    a_masked_gworld mw;
    mw.bounds = Rect{0, 0, int16_t(h), int16_t(w)};
    mw.fore = New_GWorld(32, mw.bounds);
    Bench_Must(mw.fore != nullptr, "a photo's world");
    for (int y = 0; y < h; ++y) std::memcpy(PixMap_Row(mw.fore->pix, y), &px[size_t(y) * w * 4], size_t(w) * 4);
    a_source_desc s{0, SOURCE_EXTFILE, {}, {0, 0, "/bench/photo.jpg"}};
    auto* raw = new a_raw_bytes(std::move(jpeg));
    Cache_Insert_External(s, mw, raw);
    a_oj_item it;
    it.objid = NextUniqueID();
    it.kind = PHOTO_BLOCK;
    it.ph = New_PH_Rec();
    it.ph->spec.source = s;
    it.ph->spec.subset = mw.bounds;
    it.ph->spec.scalingh = it.ph->spec.scalingv = 300;
    std::memcpy(it.ph->codec, "JPEG", 4);
    it.ph->dst_center = Rect_Centre(u.paintbounds);
    Bench_Must(OMast_Append(u.oj, it), "adding a photo");
}

void Make_Document() {
    g_jpegs.clear();
    a_template t;
    t.nunits = 2;
    t.papersize = {210, 297};
    for (uint32_t ux = 1; ux <= 2; ++ux) {
        t.units[ux].kind = UNIT_CD;
        t.units[ux].bbox = {45, 20 + 140.0f * float(ux - 1), 165, 140 + 140.0f * float(ux - 1)};
    }
    Doc_New(t);
    g_doc.doc_units[2]->clonef = false;
    Add_Photo(*g_doc.doc_units[1], 1);
    Add_Photo(*g_doc.doc_units[1], 7);
    a_oj_item text;
    text.objid = NextUniqueID();
    text.kind = TEXT_BLOCK;
    text.om = New_OM_Rec();
    a_om_rec& om = *text.om;
    om.fontx = uint32_t(std::max(1, Font_Base_Proportional()));
    om.layout = LAYOUT_CIRC_CW;
    om.nxyl = 0;
    for (char16_t c : std::u16string(u"Summer sessions live at the old mill\u0001")) {
        a_xyl_char& x = om.xyl[++om.nxyl];
        Set_XYL_Defaults(x);
        x.cc_char = c;
    }
    Bench_Must(OMast_Append(g_doc.doc_units[1]->oj, text), "adding text");
    a_doc_unit& u = *g_doc.doc_units[1];
    u.paintinuse = true;
    Sync_Existence(PAINT1_LAYER, u, true);
    const Rect b = u.paintbounds;
    for (int y = b.top + 100; y < b.bottom - 100; y += 3) {
        uint8_t* m = PixMap_Row(u.static_[PAINT1_LAYER].mask->pix, y);
        std::memset(m + 100, 200, size_t(Rect_Width(b) - 200));
        std::memset(PixMap_Row(u.static_[PAINT1_LAYER].world->pix, y) + 400, 0x5C, size_t(Rect_Width(b) - 200) * 4);
    }
}

// Seconds of a write + fsync of `n` bytes to a fresh file.
double Raw_Write_Seconds(size_t n) {
    std::vector<uint8_t> bytes(n, 0xA5);
    std::string path = Temp_Folder() + "/bench_raw.bin";
    auto t0 = a_clock::now();
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Bench_Must(fd >= 0, "opening the raw file");
    Bench_Must(::write(fd, bytes.data(), n) == ssize_t(n) && ::fsync(fd) == 0, "raw write");
    ::close(fd);
    double s = std::chrono::duration<double>(a_clock::now() - t0).count();
    ::unlink(path.c_str());
    return s;
}

// Seconds to decode the photos alone, shared between two threads as an
// opening shares them: no opening can take less.
double Decode_Seconds() {
    auto decode = [](const std::vector<uint8_t>& jpeg) {
        a_codec_info info;
        Bench_Must(Codec_Probe(jpeg.data(), jpeg.size(), "jpeg", info), "probing a photo");
        std::unique_ptr<uint8_t[]> px(new uint8_t[size_t(info.width) * size_t(info.height) * 4]);
        Bench_Must(Codec_Decode(jpeg.data(), jpeg.size(), "jpeg", px.get(), info.width * 4, info),
                   "decoding a photo");
    };
    auto t0 = a_clock::now();
    std::thread other([&] { decode(g_jpegs[0]); });
    decode(g_jpegs[1]);
    other.join();
    return std::chrono::duration<double>(a_clock::now() - t0).count();
}

void Report(benchmark::State& state, double project_s, double raw_s, size_t bytes) {
    state.counters["MB"] = double(bytes) / 1e6;
    state.counters["project_ms"] = project_s * 1e3;
    state.counters["raw_ms"] = raw_s * 1e3;
    state.counters["ratio"] = project_s > 0 ? raw_s / project_s : 0;
}

void BM_Project_Save(benchmark::State& state) {
    Make_Document();
    double project_s = 0, raw_s = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        auto t0 = a_clock::now();
        Bench_Must(Write_DISC(Bench_Path()) == 0, "saving");
        project_s += std::chrono::duration<double>(a_clock::now() - t0).count();
        bytes = size_t(File_Size(Bench_Path()));
        raw_s += Raw_Write_Seconds(bytes);
    }
    Report(state, project_s, raw_s, bytes);
    Doc_Dispose();
}
BENCHMARK(BM_Project_Save)->Unit(benchmark::kMillisecond)->Iterations(5);

// What the program has when it opens a project: its art database, when one
// is built, and a quiet answer to any message, so that the figures are of the
// file work and not of logging.
struct a_program_setting {
    bool art = false;
    a_program_setting() {
        std::string path;
        art = Art_Open_Main(Art_Search_Folders(), path) == OPEN_OKAY;
        Dialog_SetPresenter([](const a_dialog_request&) { return 0; });
    }
    ~a_program_setting() {
        Dialog_SetPresenter(nullptr);
        if (art) OP_CloseNewest();
    }
};

void BM_Project_Open(benchmark::State& state) {
    a_program_setting setting;
    state.counters["art"] = setting.art;
    Make_Document();
    Bench_Must(Write_DISC(Bench_Path()) == 0, "saving");
    Doc_Dispose();
    size_t bytes = size_t(File_Size(Bench_Path()));
    // The first opening also loads the picture decoders, which a running
    // program has done long before.
    Bench_Must(Read_DISC(false, Bench_Path()), "opening");
    Doc_Dispose();
    double project_s = 0, raw_s = 0, decode_s = 0;
    for (auto _ : state) {
        auto t0 = a_clock::now();
        Bench_Must(Read_DISC(false, Bench_Path()), "opening");
        project_s += std::chrono::duration<double>(a_clock::now() - t0).count();
        raw_s += Raw_Write_Seconds(bytes);
        Doc_Dispose();
        decode_s += Decode_Seconds();
    }
    Report(state, project_s, raw_s, bytes);
    state.counters["decode_ms"] = decode_s * 1e3;
    (void)File_Remove(Bench_Path());
}
BENCHMARK(BM_Project_Open)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
