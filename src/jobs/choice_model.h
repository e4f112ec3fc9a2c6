// The settings panel's selections without its widgets, for front ends that
// have none: the Info report sets them and a command line overrides them, each
// through the same option tables and with the panel's rules.
#pragma once

#include "jobs/info_report.h"
#include "jobs/job_launch.h"

class ChoiceModel {
public:
    ChoiceModel();

    // A new system starts from the panel's first choices (MBC5, smallest sizes, SRAM).
    void setSysType(int system);
    // Select by value as the report does; false when no row holds the value.
    // GB: controller code, ROM bytes, RAM bytes. GBA: ROM bytes, save type, save bytes.
    bool setItem1(int value);
    bool setItem2(int value);
    bool setItem3(int value);
    void setVerify(bool verify) { m_choices.verify = verify; }

    // Operations the Info report sets what it detected through.
    ReportPanel panel();

    const LaunchChoices& choices() const { return m_choices; }
    // The controller code of the GB choice.
    int mbcCode() const;
    // The first row of gba_save_table offered for the chosen GBA save type.
    int saveBase() const { return m_saveBase; }
    // Whether a value was set since the system was chosen.
    bool romSizeSet() const { return m_romSizeSet; }
    bool saveSizeSet() const { return m_saveSizeSet; }

private:
    LaunchChoices m_choices;
    int m_saveBase = 0;
    bool m_romSizeSet = false;
    bool m_saveSizeSet = false;
};
