// png_writer.cpp: PNG chunks around a zlib stream; rows filtered (Sub or Up, the smaller) and LZ77-coded.
#include "apps/quorvane/png_writer.h"
#include "apps/quorvane/crc32.h"

#include <cstdlib>
#include <cstring>

namespace {

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t> *out) : out_(out) {}
    void Put(uint32_t bits, int count)          // least significant bit first
    {
        for (int i = 0; i < count; ++i) {
            acc_ |= ((bits >> i) & 1u) << used_;
            if (++used_ == 8)
                Flush();
        }
    }
    void PutHuffman(uint32_t code, int length)  // Huffman codes go most significant bit first
    {
        for (int i = length - 1; i >= 0; --i)
            Put((code >> i) & 1u, 1);
    }
    void Finish()
    {
        if (used_)
            Flush();
    }

private:
    void Flush()
    {
        out_->push_back(static_cast<uint8_t>(acc_));
        acc_ = 0;
        used_ = 0;
    }
    std::vector<uint8_t> *out_;
    uint32_t acc_ = 0;
    int used_ = 0;
};

// The fixed literal/length code of deflate.
void PutLiteralOrLength(BitWriter &w, int symbol)
{
    if (symbol < 144)
        w.PutHuffman(0x30 + symbol, 8);
    else if (symbol < 256)
        w.PutHuffman(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        w.PutHuffman(symbol - 256, 7);
    else
        w.PutHuffman(0xC0 + symbol - 280, 8);
}

const int LengthBase[29] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31,
                            35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const int LengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                             3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const int DistanceBase[30] = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385,
                              513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const int DistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6,
                               7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void PutMatch(BitWriter &w, int length, int distance)
{
    int l = 28;
    while (LengthBase[l] > length)
        --l;
    PutLiteralOrLength(w, 257 + l);
    w.Put(length - LengthBase[l], LengthExtra[l]);
    int d = 29;
    while (DistanceBase[d] > distance)
        --d;
    w.PutHuffman(d, 5);
    w.Put(distance - DistanceBase[d], DistanceExtra[d]);
}

constexpr int WindowSize = 32768;
constexpr int HashBits = 15;
constexpr int MaxChain = 32;
constexpr int MinMatch = 3;
constexpr int MaxMatch = 258;

uint32_t HashAt(const uint8_t *p)
{
    return ((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & ((1u << HashBits) - 1);
}

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
    PutBigEndian(png, Crc32(0, png.data() + typeAt, data.size() + 4));
}

} // namespace

std::vector<uint8_t> ZlibCompress(const uint8_t *data, size_t length)
{
    std::vector<uint8_t> out = {0x78, 0x01};   // deflate, 32 KB window, fastest-level marker
    BitWriter w(&out);
    w.Put(1, 1);        // the only block is the last one
    w.Put(1, 2);        // fixed Huffman codes
    std::vector<int> head(1u << HashBits, -1);
    std::vector<int> previous(WindowSize, -1);
    size_t i = 0;
    auto insert = [&](size_t at) {
        if (at + MinMatch > length)
            return;
        uint32_t h = HashAt(data + at);
        previous[at % WindowSize] = head[h];
        head[h] = static_cast<int>(at);
    };
    while (i < length) {
        int bestLength = 0, bestDistance = 0;
        if (i + MinMatch <= length) {
            int candidate = head[HashAt(data + i)];
            int limit = static_cast<int>(length - i < MaxMatch ? length - i : MaxMatch);
            for (int chain = 0; candidate >= 0 && chain < MaxChain; ++chain) {
                int distance = static_cast<int>(i) - candidate;
                if (distance > WindowSize - 1 || distance <= 0)
                    break;
                int n = 0;
                while (n < limit && data[candidate + n] == data[i + n])
                    ++n;
                if (n > bestLength) {
                    bestLength = n;
                    bestDistance = distance;
                    if (n == limit)
                        break;
                }
                int next = previous[candidate % WindowSize];
                if (next >= candidate)
                    break;
                candidate = next;
            }
        }
        if (bestLength >= MinMatch) {
            PutMatch(w, bestLength, bestDistance);
            for (int k = 0; k < bestLength; ++k)
                insert(i + k);
            i += bestLength;
        } else {
            PutLiteralOrLength(w, data[i]);
            insert(i);
            ++i;
        }
    }
    PutLiteralOrLength(w, 256);
    w.Finish();
    uint32_t a = 1, b = 0;
    for (size_t k = 0; k < length; ++k) {
        a = (a + data[k]) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, b << 16 | a);
    return out;
}

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
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(width));
    PutBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});   // 8-bit RGB, deflate, adaptive filters, no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", ZlibCompress(raw.data(), raw.size()));
    PutChunk(png, "IEND", {});
    return png;
}
