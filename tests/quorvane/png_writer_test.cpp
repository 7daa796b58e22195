// png_writer_test.cpp: every chunk of a written PNG carries its own check; viewers refuse one that does not.
#include <gtest/gtest.h>

#include "apps/quorvane/crc32.h"
#include "apps/quorvane/png_writer.h"

TEST(PngWriter, EveryChunkIsWholeAndChecked)
{
    const uint8_t rgb[2 * 3 * 3] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9, 200, 100, 50, 1, 2, 3};
    std::vector<uint8_t> png = EncodePng(3, 2, rgb);
    auto big = [&](size_t at) { return uint32_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]; };
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    EXPECT_EQ(big(16), 3u);
    EXPECT_EQ(big(20), 2u);
    std::string types;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        uint32_t length = big(at);
        ASSERT_LE(at + 12 + length, png.size());
        types += std::string(png.begin() + at + 4, png.begin() + at + 8) + " ";
        EXPECT_EQ(big(at + 8 + length), Crc32(0, png.data() + at + 4, length + 4)) << types;
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(types.substr(types.size() - 5), "IEND ");
}
