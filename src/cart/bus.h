// GB and GBA cartridge bus operations and the two process-wide operation tables.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace gb {

using ReadOp = uint32_t (*)(uint32_t address, uint8_t* dest, uint32_t len);
using WriteListOp = uint32_t (*)(const uint32_t* addresses, const uint32_t* values, uint32_t count);
using WriteOp = uint32_t (*)(uint32_t address, const uint8_t* src, uint32_t len);

// Address/value pairs (address, value, address, value, ...) written through op
// in one command; false when op is unset or the command could not be sent.
bool write_pairs(WriteListOp op, std::initializer_list<uint32_t> pairs);

// GB operation table, filled by f_gb_init.
extern ReadOp p_gb_cpu_read;
extern WriteListOp p_gb_cpu_write;
extern WriteOp p_gb_ram_write;
extern WriteOp p_gb_cpu_flash;

uint32_t f_gb_init();
uint32_t f_gb_cpu_read(uint32_t address, uint8_t* dest, uint32_t len);
uint32_t f_gb_cpu_write(const uint32_t* addresses, const uint32_t* values, uint32_t count);
uint32_t f_gb_sram_write(uint32_t address, const uint8_t* src, uint32_t len);

// GB flash programming; the op code tells the board the chip family.
uint32_t f_gb_cpu_flash_29f(uint32_t address, const uint8_t* src, uint32_t len);
uint32_t f_gb_cpu_flash_29lv(uint32_t address, const uint8_t* src, uint32_t len);
uint32_t f_gb_flash_cfg(uint32_t selector);  // 0: 29F, else 29LV

// The GBA ROM bus: 24-bit halfword addresses reach 32 MiB.
inline constexpr uint32_t kGbaRomSpan = 0x2000000;
// Where the cartridge space begins for the CPU: GBA bus writes name CPU addresses.
inline constexpr uint32_t kGbaCartSpace = 0x08000000;

// GBA operation table, filled by f_gba_init.
extern ReadOp p_gba_cpu_read;
extern WriteListOp p_gba_cpu_write;
extern ReadOp p_gba_save_read;
extern WriteOp p_gba_save_write;
extern WriteOp p_gba_cpu_flash;

uint32_t f_gba_init();

// The bus mode this process last put the board in (the device's mode op,
// proto::kOpGbMode or proto::kOpGbaMode), 0 when none or the switch failed.
uint8_t entered_mode();
uint32_t f_gba_cpu_read(uint32_t address, uint8_t* dest, uint32_t len);
uint32_t f_gba_cpu_write(const uint32_t* addresses, const uint32_t* values, uint32_t count);
uint32_t f_gba_cpu_flash_intel28f(uint32_t address, const uint8_t* src, uint32_t len);

// The size of the GBA ROM found by reading a few words at each power of two
// from 1 MiB on: past the ROM's end the bus reads as its open-bus pattern, or a
// smaller ROM mirrors its start. 0 when the reads fail.
uint32_t gba_rom_size_by_probing();

// GBA save memory.
uint32_t f_gba_sram_read(uint32_t address, uint8_t* dest, uint32_t len);
uint32_t f_gba_flash64k_read(uint32_t address, uint8_t* dest, uint32_t len);
uint32_t f_gba_flash128k_read(uint32_t address, uint8_t* dest, uint32_t len);
uint32_t f_gba_eep512b_read(uint32_t address, uint8_t* dest, uint32_t len);
uint32_t f_gba_eep8k_read(uint32_t address, uint8_t* dest, uint32_t len);
uint32_t f_gba_sram_write(uint32_t address, const uint8_t* src, uint32_t len);
uint32_t f_gba_flash64k_write(uint32_t address, const uint8_t* src, uint32_t len);
uint32_t f_gba_flash128k_write(uint32_t address, const uint8_t* src, uint32_t len);
uint32_t f_gba_eep512b_write(uint32_t address, const uint8_t* src, uint32_t len);
uint32_t f_gba_eep8k_write(uint32_t address, const uint8_t* src, uint32_t len);
uint32_t f_gba_sram_erase();

// GBA save type codes, as identification reports them and the settings offer them.
enum SaveType : int32_t { kSaveTypeSram = 0, kSaveTypeFlash = 1, kSaveTypeEep = 2 };

// Save-pair indices of f_gba_save_cfg.
enum SavePair : uint32_t {
    kSaveSram = 0,
    kSaveFlash64k = 1,
    kSaveFlash128k = 2,
    kSaveEep512 = 3,
    kSaveEep8k = 4,
    kSavePairCount = 5
};
uint32_t f_gba_save_cfg(uint32_t index);

// Every GBA save kind: the name the cartridge database gives it, its save
// type code and size, and the read/write pair that moves it. Identification,
// the save pair of a job and the sizes the settings offer all come from here.
struct GbaSaveKind {
    const char* name;
    SaveType type;
    uint32_t size;
    SavePair pair;
};
// Longer names come before the names they begin with.
inline constexpr GbaSaveKind kGbaSaveKinds[] = {
    {"gba_sram", kSaveTypeSram, 0x8000, kSaveSram},
    {"gba_eeprom_4k", kSaveTypeEep, 0x200, kSaveEep512},
    {"gba_eeprom_64k", kSaveTypeEep, 0x2000, kSaveEep8k},
    {"gba_eeprom", kSaveTypeEep, 0x200, kSaveEep512},
    {"gba_flash_512", kSaveTypeFlash, 0x10000, kSaveFlash64k},
    {"gba_flash_1m", kSaveTypeFlash, 0x20000, kSaveFlash128k},
    {"gba_flash", kSaveTypeFlash, 0x10000, kSaveFlash64k},
};

// The two EEPROM sizes: the chip cannot be asked which it is.
inline constexpr uint32_t kGbaEepromSmall = 0x200, kGbaEepromLarge = 0x2000;
// Bytes an EEPROM read or write command moves, one block.
inline constexpr uint32_t kGbaEepromBlock = 8;
// The span an EEPROM probe reads with 14-bit addresses: a 512 B chip takes
// address bits 13-8 as its block, so it repeats its first block throughout.
inline constexpr uint32_t kGbaEepromProbeSpan = 0x800;

// Tells an EEPROM's size by how it answers each address width: an 8 KiB chip
// whose first 2 KiB vary, read with 14 bits; else a 512 B chip whose blocks
// vary, read with 6 bits (an 8 KiB chip answers those with 1s). 0 when
// neither shows (an erased or uniform save), or the board failed.
uint32_t probe_eeprom_size();

// The save pair for a save type code (0 SRAM, 1 FLASH, 2 EEP) and size; -1
// when the combination has none and the SRAM pair stays in force. SRAM of
// any size is moved byte by byte.
int save_pair_for(uint32_t saveType, uint32_t saveSize);

// The smallest size of a save type, 0 for an unknown type.
uint32_t smallest_save_of(uint32_t saveType);

}  // namespace gb
