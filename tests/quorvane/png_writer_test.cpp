// png_writer_test.cpp: a written PNG is whole chunks, each with its check, around zlib's stream of the
// filtered rows, and those rows undo to the pixels given.
#include <gtest/gtest.h>
#include <zlib.h>

#include "apps/quorvane/png_writer.h"

TEST(PngWriter, ChecksChunksAroundTheRowsStream)
{
    const uint8_t rgb[2 * 3 * 3] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9, 200, 100, 50, 1, 2, 3};
    std::vector<uint8_t> png = EncodePng(3, 2, rgb);
    auto big = [&](size_t at) { return uint32_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]; };
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(big(16), 3u);
    EXPECT_EQ(big(20), 2u);
    std::string types;
    std::vector<uint8_t> rows(2 * (1 + 3 * 3));
    size_t at = 8;
    while (at + 12 <= png.size()) {
        uint32_t length = big(at);
        ASSERT_LE(at + 12 + length, png.size());
        std::string type(png.begin() + at + 4, png.begin() + at + 8);
        types += type + " ";
        EXPECT_EQ(big(at + 8 + length), crc32(0, png.data() + at + 4, length + 4)) << types;
        uLongf size = rows.size();
        if (type == "IDAT")
            EXPECT_EQ(uncompress(rows.data(), &size, png.data() + at + 8, length), Z_OK);
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(types, "IHDR IDAT IEND ");
    for (size_t y = 0, stride = 9; y < 2; ++y) {      // Sub (1) or Up (2) undone gives the pixels
        uint8_t *row = &rows[y * (stride + 1)];
        for (size_t x = 0; x < stride; ++x) {
            row[1 + x] += row[0] == 1 ? (x >= 3 ? row[1 + x - 3] : 0) : rgb[(y - 1) * stride + x];
            EXPECT_EQ(row[1 + x], rgb[y * stride + x]) << y << " " << x;
        }
    }
}
