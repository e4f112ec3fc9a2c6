// Waiting for a flash chip to finish erasing: its first byte reads 0xFF once
// the erase is over. The chip is polled once a second, as the board's own
// tools do; the wait ends early when the job is canceled.
#pragma once

#include <atomic>
#include <cstdint>

namespace gb {

enum class EraseWait { Erased, Canceled, TimedOut, NoAnswer };

struct EraseWaitOptions {
    const std::atomic<int>* cancel;  // nonzero asks the wait to stop
    int64_t limitMs;                 // how long the chip may take
    void (*sleep)(int ms);           // the job's wait between polls
};

// Polls the GB flash chip's first byte through the GB bus.
EraseWait wait_gb_flash_erased(const EraseWaitOptions& options);

// Starts erasing a GBA flash save, then polls its first byte.
EraseWait erase_gba_flash_save(const EraseWaitOptions& options);

}  // namespace gb
