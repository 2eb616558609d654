// Numbers kept in files and on the clipboard are little-endian on every system, whatever the processor's
// own order, so that a file written by one build reads the same in another.
#pragma once

#include <cstddef>
#include <cstdint>

// Stores the low `bytes` bytes (at most 8) of `value` at `at`, least significant first.
inline void StoreLittleEndian(void* at, uint64_t value, size_t bytes) {
    unsigned char* out = static_cast<unsigned char*>(at);
    for (size_t i = 0; i < bytes; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

// Appends the low `bytes` bytes (at most 8) of `value` to a byte container (std::string,
// std::vector<uint8_t>).
template <class Bytes>
void AppendLittleEndian(Bytes* out, uint64_t value, size_t bytes) {
    unsigned char stored[8];
    StoreLittleEndian(stored, value, bytes);
    for (size_t i = 0; i < bytes; ++i)
        out->push_back(static_cast<typename Bytes::value_type>(stored[i]));
}

// The number of `bytes` bytes at `at`, least significant first.
inline uint64_t LoadLittleEndian(const void* at, size_t bytes) {
    const unsigned char* in = static_cast<const unsigned char*>(at);
    uint64_t value = 0;
    for (size_t i = bytes; i > 0; --i)
        value = value << 8 | in[i - 1];
    return value;
}
