#include "ui/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <iterator>

#include "jobs/option_tables.h"

namespace {

template <typename Row, size_t N>
void fill(QComboBox* list, const Row (&table)[N]) {
    for (size_t i = 0; i < N; ++i) list->insertItem(int(i), QString::fromLatin1(table[i].label));
}

template <typename Row, size_t N>
bool in_range(const Row (&)[N], int index) {
    return index >= 0 && index < int(N);
}

}  // namespace

Settings::Settings(QWidget* parent) : QGroupBox(tr("Settings"), parent) {
    auto* mainLayout = new QVBoxLayout;
    auto* row = new QHBoxLayout;
    auto* labels = new QVBoxLayout;
    auto* lists = new QVBoxLayout;
    auto* checkColumn = new QVBoxLayout;
    m_sysLabel = new QLabel(tr("SYS TYPE:"), this);
    m_labels[0] = new QLabel(tr("MBC TYPE:"), this);
    m_labels[1] = new QLabel(tr("ROM SIZE:"), this);
    m_labels[2] = new QLabel(tr("RAM SIZE:"), this);
    m_sysList = new QComboBox(this);
    for (QComboBox*& list : m_lists) list = new QComboBox(this);
    m_check = new QCheckBox(tr("Verify the data after writing"), this);

    fill(m_sysList, sys_table);
    m_sysList->setCurrentIndex(kSysGb);
    sysType = kSysGb;
    set_setSystem(kSysGb);

    labels->addWidget(m_sysLabel);
    lists->addWidget(m_sysList);
    for (int i = 0; i < 3; ++i) {
        labels->addWidget(m_labels[i]);
        lists->addWidget(m_lists[i]);
    }
    row->addLayout(labels);
    row->addLayout(lists);
    checkColumn->addWidget(m_check);
    mainLayout->addLayout(row);
    mainLayout->addLayout(checkColumn);
    setLayout(mainLayout);

    connect(m_sysList, SIGNAL(activated(int)), this, SLOT(setSysType(int)));
    connect(m_lists[0], SIGNAL(activated(int)), this, SLOT(setItem1(int)));
    connect(m_lists[1], SIGNAL(activated(int)), this, SLOT(setItem2(int)));
    connect(m_lists[2], SIGNAL(activated(int)), this, SLOT(setItem3(int)));
    connect(m_check, SIGNAL(stateChanged(int)), this, SLOT(setCheck(int)));
}

void Settings::set_setSystem(int system) {
    if (system == kSysGb) {
        m_labels[0]->setText(tr("MBC TYPE:"));
        m_labels[1]->setText(tr("ROM SIZE:"));
        m_labels[2]->setText(tr("RAM SIZE:"));
    } else if (system == kSysGba) {
        m_labels[0]->setText(tr("ROM SIZE:"));
        m_labels[1]->setText(tr("RAM TYPE:"));
        m_labels[2]->setText(tr("RAM SIZE:"));
    }
    for (QComboBox* list : m_lists) list->clear();
    if (system == kSysGb) {
        fill(m_lists[0], mbc_table);
        m_lists[0]->setCurrentIndex(mbc_table[kDefaultMbcPosition].position);
        mbcType = mbc_table[kDefaultMbcPosition].code;
        _setItem1(mbcType);
        fill(m_lists[1], gb_rom_table);
        m_lists[1]->setCurrentIndex(0);
        gbRomSize = gb_rom_table[0].value;
        fill(m_lists[2], gb_ram_table);
        m_lists[2]->setCurrentIndex(0);
        gbRamSize = gb_ram_table[0].value;
    } else if (system == kSysGba) {
        fill(m_lists[0], gba_rom_table);
        m_lists[0]->setCurrentIndex(0);
        gbaRomSize = gba_rom_table[0].value;
        fill(m_lists[1], gba_ram_type_table);
        m_lists[1]->setCurrentIndex(0);
        gbaRamType = gba_ram_type_table[0].value;
        set_gba_sav_type(gbaRamType);
    }
}

