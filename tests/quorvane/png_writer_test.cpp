// png_writer_test.cpp: the PNG encoder's output read back by an independent decoder (Python's zlib).
#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>
#include <random>
#include <string>
#include <vector>

#include "apps/quorvane/crc32.h"
#include "apps/quorvane/png_writer.h"

namespace {

bool HavePython()
{
    return system("python3 -c 'import zlib' >/dev/null 2>&1") == 0;
}

// Decompresses with Python's zlib; false when Python refuses the stream.
bool Inflate(const std::vector<uint8_t> &stream, std::vector<uint8_t> *out)
{
    // Names of this process's own: tests of other runs may be inflating at the same moment.
    static int calls = 0;
    std::string stem = testing::TempDir() + "quorvane_zlib_" + std::to_string(getpid()) + "_" + std::to_string(++calls);
    std::string in = stem + ".in";
    std::string result = stem + ".out";
    FILE *f = fopen(in.c_str(), "wb");
    if (!f)
        return false;
    fwrite(stream.data(), 1, stream.size(), f);
    fclose(f);
    std::string command = "python3 -c \"import zlib,sys; open(sys.argv[2],'wb').write(zlib.decompress(open(sys.argv[1],'rb').read()))\" " +
                          in + " " + result + " 2>/dev/null";
    if (system(command.c_str()) != 0)
        return false;
    f = fopen(result.c_str(), "rb");
    if (!f)
        return false;
    out->clear();
    int c;
    while ((c = fgetc(f)) != EOF)
        out->push_back(static_cast<uint8_t>(c));
    fclose(f);
    remove(in.c_str());
    remove(result.c_str());
    return true;
}

uint32_t BigEndian(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

TEST(PngWriter, ZlibStreamsDecompressToTheirInput)
{
    if (!HavePython())
        GTEST_SKIP() << "python3 with zlib is not available";
    std::mt19937 random(3);
    std::vector<std::vector<uint8_t>> inputs;
    inputs.push_back({});
    inputs.push_back({42});
    inputs.push_back(std::vector<uint8_t>(100000, 7));                 // one long run
    std::vector<uint8_t> noise(70000);
    for (uint8_t &b : noise)
        b = static_cast<uint8_t>(random());
    inputs.push_back(noise);                                           // nothing to match
    std::vector<uint8_t> far;                                          // repeats beyond the window
    for (size_t i = 0; i < 80000; ++i)
        far.push_back(noise[i % 40000]);
    inputs.push_back(far);
    std::vector<uint8_t> text;
    for (int i = 0; i < 5000; ++i)
        for (char c : std::to_string(i * 37 % 1000) + " cards ")
            text.push_back(static_cast<uint8_t>(c));
    inputs.push_back(text);
    for (const auto &input : inputs) {
        std::vector<uint8_t> back;
        ASSERT_TRUE(Inflate(ZlibCompress(input.data(), input.size()), &back)) << "size " << input.size();
        EXPECT_EQ(back, input);
    }
}

TEST(PngWriter, ChunksAreWellFormedAndRowsComeBack)
{
    if (!HavePython())
        GTEST_SKIP() << "python3 with zlib is not available";
    const int w = 37, h = 23;
    std::vector<uint8_t> rgb(w * h * 3);
    for (int i = 0; i < w * h * 3; ++i)
        rgb[i] = static_cast<uint8_t>((i * 13) ^ (i / 7));
    std::vector<uint8_t> png = EncodePng(w, h, rgb.data());
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_GT(png.size(), 8u);
    ASSERT_TRUE(std::equal(signature, signature + 8, png.begin()));
    std::vector<uint8_t> idat;
    std::vector<std::string> types;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        uint32_t length = BigEndian(&png[at]);
        ASSERT_LE(at + 12 + length, png.size());
        std::string type(png.begin() + at + 4, png.begin() + at + 8);
        types.push_back(type);
        EXPECT_EQ(Crc32(0, &png[at + 4], length + 4), BigEndian(&png[at + 8 + length])) << type;
        if (type == "IHDR") {
            EXPECT_EQ(BigEndian(&png[at + 8]), static_cast<uint32_t>(w));
            EXPECT_EQ(BigEndian(&png[at + 12]), static_cast<uint32_t>(h));
            EXPECT_EQ(png[at + 16], 8);   // bits per sample
            EXPECT_EQ(png[at + 17], 2);   // RGB
        }
        if (type == "IDAT")
            idat.insert(idat.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    std::vector<uint8_t> raw;
    ASSERT_TRUE(Inflate(idat, &raw));
    ASSERT_EQ(raw.size(), static_cast<size_t>((w * 3 + 1) * h));
    // Undo the filters (only Sub and Up are used) and compare with the pixels.
    std::vector<uint8_t> back(w * h * 3);
    for (int y = 0; y < h; ++y) {
        uint8_t filter = raw[y * (w * 3 + 1)];
        ASSERT_TRUE(filter == 1 || filter == 2) << "row " << y;
        for (int x = 0; x < w * 3; ++x) {
            uint8_t v = raw[y * (w * 3 + 1) + 1 + x];
            uint8_t left = x >= 3 ? back[y * w * 3 + x - 3] : 0;
            uint8_t up = y > 0 ? back[(y - 1) * w * 3 + x] : 0;
            back[y * w * 3 + x] = static_cast<uint8_t>(v + (filter == 1 ? left : up));
        }
    }
    EXPECT_EQ(back, rgb);
}

} // namespace
