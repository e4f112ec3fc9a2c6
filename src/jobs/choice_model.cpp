#include "jobs/choice_model.h"

#include "jobs/option_tables.h"

ChoiceModel::ChoiceModel() {
    setSysType(kSysGb);
}

void ChoiceModel::setSysType(int system) {
    m_choices.sysType = system;
    m_romSizeSet = m_saveSizeSet = false;
    if (system == kSysGba) {
        m_choices.gbaRomSize = gba_rom_table[0].value;
        m_choices.gbaRamType = gba_ram_type_table[0].value;
        m_saveBase = save_base_for(m_choices.gbaRamType);
        m_choices.gbaRamSize = gba_save_table[m_saveBase].value;
    } else {
        m_choices.mbcPosition = mbc_table[kDefaultMbcPosition].position;
        m_choices.gbRomSize = gb_rom_table[0].value;
        m_choices.gbRamSize = gb_ram_table[0].value;
    }
}

bool ChoiceModel::setItem1(int value) {
    if (m_choices.sysType == kSysGb) {
        const MbcRow* row = mbc_by_code(value);
        if (row) m_choices.mbcPosition = row->position;
        return row != nullptr;
    }
    const OptionRow* row = option_by_value(gba_rom_table, value);
    if (!row) return false;
    m_choices.gbaRomSize = row->value;
    m_romSizeSet = true;
    return true;
}

bool ChoiceModel::setItem2(int value) {
    if (m_choices.sysType == kSysGb) {
        const OptionRow* row = option_by_value(gb_rom_table, value);
        if (!row) return false;
        m_choices.gbRomSize = row->value;
        m_romSizeSet = true;
        return true;
    }
    const OptionRow* row = option_by_value(gba_ram_type_table, value);
    if (!row) return false;
    // A new save type offers its own two sizes, the first one chosen.
    m_choices.gbaRamType = row->value;
    m_saveBase = save_base_for(row->value);
    m_choices.gbaRamSize = gba_save_table[m_saveBase].value;
    return true;
}

bool ChoiceModel::setItem3(int value) {
    if (m_choices.sysType == kSysGb) {
        const OptionRow* row = option_by_value(gb_ram_table, value);
        if (!row) return false;
        m_choices.gbRamSize = row->value;
        m_saveSizeSet = true;
        return true;
    }
    for (int i = 0; i < kSaveChoices; ++i) {
        if (gba_save_table[m_saveBase + i].value != value) continue;
        m_choices.gbaRamSize = value;
        m_saveSizeSet = true;
        return true;
    }
    return false;
}

int ChoiceModel::mbcCode() const {
    const MbcRow* row = mbc_row_at(m_choices.mbcPosition);
    return row ? row->code : 0;
}

ReportPanel ChoiceModel::panel() {
    return {[this](int v) { setSysType(v); }, [this](int v) { setItem1(v); },
            [this](int v) { setItem2(v); }, [this](int v) { setItem3(v); }};
}
