// The mapper-script host: a thin wrapper over the Squirrel interpreter, the
// native cartridge functions and the script stage of a job.
#pragma once

#include <QString>
#include <cstdint>

#include "script/squirrel_api.h"

class JobContext;

// Interpreter wrapper.
HSQUIRRELVM qr_open(JobContext* job);
void qr_close(HSQUIRRELVM v);
void qr_function_register_global(HSQUIRRELVM v, const char* name, SQFUNCTION fn);
bool qr_function_exists(HSQUIRRELVM v, const char* name);
int64_t qr_call(HSQUIRRELVM v, const char* name, JobContext* job, int count, ...);
SQInteger qr_userpointer_get(HSQUIRRELVM v, SQUserPointer* out);
bool qr_long_get(HSQUIRRELVM v, SQInteger index, int64_t* out);
void qr_print(HSQUIRRELVM v, const SQChar* format, ...);
void qr_print_null(HSQUIRRELVM v, const SQChar* format, ...);
// The error the VM raised last, such as a native's "cpu_read: ..." or a compile error.
QString qr_last_error(HSQUIRRELVM v);

// Native cartridge functions.
SQInteger real_gb_cpu_read(HSQUIRRELVM v);
SQInteger real_gb_cpu_write(HSQUIRRELVM v);
SQInteger real_gb_rom_write(HSQUIRRELVM v);
SQInteger real_gb_flash_cfg(HSQUIRRELVM v);
SQInteger real_gb_ram_write(HSQUIRRELVM v);
SQInteger real_gba_cpu_read(HSQUIRRELVM v);
SQInteger real_gba_ram_read(HSQUIRRELVM v);
SQInteger real_gba_ram_write(HSQUIRRELVM v);
SQInteger real_gba_ram_erase(HSQUIRRELVM v);
// cpu_read_byte(d, address): one byte of the GB bus, returned to the script.
SQInteger real_gb_cpu_read_byte(HSQUIRRELVM v);
// buffer_put(d, value) stores a byte the script assembled at the running total;
// buffer_take(d) returns the byte there. Both advance the total.
SQInteger real_buffer_put(HSQUIRRELVM v);
SQInteger real_buffer_take(HSQUIRRELVM v);
// multicart(d): whether the job found an MBC1 multicart (its banks wired apart).
SQInteger real_multicart(HSQUIRRELVM v);
// gpio_write(d, offset, value, ...): 16-bit writes to the GBA cartridge space
// (up to eight offset/value pairs in one command); gpio_read(d, offset): the
// 16-bit word there. The port of a cartridge's clock lives at 0xC4-0xC9.
SQInteger real_gba_gpio_write(HSQUIRRELVM v);
SQInteger real_gba_gpio_read(HSQUIRRELVM v);

// Largest GBA cartridge read one native call makes.
inline constexpr uint32_t kGbaReadCap = 0x100000;

// The script stage of a job; true when it succeeded.
bool script_dump_execute(JobContext* job);
bool script_dump_run(HSQUIRRELVM v, JobContext* job);
// Reads the cartridge clock alone into job->m_clock_regs (job->m_type a save
// read); true when it succeeded.
bool script_clock_execute(JobContext* job);
