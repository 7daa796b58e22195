// crc32.cpp: table-driven CRC-32 (polynomial 0xEDB88320, reflected), as zlib computes it.
#include "apps/quorvane/crc32.h"

namespace {

struct Crc32Table {
    uint32_t entry[256];
    Crc32Table()
    {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entry[n] = c;
        }
    }
};

const Crc32Table table;

} // namespace

uint32_t Crc32(uint32_t crc, const void *data, size_t length)
{
    const uint8_t *bytes = static_cast<const uint8_t *>(data);
    crc = ~crc;
    for (size_t i = 0; i < length; ++i)
        crc = table.entry[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}
