// What a job will do, decided once for both front ends: the values with where
// each came from, the checks they passed and the questions a user answered.
// The window and the command line only present a plan; neither decides.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "jobs/backup_history.h"
#include "jobs/choice_model.h"
#include "jobs/detection.h"
#include "jobs/job_launch.h"
#include "jobs/save_search.h"

// What a user named beyond the panel's lists: the command line's options, the
// window's check boxes.
struct NamedChoices {
    std::optional<int> system;    // kSysGb or kSysGba
    std::optional<int> mbcCode;   // controller code
    std::optional<int> romSize;   // bytes
    std::optional<int> saveType;  // GBA save type code
    std::optional<int> ramSize;   // bytes
    bool verify = false;
    bool keepBest = false;
};

struct JobRequest {
    JobButton button = JobButton::ReadRom;
    NamedChoices named;
    const BackupRecord* restoring = nullptr;  // a restore: the backup it writes back
};

enum class PlanQuestionKind {
    Restore,     // write this backup into the cartridge inserted?
    EepromSize,  // which of the two EEPROM sizes?
};

// A question the plan needs answered before the job may start. Its safe
// answer is 0 (no, or nothing chosen): the cartridge stays as it is.
struct PlanQuestion {
    PlanQuestionKind kind = PlanQuestionKind::Restore;
    QString text;
    std::vector<uint32_t> offered;  // the values to choose from; empty: yes (1) or no
    bool otherCartridge = false;    // Restore: the backup is of another cartridge
};

// Why a plan lets no job start.
enum class PlanStop {
    None,
    Missing,          // a value the job needs that nothing told (JobPlan::missing)
    GbaFlash,         // FLASH for a GBA cartridge
    NotOffered,       // a named value its list does not offer (JobPlan::refusedItem)
    Declined,         // a question was given its safe answer
    SearchCanceled,   // the save library search was stopped
    SearchUndecided,  // the ROM did not tell the save kind
};

// How a front end takes part: the search with its progress, the questions,
// and its words for where a user chooses a save kind.
struct PlanHooks {
    std::function<void(const QString&)> log;
    // Reads romSize bytes of the ROM for its save library; nullopt when stopped.
    std::function<std::optional<SaveKindFound>(uint32_t romSize)> searchSaveKind;
    // The answer: 0 for the safe one.
    std::function<uint32_t(const PlanQuestion&)> ask;
    QString chooseSaveHow;
};

struct JobPlan {
    JobButton button = JobButton::ReadRom;
    uint32_t type = 0;      // the job type (job_types.h)
    LaunchChoices choices;  // the values the job uses
    ChoiceSource sources[kItemCount] = {};
    QStringList checks;  // what was checked, in order
    std::vector<PlanQuestion> asked;
    std::vector<uint32_t> answers;  // beside asked
    PlanStop stop = PlanStop::None;
    MissingChoice missing = MissingChoice::None;
    ChoiceItem refusedItem = kItemSystem;
    QString why;            // the stop, in the window's words
    QString suggestedName;  // the file name the cartridge suggests
    bool camera = false;    // a Pocket Camera
    bool ok() const { return stop == PlanStop::None; }
};

// Turns a request and the cartridge detected into a plan. model holds the
// panel's values (the window's, or a fresh one the report filled); the plan
// sets the detection over it, then what the request names, and leaves it as
// the job will use it.
JobPlan plan_job(const JobRequest& request, const Detection& detection, ChoiceModel& model,
                 const PlanHooks& hooks);

// The plan value by value, a line each ("rom size: 1 MiB (detected)"), as
// zelvo3-cli --plan prints it.
QStringList plan_lines(const JobPlan& plan);
