#pragma once

#include <QGroupBox>

#include "jobs/choice_model.h"

class QCheckBox;
class QComboBox;
class QLabel;

// What is plugged in: system, controller, sizes, save type and verification.
class Settings : public QGroupBox {
    Q_OBJECT

public:
    explicit Settings(QWidget* parent);

    void set_setSystem(int system);
    void _setSysType(int system);
    void _setItem1(int value);
    void _setItem2(int value);
    void _setItem3(int value);
    void set_gba_sav_type(int type);

    // The selections and where each came from. A job's launch sets what it
    // detected in it, then shows it again with show_model().
    ChoiceModel& model() { return m_model; }
    void show_model();

    QComboBox* systemList() const { return m_sysList; }
    QComboBox* firstList() const { return m_lists[0]; }
    QComboBox* secondList() const { return m_lists[1]; }
    QComboBox* thirdList() const { return m_lists[2]; }
    QLabel* listLabel(int i) const { return m_labels[i]; }
    QCheckBox* checkBox() const { return m_check; }
    // A dump whose reads leave bytes undecided keeps its best guess, marked.
    QCheckBox* keepBestBox() const { return m_keepBest; }

public slots:
    void setSysType(int type);
    void setItem2(int index);
    void setItem1(int index);
    void setItem3(int index);
    void setCheck(int index);
    int getSysType();
    int getGbRomSize();
    int getGbRamSize();
    int getGbaRamType();
    int getGbaRomSize();
    int getGbaRamSize();
    bool getCheckType();

private:
    // The lists show what the model holds; the save list offers its type's sizes.
    void show_choices();
    void fill_save_list();
    // Labels and lists of a system, without touching the model.
    void fill_lists(int system);
    void choose(ChoiceItem item, int value);

    ChoiceModel m_model;

    QComboBox* m_sysList;
    QComboBox* m_lists[3];
    QLabel* m_sysLabel;
    QLabel* m_labels[3];
    QCheckBox* m_check;
    QCheckBox* m_keepBest;
};
