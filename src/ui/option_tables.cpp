#include "ui/option_tables.h"

#include <iterator>

int save_base_for(int saveType) {
    switch (saveType) {
        case kSaveTypeSram:
            return 2;
        case kSaveTypeFlash:
            return 3;
        case kSaveTypeEep:
            return 0;
        default:
            return -1;
    }
}

const char* mbc_script_at(int position) {
    if (position < 0 || position >= int(std::size(mbc_table))) return nullptr;
    return mbc_table[position].script;
}
