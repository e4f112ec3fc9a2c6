#include "jobs/following_digest.h"

#include <algorithm>

namespace {
// Hashing in pieces lets finish() take over little work when the data is in.
constexpr size_t kPiece = 256 * 1024;
}  // namespace

FollowingDigest::FollowingDigest(const uint8_t* data, size_t size, Sink sink)
    : m_data(data), m_size(size), m_sink(std::move(sink)), m_thread([this] { run(); }) {}

FollowingDigest::~FollowingDigest() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void FollowingDigest::advance(size_t final) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_final = std::min(std::max(m_final, final), m_size);
    }
    m_wake.notify_all();
}

void FollowingDigest::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || m_hashed < m_final; });
        if (m_stop) return;
        const size_t from = m_hashed, n = std::min(kPiece, m_final - m_hashed);
        lock.unlock();
        if (m_sink && m_sinkOk) m_sinkOk = m_sink(m_data + from, n);
        m_hasher.add(m_data + from, n);
        lock.lock();
        m_hashed = from + n;
        m_wake.notify_all();
    }
}

gb::DumpDigest FollowingDigest::finish() {
    advance(m_size);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait(lock, [this] { return m_hashed >= m_size; });
    return m_hasher.result();
}
