// Reading the tags of a large audio file: a 1 GiB MP3 whose frames stop
// after the first few kilobytes (the rest silence the file system keeps
// sparse). The tag reader reads its tags at the start and end and must not
// scan the middle for frames.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include <unistd.h>

#include "bench_check.h"
#include "platform/files.h"
#include "tracks/audio_tags.h"

namespace {

std::string Big_Mp3() {
    static const std::string path = Temp_Folder() + "/cirquel-bench-1gib.mp3";
    std::string bytes = "ID3\x03";
    bytes += std::string("\0\0\0\0\0\x15", 6);  // no flags, 21 bytes of frames
    bytes += std::string("TIT2\0\0\0\x0b\0\0\0Long Night", 21);
    for (int i = 0; i < 20; ++i) bytes += std::string("\xff\xfb\x90\x00", 4) + std::string(413, '\0');
    std::FILE* f = std::fopen(path.c_str(), "wb");
    Bench_Must(f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(), "writing the file");
    Bench_Must(std::fclose(f) == 0 && ::truncate(path.c_str(), 1L << 30) == 0, "making it 1 GiB");
    return path;
}

void BM_TagsOfA1GiBFile(benchmark::State& state) {
    const std::string path = Big_Mp3();
    for (auto _ : state) {
        a_track_tags tags;
        Bench_Must(Tags_Read(path, tags) && tags.title == "Long Night", "reading the tags");
        benchmark::DoNotOptimize(tags);
    }
    (void)File_Remove(path);
}
BENCHMARK(BM_TagsOfA1GiBFile)->Unit(benchmark::kMillisecond);

}  // namespace