void Settings::setSysType(int type) {
    sysType = type;
    set_setSystem(type);
}

void Settings::_setSysType(int system) {
    sysType = system;
    set_setSystem(system);
    m_sysList->setCurrentIndex(system);
}

void Settings::setItem1(int index) {
    if (sysType == kSysGb && in_range(mbc_table, index))
        mbcType = mbc_table[index].code;
    else if (sysType == kSysGba && in_range(gba_rom_table, index))
        gbaRomSize = gba_rom_table[index].value;
}

void Settings::setItem2(int index) {
    if (sysType == kSysGb && in_range(gb_rom_table, index)) {
        gbRomSize = gb_rom_table[index].value;
    } else if (sysType == kSysGba && in_range(gba_ram_type_table, index)) {
        gbaRamType = gba_ram_type_table[index].value;
        set_gba_sav_type(gbaRamType);
    }
}

void Settings::setItem3(int index) {
    if (sysType == kSysGb && in_range(gb_ram_table, index))
        gbRamSize = gb_ram_table[index].value;
    else if (sysType == kSysGba && index >= 0 && index < kSaveChoices)
        gbaRamSize = gba_save_table[savBase + index].value;
}

void Settings::setCheck(int index) {
    checkType = index == Qt::Checked;
}

void Settings::set_gba_sav_type(int type) {
    const int base = save_base_for(type);
    if (base >= 0) savBase = base;
    m_lists[2]->clear();
    for (int i = 0; i < kSaveChoices; ++i)
        m_lists[2]->insertItem(i, QString::fromLatin1(gba_save_table[savBase + i].label));
    m_lists[2]->setCurrentIndex(0);
    gbaRamSize = gba_save_table[savBase].value;
}

void Settings::_setItem1(int value) {
    if (sysType == kSysGb) {
        if (const MbcRow* row = mbc_by_code(value)) {
            m_lists[0]->setCurrentIndex(row->position);
            mbcType = row->code;
        }
    } else if (const OptionRow* row = option_by_value(gba_rom_table, value)) {
        m_lists[0]->setCurrentIndex(row->position);
        gbaRomSize = row->value;
    }
}

void Settings::_setItem2(int value) {
    if (sysType == kSysGb) {
        if (const OptionRow* row = option_by_value(gb_rom_table, value)) {
            m_lists[1]->setCurrentIndex(row->position);
            gbRomSize = row->value;
        }
    } else if (const OptionRow* row = option_by_value(gba_ram_type_table, value)) {
        m_lists[1]->setCurrentIndex(row->position);
        gbaRamType = row->value;
        set_gba_sav_type(value);
    }
}

void Settings::_setItem3(int value) {
    if (sysType == kSysGb) {
        if (const OptionRow* row = option_by_value(gb_ram_table, value)) {
            m_lists[2]->setCurrentIndex(row->position);
            gbRamSize = row->value;
        }
        return;
    }
    for (int i = 0; i < kSaveChoices; ++i) {
        if (gba_save_table[savBase + i].value != value) continue;
        m_lists[2]->setCurrentIndex(i);
        gbaRamSize = value;
        return;
    }
}

int Settings::getSysType() {
    return sysType;
}
int Settings::getMbcType() {
    return mbcType;
}
QString Settings::getMbcScript() {
    const char* script = mbc_script_at(m_lists[0]->currentIndex());
    return QString::fromLatin1(script ? script : "");
}
int Settings::getGbRomSize() {
    return gbRomSize;
}
int Settings::getGbRamSize() {
    return gbRamSize;
}
int Settings::getGbaRamType() {
    return gbaRamType;
}
int Settings::getGbaRomSize() {
    return gbaRomSize;
}
int Settings::getGbaRamSize() {
    return gbaRamSize;
}
bool Settings::getCheckType() {
    return checkType;
}
