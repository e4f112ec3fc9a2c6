#include "jobs/choice_model.h"

#include <QCoreApplication>
#include <QStringList>

#include "jobs/option_tables.h"
#include "jobs/text_contexts.h"

namespace {

// The list that holds the ROM size and the save size on each system.
ChoiceItem rom_item(int system) {
    return system == kSysGba ? kItem1 : kItem2;
}
constexpr ChoiceItem kSaveItem = kItem3;

}  // namespace

ChoiceModel::ChoiceModel() {
    setSysType(kSysGb, ChoiceSource::Default);
}

void ChoiceModel::setSysType(int system, ChoiceSource source) {
    m_choices.sysType = system;
    for (ChoiceSource& s : m_sources) s = ChoiceSource::Default;
    setSource(kItemSystem, source);
    if (system == kSysGba) {
        m_choices.gbaRomSize = gba_rom_table[0].value;
        m_choices.gbaRamType = gba_ram_type_table[0].value;
        m_saveBase = save_base_for(m_choices.gbaRamType);
        m_choices.gbaRamSize = gba_save_table[m_saveBase].value;
    } else {
        m_choices.mbcPosition = kDefaultMbcPosition;
        m_choices.gbRomSize = gb_rom_table[0].value;
        m_choices.gbRamSize = gb_ram_table[0].value;
    }
}

bool ChoiceModel::setItem1(int value, ChoiceSource source) {
    if (m_choices.sysType == kSysGb) {
        const MbcRow* row = mbc_by_code(value);
        if (!row) return false;
        m_choices.mbcPosition = gb::mbc_position(row);
    } else {
        const OptionRow* row = option_by_value(gba_rom_table, value);
        if (!row) return false;
        m_choices.gbaRomSize = row->value;
    }
    setSource(kItem1, source);
    return true;
}

bool ChoiceModel::setItem2(int value, ChoiceSource source) {
    if (m_choices.sysType == kSysGb) {
        const OptionRow* row = option_by_value(gb_rom_table, value);
        if (!row) return false;
        m_choices.gbRomSize = row->value;
    } else {
        const OptionRow* row = option_by_value(gba_ram_type_table, value);
        if (!row) return false;
        // A new save type offers its own two sizes, the first one chosen.
        m_choices.gbaRamType = row->value;
        m_saveBase = save_base_for(row->value);
        m_choices.gbaRamSize = gba_save_table[m_saveBase].value;
        setSource(kItem3, ChoiceSource::Default);
    }
    setSource(kItem2, source);
    return true;
}

bool ChoiceModel::setItem3(int value, ChoiceSource source) {
    if (m_choices.sysType == kSysGb) {
        const OptionRow* row = option_by_value(gb_ram_table, value);
        if (!row) return false;
        m_choices.gbRamSize = row->value;
    } else {
        bool offered = false;
        for (int i = 0; i < kSaveChoices; ++i)
            offered |= gba_save_table[m_saveBase + i].value == value;
        if (!offered) return false;
        m_choices.gbaRamSize = value;
    }
    setSource(kItem3, source);
    return true;
}

bool ChoiceModel::romSizeSet() const {
    return source(rom_item(m_choices.sysType)) != ChoiceSource::Default;
}

bool ChoiceModel::saveSizeSet() const {
    return source(kSaveItem) != ChoiceSource::Default;
}

void ChoiceModel::identify(const QByteArray& identity) {
    if (identity == m_identity) return;
    const bool another = !m_identity.isEmpty();
    m_identity = identity;
    if (!another) return;
    for (ChoiceSource& s : m_sources)
        if (s == ChoiceSource::Chosen || s == ChoiceSource::Found || s == ChoiceSource::Probed)
            s = ChoiceSource::Default;
}

int ChoiceModel::mbcCode() const {
    const MbcRow* row = mbc_row_at(m_choices.mbcPosition);
    return row ? row->code : 0;
}

ReportPanel ChoiceModel::panel() {
    ReportPanel p;
    p.setSysType = [this](int v) { setSysType(v); };
    p.setItem1 = [this](int v) { setItem1(v); };
    p.setItem2 = [this](int v) { setItem2(v); };
    p.setItem3 = [this](int v) { setItem3(v); };
    p.identify = [this](const QByteArray& identity) { identify(identity); };
    return p;
}

void note_detected_size(ChoiceModel& model, const Detection& d) {
    switch (detected_system(d)) {
        case kSysGb:
            return model.setDetectedRomSize(d.gb.rom_size, false);
        case kSysGba:
            if (d.outcome == ReportOutcome::GbaUnknown)
                return model.setDetectedRomSize(d.probedRomSize, true);
            return model.setDetectedRomSize(uint32_t(d.gba.rom_size), false);
        default:
            return model.setDetectedRomSize(0, false);
    }
}

void apply_detection(ChoiceModel& model, const Detection& d) {
    model.identify(d.identity);
    const int system = detected_system(d);
    note_detected_size(model, d);
    if (system < 0) return;
    const auto fresh = [&model](ChoiceItem item) {
        return model.source(item) != ChoiceSource::Chosen &&
               model.source(item) != ChoiceSource::Found &&
               model.source(item) != ChoiceSource::Probed;
    };
    if (fresh(kItemSystem) && model.choices().sysType != system) model.setSysType(system);
    if (model.choices().sysType != system) return;  // the user chose the other system
    if (fresh(kItemSystem)) model.setSource(kItemSystem, ChoiceSource::Detected);
    if (system == kSysGb) {
        if (fresh(kItem1)) model.setItem1(d.gb.mbc_type);
        if (fresh(kItem2)) model.setItem2(int(d.gb.rom_size));
        if (fresh(kItem3) && d.gb.ram_size) model.setItem3(int(d.gb.ram_size));
        return;
    }
    if (d.outcome == ReportOutcome::GbaUnknown) {
        if (fresh(kItem1) && d.probedRomSize) model.setItem1(int(d.probedRomSize));
        return;
    }
    if (fresh(kItem1)) model.setItem1(d.gba.rom_size);
    if (fresh(kItem2)) model.setItem2(d.gba.sav_type);
    if (fresh(kItem3) && model.choices().gbaRamType == d.gba.sav_type)
        model.setItem3(int(d.gba.sav_size));
}

