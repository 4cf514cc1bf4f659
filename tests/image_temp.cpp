// Image fixtures written out for the readers that take a path; apart from
// image_fixtures.cpp so that the fuzz seed writer can use that without gtest.
#include <filesystem>

#include <gtest/gtest.h>

#include "image_fixtures.h"
#include "platform/files.h"

std::string Write_Temp(const std::string& name, const a_bytes& bytes) {
    std::filesystem::path dir = std::filesystem::path(Temp_Folder()) / "cirquel-image-tests";
    std::filesystem::create_directories(dir);
    std::string path = (dir / name).string();
    EXPECT_TRUE(File_SaveAtomic(path, bytes.data(), bytes.size())) << path;
    return path;
}
