#include "cart/controllers.h"

#include <strings.h>

#include <cstring>

namespace gb {

const MbcRow* mbc_by_code(int code) {
    for (const MbcRow& row : mbc_table)
        if (row.code == code) return &row;
    return nullptr;
}

const MbcRow* mbc_row_at(int position) {
    if (position < 0 || position >= int(std::size(mbc_table))) return nullptr;
    return &mbc_table[position];
}

namespace {

const HeaderType* find_type(const HeaderTypes& list, uint8_t type) {
    for (size_t i = 0; i < list.count; ++i)
        if (list.types[i].code == type) return &list.types[i];
    return nullptr;
}

}  // namespace

const MbcRow* mbc_by_header_type(uint8_t type) {
    for (const MbcRow& row : mbc_table)
        if (find_type(row.headerTypes, type)) return &row;
    return nullptr;
}

int mbc_position(const MbcRow* row) {
    return int(row - mbc_table);
}

const char* header_type_name(uint8_t type) {
    const MbcRow* row = mbc_by_header_type(type);
    const HeaderType* named =
        row ? find_type(row->headerTypes, type) : find_type(types(kUnreadTypes), type);
    return named ? named->name : nullptr;
}

ClockKind clock_of_header_type(uint8_t type) {
    const MbcRow* row = mbc_by_header_type(type);
    if (!row) return ClockKind::None;
    for (size_t i = 0; i < row->clockTypes.count; ++i)
        if (row->clockTypes.codes[i] == type) return row->clock;
    return ClockKind::None;
}

const MbcRow* mbc_by_cli_name(const char* name) {
    for (const MbcRow& row : mbc_table)
        if (strcasecmp(row.cliName, name) == 0) return &row;
    return nullptr;
}

const MbcRow* mbc_by_script(const char* fileName) {
    for (const MbcRow& row : mbc_table)
        if (std::strcmp(row.script, fileName) == 0) return &row;
    return nullptr;
}

const char* mbc_script_at(int position) {
    const MbcRow* row = mbc_row_at(position);
    return row ? row->script : nullptr;
}

}  // namespace gb
