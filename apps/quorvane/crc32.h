// crc32.h: the CRC-32 of zlib and PNG, used to check each line of the panel file and each PNG chunk.
#pragma once

#include <cstddef>
#include <cstdint>

// Continues a CRC: pass 0 to start, the previous result to go on.
uint32_t Crc32(uint32_t crc, const void *data, size_t length);
