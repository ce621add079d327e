// Little-endian loads and stores of unsigned integers, independent of the
// host's byte order. The caller guarantees sizeof(U) readable/writeable bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vantrel {

template <class U>
U LoadLittle(const uint8_t* bytes) {
    U v = 0;
    for (size_t i = 0; i < sizeof(U); ++i) v |= static_cast<U>(static_cast<U>(bytes[i]) << (8 * i));
    return v;
}

template <class U>
void StoreLittle(uint8_t* bytes, U v) {
    for (size_t i = 0; i < sizeof(U); ++i) bytes[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace vantrel
