// Hashes a dump while it arrives, and hands each part on to a sink (the output
// file) as it goes: a thread of its own follows the running total, so the
// digest and the file are ready almost as soon as the last chunk is in.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "cart/known_dumps.h"

class FollowingDigest {
public:
    // Takes each final part in order; false stops further parts reaching it.
    using Sink = std::function<bool(const uint8_t* part, size_t length)>;

    // data stays valid and its first size bytes become final in order.
    FollowingDigest(const uint8_t* data, size_t size, Sink sink = {});
    ~FollowingDigest();
    FollowingDigest(const FollowingDigest&) = delete;
    FollowingDigest& operator=(const FollowingDigest&) = delete;

    // The first final bytes of the data will not change any more.
    void advance(size_t final);
    // Hashes what is left and returns the digest of all size bytes.
    gb::DumpDigest finish();
    // After finish(): whether the sink took every part.
    bool sinkTookAll() const { return m_sinkOk; }

private:
    void run();

    const uint8_t* m_data;
    size_t m_size;
    gb::DumpHasher m_hasher;
    Sink m_sink;
    bool m_sinkOk = true;  // written by the thread, read after finish()
    std::mutex m_mutex;
    std::condition_variable m_wake;
    size_t m_final = 0;   // guarded by m_mutex
    size_t m_hashed = 0;  // guarded by m_mutex
    bool m_stop = false;  // guarded by m_mutex
    std::thread m_thread;
};
