// Log entries that use every field to its limits, and byte-level helpers for building damaged documents.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "foodlog/log_table.h"
#include "logdoc/log_document.h"

namespace samples {

inline void SetText(char* field, size_t fieldSize, const std::string& text) {
    std::memset(field, 0, fieldSize);
    std::memcpy(field, text.data(), text.size() < fieldSize ? text.size() : fieldSize);
}

inline void SetFloatBits(float* field, uint32_t bits) {
    std::memcpy(field, &bits, sizeof bits);
}

// Entry i of a log whose fields sweep lengths, signs, byte values and float bit patterns.
inline LogEntry Varied(int i) {
    static const uint32_t kFloatBits[] = {
        0x00000000u,  // 0
        0x80000000u,  // -0
        0x40200000u,  // 2.5
        0xC0200000u,  // -2.5
        0x7F800000u,  // infinity
        0xFF800000u,  // -infinity
        0x7FC00000u,  // quiet NaN
        0x7F800001u,  // signalling NaN
        0xFFFFFFFFu,  // NaN with every payload bit
        0x00000001u,  // smallest denormal
        0x7F7FFFFFu,  // largest float
        0x3DCCCCCDu,  // 0.1
    };
    static const int32_t kInts[] = {-1, 0, 1, 2, 3, 7, 99, INT32_MIN, INT32_MAX, 0x01020304, -256};
    const int nf = sizeof kFloatBits / sizeof kFloatBits[0];
    const int ni = sizeof kInts / sizeof kInts[0];

    LogEntry e;
    std::memset(&e, 0, sizeof e);
    std::string name;
    int nameLength = i == 0 ? 255 : (i * 37) % 256;
    for (int k = 0; k < nameLength; ++k)
        name.push_back(static_cast<char>(1 + (i * 31 + k * 7) % 255));
    SetText(e.name, sizeof e.name, name);
    for (int slot = 0; slot < kNutrientCount; ++slot) {
        e.values[slot] = kInts[(i + slot) % ni] ^ static_cast<int32_t>(slot * 0x01010101u);
    }
    SetFloatBits(&e.servingWeight1, kFloatBits[i % nf]);
    e.reserved1 = kInts[(i + 1) % ni];
    SetFloatBits(&e.servingCount1, kFloatBits[(i + 1) % nf]);
    SetText(e.servingText1, sizeof e.servingText1,
            std::string(i == 0 ? 47 : (i * 5) % 48, static_cast<char>(0x80 + i)));
    SetFloatBits(&e.servingWeight2, kFloatBits[(i + 2) % nf]);
    e.measureIndex = kInts[(i + 2) % ni];
    SetFloatBits(&e.servingCount2, kFloatBits[(i + 3) % nf]);
    SetText(e.servingText2, sizeof e.servingText2,
            std::string(i == 0 ? 47 : (i * 11) % 48, static_cast<char>('a' + i % 26)));
    e.refuse = kInts[(i + 3) % ni];
    e.reserved2 = kInts[(i + 4) % ni];
    SetFloatBits(&e.quantity, kFloatBits[(i + 5) % nf]);
    e.measure = kInts[(i + 5) % ni];
    e.source = kInts[(i + 6) % ni];
    return e;
}

// A plain food as the log holds one: name, a few nutrients, quantity, measure and source.
inline LogEntry Food(const char* name, float quantity, int32_t measure, int32_t source) {
    LogEntry e;
    std::memset(&e, 0, sizeof e);
    SetText(e.name, sizeof e.name, name);
    e.values[kProtein] = 2600;
    e.values[kCalcium] = 100;
    e.quantity = quantity;
    e.measure = measure;
    e.source = source;
    return e;
}

inline std::string Encode(const LogEntry* entries, int count) {
    std::string bytes(kMaxLogDocumentSize, '\0');
    size_t size = 0;
    if (!EncodeLogDocument(entries, count, &bytes[0], bytes.size(), &size)) return std::string();
    bytes.resize(size);
    return bytes;
}

// Sets byte 14 to the sum of the bytes from 15 on, so a change elsewhere is judged on its own.
inline void FixChecksum(std::string* document) {
    unsigned sum = 0;
    for (size_t i = 15; i < document->size(); ++i)
        sum += static_cast<unsigned char>((*document)[i]);
    (*document)[14] = static_cast<char>(sum & 0xFF);
}

inline void PutI32(std::string* document, size_t offset, int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int k = 0; k < 4; ++k)
        (*document)[offset + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
}

}  // namespace samples
