// png_writer_test.cpp: the screenshot writer's PNG is well formed and holds the pixels it was given.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/common/png_writer.h"

namespace {

uint32_t BigEndian(const std::vector<uint8_t> &b, size_t at)
{
    return static_cast<uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

TEST(PngWriter, ChecksumsMatchTheirPublishedCheckValues)
{
    const char *digits = "123456789";
    EXPECT_EQ(png_writer_detail::Crc32(reinterpret_cast<const uint8_t *>(digits), 9), 0xCBF43926u);
    const char *word = "Wikipedia";
    EXPECT_EQ(png_writer_detail::Adler32(std::vector<uint8_t>(word, word + 9)), 0x11E60398u);
}

// Walks the chunks (checking each CRC), joins the stored deflate blocks and compares the rows.
TEST(PngWriter, ImageLargerThanOneStoredBlockReadsBack)
{
    const int width = 300, height = 90;   // 81,090 bytes of rows: two stored blocks
    std::vector<uint32_t> pixels(width * height);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
    std::vector<uint8_t> png = EncodePng(width, height, pixels.data());

    ASSERT_GE(png.size(), 8u);
    EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
    std::vector<uint8_t> zlib;
    std::vector<std::string> order;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        uint32_t length = BigEndian(png, at);
        ASSERT_LE(at + 12 + length, png.size());
        std::string type(png.begin() + at + 4, png.begin() + at + 8);
        order.push_back(type);
        EXPECT_EQ(png_writer_detail::Crc32(png.data() + at + 4, length + 4), BigEndian(png, at + 8 + length)) << type;
        if (type == "IHDR") {
            EXPECT_EQ(BigEndian(png, at + 8), static_cast<uint32_t>(width));
            EXPECT_EQ(BigEndian(png, at + 12), static_cast<uint32_t>(height));
            EXPECT_EQ(png[at + 16], 8);
            EXPECT_EQ(png[at + 17], 2);
        }
        if (type == "IDAT")
            zlib.insert(zlib.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(order, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));

    ASSERT_GE(zlib.size(), 6u);
    EXPECT_EQ((zlib[0] * 256 + zlib[1]) % 31, 0) << "zlib header check bits";
    std::vector<uint8_t> raw;
    size_t p = 2;
    int blocks = 0;
    bool last = false;
    while (!last) {
        ASSERT_LE(p + 5, zlib.size());
        last = zlib[p] & 1;
        EXPECT_EQ(zlib[p] >> 1, 0) << "stored block";
        unsigned len = zlib[p + 1] | zlib[p + 2] << 8, nlen = zlib[p + 3] | zlib[p + 4] << 8;
        EXPECT_EQ(len ^ 0xFFFF, nlen);
        ASSERT_LE(p + 5 + len, zlib.size());
        raw.insert(raw.end(), zlib.begin() + p + 5, zlib.begin() + p + 5 + len);
        p += 5 + len;
        ++blocks;
    }
    EXPECT_EQ(blocks, 2);
    ASSERT_EQ(p + 4, zlib.size());
    EXPECT_EQ(BigEndian(zlib, p), png_writer_detail::Adler32(raw));
    ASSERT_EQ(raw.size(), static_cast<size_t>(height) * (1 + 3 * width));
    for (int y = 0; y < height; ++y) {
        const uint8_t *row = raw.data() + y * (1 + 3 * width);
        ASSERT_EQ(row[0], 0);
        for (int x = 0; x < width; ++x) {
            uint32_t expect = pixels[y * width + x];
            uint32_t got = static_cast<uint32_t>(row[1 + 3 * x]) << 16 | row[2 + 3 * x] << 8 | row[3 + 3 * x];
            ASSERT_EQ(got, expect) << x << "," << y;
        }
    }
}

} // namespace
