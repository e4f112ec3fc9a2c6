// Fuzzes the script host with arbitrary script text run as a dump's mapper
// script; the bus calls reach no board (no bus is initialised), and a watchdog
// cancels a script that runs too long.
#include <unistd.h>

#include <QString>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

#include "script/job_context.h"
#include "script/script.h"

namespace {

class QuietJob : public JobContext {
public:
    void report_progress(int, int) override {}
    void report_line(const QString&) override {}
};

constexpr size_t kMaxScript = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kMaxScript) return 0;
    static const std::string path = "/tmp/zelvo-fuzz-" + std::to_string(getpid()) + ".nut";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    for (const uint32_t type :
         {uint32_t(kJobGbDump), uint32_t(kJobGbSaveWrite), uint32_t(kJobGbaDump)}) {
        QuietJob job;
        std::vector<uint8_t> buffer(0x8000, 0);
        job.m_type = type;
        job.m_script = QString::fromStdString(path);
        job.m_rom_size = job.m_ram_size = uint32_t(buffer.size());
        job.m_buffer = buffer.data();
        job.m_buffer_size = uint32_t(buffer.size());
        std::atomic<bool> done{false};
        std::thread watchdog([&] {
            for (int i = 0; i < 100 && !done; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            job.m_cancel = 1;
        });
        script_dump_execute(&job);
        done = true;
        watchdog.join();
    }
    return 0;
}
