// Arbitrary bytes as entries on the clipboard: refused without a byte written, or read into entries that
// copy back to bytes reading the same.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "logdoc/copied_entries.h"

namespace {

constexpr unsigned char kUntouched = 0x5A;
LogEntry g_entries[kMaxLogEntries];
LogEntry g_again[kMaxLogEntries];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::memset(g_entries, kUntouched, sizeof g_entries);
    int count = -1;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!DecodeCopiedEntries(bytes, g_entries, &count)) {
        if (count != -1) __builtin_trap();
        for (size_t i = 0; i < sizeof g_entries; ++i)
            if (reinterpret_cast<const unsigned char*>(g_entries)[i] != kUntouched) __builtin_trap();
        return 0;
    }
    if (count < 1 || count > kMaxLogEntries) __builtin_trap();
    std::string copied;
    if (!EncodeCopiedEntries(g_entries, count, &copied)) __builtin_trap();
    int again = 0;
    if (!DecodeCopiedEntries(copied, g_again, &again) || again != count) __builtin_trap();
    if (std::memcmp(g_again, g_entries, static_cast<size_t>(count) * sizeof g_entries[0]) != 0) __builtin_trap();
    return 0;
}
