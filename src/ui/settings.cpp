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

// The list position of the row holding value, -1 when none does.
template <typename Row, size_t N>
int position_of(const Row (&table)[N], int value) {
    const Row* row = option_by_value(table, value);
    return row ? int(row - table) : -1;
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
    m_keepBest = new QCheckBox(tr("Keep the best guess of a dump that cannot be healed"), this);
    m_keepBest->setToolTip(
        tr("When the reads leave bytes undecided, the dump still fails, and its best guess is "
           "kept as \"NAME (unstable)\" beside the file you chose."));

    fill(m_sysList, sys_table);
    m_sysList->setCurrentIndex(kSysGb);
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
    checkColumn->addWidget(m_keepBest);
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
    if (system == kSysGb || system == kSysGba) m_model.setSysType(system);
    fill_lists(system);
}

void Settings::fill_lists(int system) {
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
    if (system != kSysGb && system != kSysGba) return;
    if (system == kSysGb) {
        fill(m_lists[0], mbc_table);
        fill(m_lists[1], gb_rom_table);
        fill(m_lists[2], gb_ram_table);
    } else {
        fill(m_lists[0], gba_rom_table);
        fill(m_lists[1], gba_ram_type_table);
        fill_save_list();
    }
    show_choices();
}

void Settings::show_model() {
    fill_lists(m_model.choices().sysType);
    m_sysList->setCurrentIndex(m_model.choices().sysType);
}

void Settings::fill_save_list() {
    m_lists[2]->clear();
    for (int i = 0; i < kSaveChoices; ++i)
        m_lists[2]->insertItem(i,
                               QString::fromLatin1(gba_save_table[m_model.saveBase() + i].label));
}

void Settings::show_choices() {
    const LaunchChoices& c = m_model.choices();
    if (c.sysType == kSysGb) {
        m_lists[0]->setCurrentIndex(c.mbcPosition);
        m_lists[1]->setCurrentIndex(position_of(gb_rom_table, c.gbRomSize));
        m_lists[2]->setCurrentIndex(position_of(gb_ram_table, c.gbRamSize));
    } else {
        m_lists[0]->setCurrentIndex(position_of(gba_rom_table, c.gbaRomSize));
        m_lists[1]->setCurrentIndex(position_of(gba_ram_type_table, c.gbaRamType));
        m_lists[2]->setCurrentIndex(position_of(gba_save_table, c.gbaRamSize) - m_model.saveBase());
    }
}

void Settings::setSysType(int type) {
    set_setSystem(type);
    if (type == kSysGb || type == kSysGba) m_model.setSysType(type, ChoiceSource::Chosen);
}

void Settings::_setSysType(int system) {
    set_setSystem(system);
    m_sysList->setCurrentIndex(system);
}

// The user's choices: the row's value, as the value setters take it, marked
// as chosen so that the next job's detection leaves it.
void Settings::setItem1(int index) {
    const bool gb = getSysType() == kSysGb;
    if (gb ? in_range(mbc_table, index) : in_range(gba_rom_table, index))
        choose(kItem1, gb ? mbc_table[index].code : gba_rom_table[index].value);
}

void Settings::setItem2(int index) {
    const bool gb = getSysType() == kSysGb;
    if (gb ? in_range(gb_rom_table, index) : in_range(gba_ram_type_table, index))
        choose(kItem2, gb ? gb_rom_table[index].value : gba_ram_type_table[index].value);
}

void Settings::setItem3(int index) {
    if (getSysType() == kSysGb) {
        if (in_range(gb_ram_table, index)) choose(kItem3, gb_ram_table[index].value);
    } else if (index >= 0 && index < kSaveChoices) {
        choose(kItem3, gba_save_table[m_model.saveBase() + index].value);
    }
}

void Settings::choose(ChoiceItem item, int value) {
    const bool done = item == kItem1   ? m_model.setItem1(value, ChoiceSource::Chosen)
                      : item == kItem2 ? m_model.setItem2(value, ChoiceSource::Chosen)
                                       : m_model.setItem3(value, ChoiceSource::Chosen);
    if (!done) return;
    if (item == kItem2 && getSysType() == kSysGba) fill_save_list();
    show_choices();
}

void Settings::setCheck(int index) {
    m_model.setVerify(index == Qt::Checked);
}

void Settings::set_gba_sav_type(int type) {
    m_model.setItem2(type);
    fill_save_list();
    show_choices();
}

void Settings::_setItem1(int value) {
    if (m_model.setItem1(value)) show_choices();
}

void Settings::_setItem2(int value) {
    if (getSysType() == kSysGba) return set_gba_sav_type(value);
    if (m_model.setItem2(value)) show_choices();
}

void Settings::_setItem3(int value) {
    if (m_model.setItem3(value)) show_choices();
}

int Settings::getSysType() {
    return m_model.choices().sysType;
}
int Settings::getGbRomSize() {
    return m_model.choices().gbRomSize;
}
int Settings::getGbRamSize() {
    return m_model.choices().gbRamSize;
}
int Settings::getGbaRamType() {
    return m_model.choices().gbaRamType;
}
int Settings::getGbaRomSize() {
    return m_model.choices().gbaRomSize;
}
int Settings::getGbaRamSize() {
    return m_model.choices().gbaRamSize;
}
bool Settings::getCheckType() {
    return m_model.choices().verify;
}