namespace {

QString source_text(ChoiceSource source) {
    switch (source) {
        case ChoiceSource::Detected:
            return MainTabText::tr("detected");
        case ChoiceSource::Chosen:
            return MainTabText::tr("chosen");
        case ChoiceSource::Found:
            return MainTabText::tr("found in the ROM");
        case ChoiceSource::Probed:
            return MainTabText::tr("probed on the chip");
        case ChoiceSource::Default:
            break;
    }
    return MainTabText::tr("the panel's first choice");
}

struct Value {
    QString text;
    ChoiceSource source;
};

std::vector<Value> job_values(const ChoiceModel& m, uint32_t type) {
    const LaunchChoices& c = m.choices();
    std::vector<Value> values;
    if (!job_is_gba(type)) {
        const MbcRow* row = mbc_row_at(c.mbcPosition);
        values.push_back({QString::fromLatin1(row ? row->label : "?"), m.source(kItem1)});
        if (type == kJobGbDump)
            values.push_back({MainTabText::tr("ROM %1").arg(bytes_text(uint32_t(c.gbRomSize))),
                              m.source(kItem2)});
        if (job_sized_by_ram(type) && row && row->fixedSave)
            values.push_back(
                {MainTabText::tr("save %1").arg(bytes_text(row->maxRam)), m.source(kItem1)});
        else if (job_sized_by_ram(type))
            values.push_back({MainTabText::tr("save %1").arg(bytes_text(uint32_t(c.gbRamSize))),
                              m.source(kItem3)});
        return values;
    }
    if (type == kJobGbaDump)
        values.push_back(
            {MainTabText::tr("ROM %1").arg(bytes_text(uint32_t(c.gbaRomSize))), m.source(kItem1)});
    if (job_sized_by_ram(type)) {
        const OptionRow* kind = option_by_value(gba_ram_type_table, c.gbaRamType);
        // The type and its size are one value unless they came from different places.
        const ChoiceSource size =
            m.source(kItem3) == ChoiceSource::Default ? m.source(kItem2) : m.source(kItem3);
        values.push_back({MainTabText::tr("save %1 %2")
                              .arg(bytes_text(uint32_t(c.gbaRamSize)),
                                   QString::fromLatin1(kind ? kind->label : "?")),
                          size});
    }
    return values;
}

}  // namespace

QString choices_line(const ChoiceModel& model, uint32_t jobType) {
    const std::vector<Value> values = job_values(model, jobType);
    bool oneSource = true;
    for (const Value& v : values) oneSource &= v.source == values.front().source;
    QStringList parts;
    for (const Value& v : values)
        parts += oneSource ? v.text : v.text + " (" + source_text(v.source) + ")";
    QString line = parts.join(QStringLiteral(", "));
    if (oneSource && !values.empty()) line += " (" + source_text(values.front().source) + ")";
    return line;
}

MissingChoice missing_item(const ChoiceModel& model, uint32_t jobType) {
    if (jobType == kJobGbFlash) return MissingChoice::None;  // a blank chip has no header to tell
    if (model.source(kItemSystem) == ChoiceSource::Default) return MissingChoice::System;
    const bool gba = model.choices().sysType == kSysGba;
    const MbcRow* row = gba ? nullptr : mbc_row_at(model.choices().mbcPosition);
    if (!gba && model.source(kItem1) == ChoiceSource::Default) return MissingChoice::Controller;
    if (job_sized_by_ram(jobType)) {
        if (gba && model.source(kItem2) == ChoiceSource::Default) return MissingChoice::SaveType;
        if (!gba && !(row && row->fixedSave) && model.source(kItem3) == ChoiceSource::Default)
            return MissingChoice::SaveSize;
    } else if (!model.romSizeSet()) {
        return MissingChoice::RomSize;
    }
    return MissingChoice::None;
}

QString missing_choice(const ChoiceModel& model, uint32_t jobType) {
    switch (missing_item(model, jobType)) {
        case MissingChoice::System:
            return MainTabText::tr(
                "No cartridge was recognised; choose its system and sizes in the "
                "settings panel to go on anyway.");
        case MissingChoice::Controller:
            return MainTabText::tr(
                "The cartridge's header names no controller this program knows; choose it (MBC "
                "TYPE) in the settings panel.");
        case MissingChoice::SaveType:
            return MainTabText::tr(
                "The save type of this cartridge is not known; choose it "
                "(RAM TYPE and RAM SIZE) in the settings panel.");
        case MissingChoice::SaveSize:
            return MainTabText::tr(
                "The cartridge's header names no save memory; choose its size "
                "(RAM SIZE) in the settings panel to go on.");
        case MissingChoice::RomSize:
            return MainTabText::tr(
                "The ROM size of this cartridge is not known; choose it (ROM "
                "SIZE) in the settings panel.");
        case MissingChoice::None:
            break;
    }
    return QString();
}
