// Our fast PNG writer against the toolkit's PNG reader, and its saves.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "file_size_limit.h"
#include "platform/files.h"
#include "platform/image_codec.h"
#include "platform/png_writer.h"

namespace fs = std::filesystem;

namespace {

// Noise (which leaves deflate nothing to find, so the data spans several
// IDAT chunks at the larger sizes) with flat bands (runs) across it.
std::vector<uint8_t> Pixels(int width, int height, size_t rowbytes, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> px(rowbytes * size_t(height));
    for (uint8_t& b : px) b = uint8_t(rng());
    for (int y = 0; y < height; y += 3)
        for (size_t x = 0; x < size_t(width) * 4; ++x) px[size_t(y) * rowbytes + x] = uint8_t(x % 4 * 60);
    return px;
}

}  // namespace

TEST(PngWriter, ToolkitReadsBackEveryPixelOfRgbAndRgba) {
    const struct {
        int width, height, pad;
    } sizes[] = {{1, 1, 0}, {3, 2, 4}, {257, 5, 12}, {613, 501, 0}};
    for (const auto& s : sizes)
        for (bool alpha : {false, true}) {
            SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height) +
                         (alpha ? " RGBA" : " RGB"));
            size_t rowbytes = size_t(s.width) * 4 + size_t(s.pad);
            std::vector<uint8_t> px = Pixels(s.width, s.height, rowbytes, uint32_t(s.width));
            std::vector<uint8_t> file;
            std::string error;
            ASSERT_TRUE(Png_Encode_Fast(a_png_rows{px.data(), s.width, s.height, rowbytes, alpha},
                                        file, &error))
                << error;
            a_codec_info info;
            ASSERT_TRUE(Codec_Probe(file.data(), file.size(), "", info));
            ASSERT_EQ(info.format, "png");
            ASSERT_EQ(info.width, s.width);
            ASSERT_EQ(info.height, s.height);
            std::vector<uint8_t> back(size_t(s.width) * size_t(s.height) * 4);
            ASSERT_TRUE(Codec_Decode(file.data(), file.size(), "", back.data(), s.width * 4, info));
            EXPECT_EQ(info.alpha, alpha);
            long bad = 0;
            for (int y = 0; y < s.height; ++y)
                for (int x = 0; x < s.width; ++x) {
                    const uint8_t* a = px.data() + size_t(y) * rowbytes + size_t(x) * 4;
                    const uint8_t* b = back.data() + (size_t(y) * size_t(s.width) + size_t(x)) * 4;
                    bad += a[0] != b[0] || a[1] != b[1] || a[2] != b[2] || b[3] != (alpha ? a[3] : 255);
                }
            EXPECT_EQ(bad, 0);
        }
}

TEST(PngWriter, RefusesEmptyPicturesAndKeepsTheOldFileWhenASaveFails) {
    fs::path dir = fs::path(Temp_Folder()) / "cirquel-png-writer";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string path = (dir / "keep.png").string();
    ASSERT_TRUE(File_SaveAtomic(path, "old", 3));
    std::vector<uint8_t> px = Pixels(300, 300, 1200, 7);
    std::string error;
    EXPECT_FALSE(Png_Save_Fast(path, a_png_rows{px.data(), 0, 300, 1200, false}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(Png_Save_Fast(path, a_png_rows{px.data(), 300, 300, 1199, false}, &error));
    EXPECT_FALSE(Png_Save_Fast(path, a_png_rows{nullptr, 300, 300, 1200, false}, &error));
    {
        a_file_size_limit limit(4096);
        ASSERT_TRUE(limit.ok());
        error.clear();
        EXPECT_FALSE(Png_Save_Fast(path, a_png_rows{px.data(), 300, 300, 1200, true}, &error));
        EXPECT_EQ(error, path + ": File too large");
    }
    std::vector<uint8_t> data;
    ASSERT_TRUE(File_ReadAll(path, data));
    EXPECT_EQ(std::string(data.begin(), data.end()), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}
