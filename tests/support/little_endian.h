// Little-endian writes into a byte buffer, for the test cases that patch a data file or an
// image-list stream field by field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kvtest {

inline void Put16(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

inline void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace kvtest
