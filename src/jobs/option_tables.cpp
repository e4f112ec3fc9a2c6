#include "jobs/option_tables.h"

#include <iterator>

#include "cart/bus.h"

int save_base_for(int saveType) {
    if (saveType < 0) return -1;
    const OptionRow* row =
        option_by_value(gba_save_table, int(gb::smallest_save_of(uint32_t(saveType))));
    return row ? row->position : -1;
}

const MbcRow* mbc_row_at(int position) {
    if (position < 0 || position >= int(std::size(mbc_table))) return nullptr;
    return &mbc_table[position];
}

const char* mbc_script_at(int position) {
    const MbcRow* row = mbc_row_at(position);
    return row ? row->script : nullptr;
}

const MbcRow* mbc_by_code(int code) {
    for (const MbcRow& row : mbc_table)
        if (row.code == code) return &row;
    return nullptr;
}
