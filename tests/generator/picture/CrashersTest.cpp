// Every input that once broke a decoder, or tried to exhaust memory, is kept
// in tests/crashers/picture and read again here.

#include <filesystem>

#include <gtest/gtest.h>

#include "generator/picture/Picture.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;

TEST(Crashers, AreReadWithoutHarm) {
    const fs::path folder = fs::path(LUMETRA_SOURCE_DIR) / "tests" / "crashers" / "picture";
    int files = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string path = entry.path().string();
        Bitmap area;
        const bool loaded = LoadPicture(nullptr, area, path);
        int h = 0, w = 0;
        EXPECT_TRUE(GetImageSize(path, h, w)) << path;
        // Decompression bombs are refused before their pixels are allocated.
        if (entry.path().filename().string().starts_with("bomb-")) {
            EXPECT_FALSE(loaded) << path;
            EXPECT_EQ(w, 105) << path;
            EXPECT_EQ(h, 105) << path;
        }
        ++files;
    }
    EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace lumetra
