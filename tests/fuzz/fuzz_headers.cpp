// Fuzzes header decoding, the header checks, the database lookups and the
// verdict with arbitrary bytes taken as the start of a GB or GBA cartridge.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cart/checksums.h"
#include "cart/header.h"
#include "jobs/dump_verdict.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The decoders read a whole header: pad short inputs as a short read would.
    std::vector<uint8_t> image(data, data + size);
    if (image.size() < gb::kHeaderReadSize) image.resize(gb::kHeaderReadSize, 0);
    gb::gb_pcb gb;
    gb::gb_cartridge_info(image.data(), &gb);
    gb::gba_pcb gba;
    gb::gba_cartridge_info(image.data(), &gba);
    for (const bool isGba : {false, true}) {
        const DumpReport report = judge_dump(isGba, data, size, gb::digest_of(data, size));
        (void)report;
        header_sum_line(isGba, image.data());
    }
    return 0;
}
