#include "jobs/option_tables.h"

#include "cart/bus.h"

int save_base_for(int saveType) {
    if (saveType < 0) return -1;
    const OptionRow* row =
        option_by_value(gba_save_table, int(gb::smallest_save_of(uint32_t(saveType))));
    return row ? row->position : -1;
}
