// The settings panel's selections without its widgets, for front ends that
// have none: the Info report sets them and a command line overrides them, each
// through the same option tables and with the panel's rules.
#pragma once

#include <QByteArray>

#include "jobs/info_report.h"
#include "jobs/job_launch.h"

// Where a value of the panel came from.
enum class ChoiceSource {
    Default,   // the panel's first choice: nothing told it
    Detected,  // the cartridge's header or the database
    Chosen,    // the user, since the cartridge was last detected
    Found,     // the cartridge's ROM (the save library it names)
    Probed,    // the cartridge's chip, by how it answers
};

// The panel's four lists: the system, then the first to third list.
enum ChoiceItem { kItemSystem, kItem1, kItem2, kItem3, kItemCount };

class ChoiceModel {
public:
    ChoiceModel();

    // A new system starts from the panel's first choices (MBC5, smallest sizes, SRAM).
    void setSysType(int system, ChoiceSource source = ChoiceSource::Detected);
    // Select by value as the report does; false when no row holds the value.
    // GB: controller code, ROM bytes, RAM bytes. GBA: ROM bytes, save type, save bytes.
    bool setItem1(int value, ChoiceSource source = ChoiceSource::Detected);
    bool setItem2(int value, ChoiceSource source = ChoiceSource::Detected);
    bool setItem3(int value, ChoiceSource source = ChoiceSource::Detected);
    void setVerify(bool verify) { m_choices.verify = verify; }
    void setKeepBest(bool keep) { m_choices.keepBest = keep; }
    void setDetectedRomSize(uint32_t size, bool probed) {
        m_choices.detectedRomSize = size;
        m_choices.romSizeProbed = probed;
    }

    // Operations the Info report sets what it detected through.
    ReportPanel panel();

    const LaunchChoices& choices() const { return m_choices; }
    // The controller code of the GB choice.
    int mbcCode() const;
    // The first row of gba_save_table offered for the chosen GBA save type.
    int saveBase() const { return m_saveBase; }
    // Whether a value was set since the system was chosen.
    bool romSizeSet() const;
    bool saveSizeSet() const;

    ChoiceSource source(ChoiceItem item) const { return m_sources[item]; }
    void setSource(ChoiceItem item, ChoiceSource source) { m_sources[item] = source; }
    // The cartridge last detected (its identity). Another cartridge forgets
    // what the user chose or the ROM told for the one before; what the user
    // chose while none was known holds for the next one.
    void identify(const QByteArray& identity);
    const QByteArray& identity() const { return m_identity; }

private:
    LaunchChoices m_choices;
    int m_saveBase = 0;
    ChoiceSource m_sources[kItemCount] = {};
    QByteArray m_identity;
};

// Keeps the ROM size a detection found, which the verdict holds the dump against.
void note_detected_size(ChoiceModel& model, const Detection& detection);

// Sets what a detection found over the model, as every job's launch does: a
// value the user chose since the last detection of the same cartridge stays.
void apply_detection(ChoiceModel& model, const Detection& detection);

// The values a job of this type uses and where each came from, as a log line:
// "MBC5, ROM 1 MiB (detected)" or "ROM 8 MiB (detected), save 64 KiB FLASH (chosen)".
QString choices_line(const ChoiceModel& model, uint32_t jobType);

// The first value a job of this type uses that nothing told: not detected,
// chosen or found.
enum class MissingChoice { None, System, Controller, SaveType, SaveSize, RomSize };
MissingChoice missing_item(const ChoiceModel& model, uint32_t jobType);

// What the job still needs the user to choose, as a line saying how in the
// settings panel; empty when every value it uses was detected, chosen or found.
QString missing_choice(const ChoiceModel& model, uint32_t jobType);
