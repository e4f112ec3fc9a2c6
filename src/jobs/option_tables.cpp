#include "jobs/option_tables.h"

#include <iterator>

#include "cart/bus.h"

int save_base_for(int saveType) {
    switch (saveType) {
        case gb::kSaveTypeSram:
            return 2;
        case gb::kSaveTypeFlash:
            return 3;
        case gb::kSaveTypeEep:
            return 0;
        default:
            return -1;
    }
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
