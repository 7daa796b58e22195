// png_writer.cpp: PNG chunks around zlib's stream; rows filtered with Sub or Up, whichever is smaller.
#include "apps/quorvane/png_writer.h"

#include <zlib.h>

namespace {

void PutBigEndian(std::vector<uint8_t> &out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(std::vector<uint8_t> &png, const char type[4], const std::vector<uint8_t> &data)
{
    PutBigEndian(png, static_cast<uint32_t>(data.size()));
    size_t typeAt = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBigEndian(png, static_cast<uint32_t>(crc32(0, png.data() + typeAt, static_cast<uInt>(data.size() + 4))));
}

} // namespace

std::vector<uint8_t> EncodePng(int width, int height, const uint8_t *rgb)
{
    size_t stride = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> raw;
    raw.reserve((stride + 1) * height);
    std::vector<uint8_t> sub(stride), up(stride);
    for (int y = 0; y < height; ++y) {
        const uint8_t *row = rgb + stride * y;
        const uint8_t *above = y > 0 ? row - stride : nullptr;
        long subCost = 0, upCost = 0;
        for (size_t x = 0; x < stride; ++x) {
            sub[x] = static_cast<uint8_t>(row[x] - (x >= 3 ? row[x - 3] : 0));
            up[x] = static_cast<uint8_t>(row[x] - (above ? above[x] : 0));
            subCost += static_cast<int8_t>(sub[x]) < 0 ? -static_cast<int8_t>(sub[x]) : sub[x];
            upCost += static_cast<int8_t>(up[x]) < 0 ? -static_cast<int8_t>(up[x]) : up[x];
        }
        bool useUp = above && upCost < subCost;
        raw.push_back(useUp ? 2 : 1);
        raw.insert(raw.end(), useUp ? up.begin() : sub.begin(), useUp ? up.end() : sub.end());
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        return {};
    packed.resize(packedSize);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(width));
    PutBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});   // 8-bit RGB, deflate, adaptive filters, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}
