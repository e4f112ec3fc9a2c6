#include "cart/save_libraries.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace gb {
namespace {

constexpr size_t kDigits = 3;
constexpr uint32_t kPiece = 0x40000;  // bytes read at a time
// The longest ID less one byte: an ID cut by a piece's end is found in the next.
constexpr size_t kOverlap = 10 + kDigits - 1;

bool digits_at(const uint8_t* p) {
    for (size_t i = 0; i < kDigits; ++i)
        if (!std::isdigit(p[i])) return false;
    return true;
}

}  // namespace

void collect_save_library_ids(const uint8_t* data, size_t size, std::vector<std::string>* ids) {
    for (const SaveLibrary& library : kSaveLibraries) {
        const size_t n = std::strlen(library.family);
        for (size_t at = 0; at + n + kDigits <= size; ++at) {
            if (data[at] != uint8_t(library.family[0]) || std::memcmp(data + at, library.family, n))
                continue;
            if (!digits_at(data + at + n)) continue;
            const std::string id(reinterpret_cast<const char*>(data + at), n + kDigits);
            if (std::find(ids->begin(), ids->end(), id) == ids->end()) ids->push_back(id);
        }
    }
}

const SaveLibrary* save_library_of(const std::string& id) {
    for (const SaveLibrary& library : kSaveLibraries) {
        const size_t n = std::strlen(library.family);
        if (id.size() == n + kDigits && id.compare(0, n, library.family) == 0) return &library;
    }
    return nullptr;
}

bool find_save_library_ids(uint32_t romSize, std::vector<std::string>* ids,
                           const std::function<bool(uint32_t, uint32_t)>& progress) {
    std::vector<uint8_t> window(kOverlap + kPiece, 0);
    size_t carried = 0;
    for (uint32_t at = 0; at < romSize; at += kPiece) {
        const uint32_t n = std::min(kPiece, romSize - at);
        // ROM addresses of the GBA bus count halfwords.
        if (!p_gba_cpu_read || p_gba_cpu_read(at / 2, window.data() + carried, n) != n)
            return false;
        collect_save_library_ids(window.data(), carried + n, ids);
        const size_t keep = std::min(kOverlap, carried + n);
        std::memmove(window.data(), window.data() + carried + n - keep, keep);
        carried = keep;
        if (progress && !progress(at + n, romSize)) return false;
    }
    return true;
}

}  // namespace gb
