#include "persist/early_decode.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>

#include "images/image_files.h"
#include "persist/chunk_stream.h"
#include "persist/embedded.h"
#include "persist/photo_chunks.h"

namespace {

// Below this a picture decodes faster than a thread starts.
constexpr size_t kEarlyMinBytes = 65536;

struct a_early {
    int32_t sid = 0;
    char codec[4] = {};
    const uint8_t* data = nullptr;  // the stored picture, inside the file's bytes
    size_t size = 0;
    a_masked_gworld mw;
    bool decoded = false;
};

struct a_early_state {
    std::vector<a_early> jobs;
    std::atomic<size_t> next{0};
    std::vector<std::thread> threads;
};
std::unique_ptr<a_early_state> g_early;

uint32_t Be(const uint8_t* p, int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | p[i];
    return v;
}

// The "EMBD" payload's version, codec and handle, when it holds a large
// JPEG: the only decoder that runs off the main thread (no progress, no
// alerts).
bool Parse_Job(const a_chunk_span& c, a_early& job) {
    if (c.len < 10 || int16_t(Be(c.data, 2)) != EMBD_VERSION) return false;
    std::memcpy(job.codec, c.data + 2, 4);
    Reverse_Code(job.codec);
    Canonicalize_Codec(job.codec);
    const int32_t count = int32_t(Be(c.data + 6, 4));
    if (count < 0 || size_t(count) > c.len - 10) return false;
    job.sid = c.cid;
    job.data = c.data + 10;
    job.size = size_t(count);
    return job.size >= kEarlyMinBytes && std::memcmp(job.codec, "JPEG", 4) == 0 && job.data[0] == 0xFF &&
           job.data[1] == 0xD8;
}

// Takes jobs until none is left; any thread, the main one too.
void Work(a_early_state& st) {
    for (size_t i; (i = st.next.fetch_add(1)) < st.jobs.size();) {
        a_early& e = st.jobs[i];
        a_scan_owner scan;
        e.decoded = Scan_Bytes(false, e.codec, e.data, e.size, scan.get()) == SCAN_OK &&
                    Scan_To_MW(scan.get(), e.mw);
    }
}

void Join() {
    if (!g_early) return;
    Work(*g_early);
    for (std::thread& t : g_early->threads) t.join();
    g_early->threads.clear();
}

}  // namespace

void Early_Decode_Start() {
    Early_Decode_Stop();
    auto st = std::make_unique<a_early_state>();
    for (const a_chunk_span& c : Chunk_All("EMBD")) {
        a_early job;
        if (Parse_Job(c, job)) st->jobs.push_back(job);
    }
    if (st->jobs.empty()) return;
    const size_t want = std::min<size_t>(st->jobs.size(), std::max(1u, std::thread::hardware_concurrency()));
    a_early_state* raw = st.get();
    try {
        for (size_t i = 0; i < want; ++i) st->threads.emplace_back([raw] { Work(*raw); });
    } catch (const std::system_error&) {
        // Fewer threads: whoever takes a picture decodes what is left.
    }
    g_early = std::move(st);
}

bool Early_Decode_Take(int32_t sid, const std::vector<uint8_t>& bytes, a_masked_gworld& mw) {
    if (!g_early) return false;
    Join();
    for (a_early& e : g_early->jobs) {
        if (e.sid != sid || !e.decoded || e.size != bytes.size() || std::memcmp(e.data, bytes.data(), e.size) != 0)
            continue;
        mw = e.mw;
        e.mw = a_masked_gworld{};
        e.decoded = false;
        return true;
    }
    return false;
}

void Early_Decode_Stop() {
    if (!g_early) return;
    Join();
    for (a_early& e : g_early->jobs) Dispose_MW(e.mw);
    g_early.reset();
}
