// The eight cartridge jobs and what each one does, in one table.
#pragma once

#include <cstdint>
#include <iterator>

// Job types: GB 0..3, the same for GBA 4..7.
enum JobType : uint32_t {
    kJobGbDump = 0,
    kJobGbFlash = 1,
    kJobGbSaveRead = 2,
    kJobGbSaveWrite = 3,
    kJobGbaDump = 4,
    kJobGbaFlash = 5,
    kJobGbaSaveRead = 6,
    kJobGbaSaveWrite = 7,
    kJobGbaOffset = 4,
};

struct JobTypeRow {
    JobType type;
    const char* name;
    bool gba;
    bool readsInput;   // writes a file's contents into the cartridge
    bool savesOutput;  // reads the cartridge into a file
    bool flash;        // programs flash memory: sized by the file, keyed by the serial
    bool sizedByRam;   // transfers the save rather than the ROM
    JobType readBack;  // the job that reads back what this one wrote
};

inline constexpr JobTypeRow kJobTypes[] = {
    {kJobGbDump, "GB ROM dump", false, false, true, false, false, kJobGbDump},
    {kJobGbFlash, "GB flash write", false, true, false, true, false, kJobGbDump},
    {kJobGbSaveRead, "GB save read", false, false, true, false, true, kJobGbSaveRead},
    {kJobGbSaveWrite, "GB save write", false, true, false, false, true, kJobGbSaveRead},
    {kJobGbaDump, "GBA ROM dump", true, false, true, false, false, kJobGbaDump},
    {kJobGbaFlash, "GBA flash write", true, true, false, true, false, kJobGbaDump},
    {kJobGbaSaveRead, "GBA save read", true, false, true, false, true, kJobGbaSaveRead},
    {kJobGbaSaveWrite, "GBA save write", true, true, false, false, true, kJobGbaSaveRead},
};

// The row of a job type; a type outside the table has none of the properties.
inline const JobTypeRow& job_type_row(uint32_t type) {
    static constexpr JobTypeRow kNone{kJobGbDump, "none", false, false,
                                      false,      false,  false, kJobGbDump};
    return type < std::size(kJobTypes) ? kJobTypes[type] : kNone;
}
inline const char* job_type_name(uint32_t type) {
    return job_type_row(type).name;
}
inline bool job_is_gba(uint32_t type) {
    return job_type_row(type).gba;
}
inline bool job_reads_input(uint32_t type) {
    return job_type_row(type).readsInput;
}
inline bool job_saves_output(uint32_t type) {
    return job_type_row(type).savesOutput;
}
inline bool job_is_flash(uint32_t type) {
    return job_type_row(type).flash;
}
inline bool job_sized_by_ram(uint32_t type) {
    return job_type_row(type).sizedByRam;
}
