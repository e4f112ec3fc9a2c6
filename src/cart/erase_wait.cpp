#include "cart/erase_wait.h"

#include <chrono>

#include "cart/bus.h"

namespace gb {
namespace {

constexpr int kPollIntervalMs = 1000;
constexpr uint8_t kErased = 0xFF;
constexpr uint32_t kGbaPollLength = 10;  // a save read the board answers in full

// Polls until read() finds the first byte erased. read() reads that byte and
// reports whether the board answered.
template <typename Read>
EraseWait poll(const EraseWaitOptions& o, Read read) {
    const auto start = std::chrono::steady_clock::now();
    uint8_t first = 0;
    o.sleep(kPollIntervalMs);
    for (;;) {
        if (!read(first)) return EraseWait::NoAnswer;
        if (first == kErased) return EraseWait::Erased;
        if (o.cancel->load(std::memory_order_relaxed)) return EraseWait::Canceled;
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (elapsed >= std::chrono::milliseconds(o.limitMs)) return EraseWait::TimedOut;
        o.sleep(kPollIntervalMs);
    }
}

}  // namespace

EraseWait wait_gb_flash_erased(const EraseWaitOptions& options) {
    return poll(options, [](uint8_t& first) { return p_gb_cpu_read(0, &first, 1) == 1; });
}

EraseWait erase_gba_flash_save(const EraseWaitOptions& options) {
    if (f_gba_sram_erase() == 0) return EraseWait::NoAnswer;
    return poll(options, [](uint8_t& first) {
        uint8_t head[kGbaPollLength] = {};
        const bool answered = f_gba_sram_read(0, head, kGbaPollLength) == kGbaPollLength;
        first = head[0];
        return answered;
    });
}

}  // namespace gb
