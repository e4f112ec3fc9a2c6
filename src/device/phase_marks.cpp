#include "device/phase_marks.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace phase {

namespace {

const char* const g_file = std::getenv("ZELVO_PHASES");
std::mutex g_lock;
std::vector<std::pair<const char*, long long>> g_marks;

long long now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

void mark(const char* name) {
    if (!g_file) return;
    const long long at = now_ns();
    const std::lock_guard<std::mutex> hold(g_lock);
    g_marks.emplace_back(name, at);
}

void write_marks() {
    if (!g_file) return;
    const std::lock_guard<std::mutex> hold(g_lock);
    FILE* out = std::fopen(g_file, "w");
    if (!out) return;
    for (const auto& [name, at] : g_marks) std::fprintf(out, "%s %lld\n", name, at);
    std::fclose(out);
}

std::vector<std::pair<const char*, long long>> take_marks() {
    const std::lock_guard<std::mutex> hold(g_lock);
    return std::exchange(g_marks, {});
}

}  // namespace phase
