#include "jobs/job_plan.h"

#include <QCoreApplication>

#include "cart/bus.h"
#include "cart/camera_album.h"
#include "cart/header.h"
#include "cart/save_libraries.h"
#include "jobs/file_names.h"
#include "jobs/option_tables.h"
#include "jobs/text_contexts.h"
#include "script/job_types.h"

namespace {

bool is_save_job(JobButton button) {
    return button == JobButton::ReadRam || button == JobButton::WriteRam;
}

bool stop(JobPlan& plan, PlanStop why, const QString& text) {
    plan.stop = why;
    plan.why = text;
    return false;
}

bool not_offered(JobPlan& plan, ChoiceItem item) {
    plan.refusedItem = item;
    return stop(plan, PlanStop::NotOffered,
                MainTabText::tr("The value named is not offered for this cartridge."));
}

// Asks a question and keeps it with its answer, 0 being the safe one.
uint32_t ask(JobPlan& plan, const PlanHooks& hooks, PlanQuestion question) {
    const uint32_t answer = hooks.ask ? hooks.ask(question) : 0;
    plan.asked.push_back(std::move(question));
    plan.answers.push_back(answer);
    return answer;
}

// A backup goes back into the cartridge it came from; the user is asked either
// way, and told when it is another.
bool confirm_restore(JobPlan& plan, const BackupRecord& backup, const Detection& d,
                     const PlanHooks& hooks) {
    PlanQuestion q;
    q.kind = PlanQuestionKind::Restore;
    const QString other = restore_mismatch(backup, d);
    q.otherCartridge = !other.isEmpty();
    q.text = q.otherCartridge ? other
                              : MainTabText::tr(
                                    "The backup of %1 from %2 goes into the cartridge "
                                    "inserted, %1.")
                                    .arg(detected_cartridge_name(d), backup_time_text(backup));
    if (q.otherCartridge) hooks.log(other);
    if (!ask(plan, hooks, q))
        return stop(plan, PlanStop::Declined, MainTabText::tr("Nothing was written."));
    plan.checks += q.otherCartridge ? QStringLiteral("restore: another cartridge, confirmed")
                                    : QStringLiteral("restore: the same cartridge");
    return true;
}

// FLASH programs GB flash cartridges: a GBA one is refused; a GBA panel the
// user did not choose (a blank chip tells no system) gives way.
bool flash_system(JobPlan& plan, const Detection& d, ChoiceModel& model, const PlanHooks& hooks) {
    const QString refusal = MainTabText::tr(
        "FLASH programs rewritable GB/GBC flash cartridges; programming GBA flash "
        "cartridges is not part of this program yet.");
    if (detected_system(d) == kSysGba) return stop(plan, PlanStop::GbaFlash, refusal);
    if (model.choices().sysType != kSysGba) return true;
    if (model.source(kItemSystem) == ChoiceSource::Chosen)
        return stop(plan, PlanStop::GbaFlash, refusal);
    model.setSysType(kSysGb, ChoiceSource::Default);
    hooks.log(
        MainTabText::tr("FLASH programs GB/GBC flash cartridges: the panel is set to GB/GBC."));
    return true;
}

// What the request names, over the detection, as the panel's lists take a
// user's choice. The save size waits for the save kind a search may find.
bool apply_named(JobPlan& plan, const NamedChoices& n, ChoiceModel& model) {
    constexpr ChoiceSource kChosen = ChoiceSource::Chosen;
    if (n.system) {
        if (*n.system != model.choices().sysType) model.setSysType(*n.system, kChosen);
        model.setSource(kItemSystem, kChosen);
    }
    const bool gba = model.choices().sysType == kSysGba;
    if (n.mbcCode && (gba || !model.setItem1(*n.mbcCode, kChosen)))
        return not_offered(plan, kItem1);
    if (n.romSize &&
        !(gba ? model.setItem1(*n.romSize, kChosen) : model.setItem2(*n.romSize, kChosen)))
        return not_offered(plan, gba ? kItem1 : kItem2);
    if (n.saveType && !gba) return not_offered(plan, kItem2);
    // Naming the save type already chosen keeps the detected size.
    if (n.saveType && *n.saveType != model.choices().gbaRamType &&
        !model.setItem2(*n.saveType, kChosen))
        return not_offered(plan, kItem2);
    if (n.saveType) model.setSource(kItem2, kChosen);
    return true;
}

// A GBA cartridge the database does not know names its save library in its ROM.
bool find_save_kind(JobPlan& plan, ChoiceModel& model, const PlanHooks& hooks) {
    const uint32_t romSize =
        model.romSizeSet() ? uint32_t(model.choices().gbaRomSize) : gb::kGbaRomSpan;
    hooks.log(MainTabText::tr("Looking for the save library in the ROM's %1...")
                  .arg(bytes_text(romSize)));
    const std::optional<SaveKindFound> found = hooks.searchSaveKind(romSize);
    if (!found) return stop(plan, PlanStop::SearchCanceled, MainTabText::tr("Canceled."));
    const QString line = save_search_line(*found, hooks.chooseSaveHow);
    hooks.log(line);
    uint32_t eepromSize = 0;
    const bool eeprom = found->read && found->type == gb::kSaveTypeEep && found->size == 0;
    // The library does not tell the EEPROM's size; the chip may, by how it answers.
    const uint32_t probed = eeprom ? gb::probe_eeprom_size() : 0;
    if (probed) {
        hooks.log(MainTabText::tr("The EEPROM answers as a chip of %1.").arg(bytes_text(probed)));
        eepromSize = probed;
    } else if (eeprom) {
        // A wrong size would read a wrong save, so the safe answer reads nothing.
        PlanQuestion q;
        q.kind = PlanQuestionKind::EepromSize;
        q.text = MainTabText::tr(
            "The cartridge saves to an EEPROM, whose size the ROM does not tell.\nChoose it:");
        q.offered = {gb::kGbaEepromSmall, gb::kGbaEepromLarge};
        eepromSize = ask(plan, hooks, q);
        if (eepromSize != gb::kGbaEepromSmall && eepromSize != gb::kGbaEepromLarge)
            return stop(plan, PlanStop::Declined, MainTabText::tr("Canceled."));
    }
    if (!apply_save_kind(model, *found, eepromSize))
        return stop(plan, PlanStop::SearchUndecided, line);
    if (eepromSize) model.setSource(kItem3, probed ? ChoiceSource::Probed : ChoiceSource::Chosen);
    plan.checks += QStringLiteral("save kind: found in the ROM");
    return true;
}

bool plan_values(JobPlan& plan, const JobRequest& request, const Detection& d, ChoiceModel& model,
                 const PlanHooks& hooks) {
    if (request.restoring && !confirm_restore(plan, *request.restoring, d, hooks)) return false;
    if (!apply_named(plan, request.named, model)) return false;
    if (request.button == JobButton::WriteFlash && !flash_system(plan, d, model, hooks))
        return false;
    const bool saveJob = is_save_job(request.button);
    if (saveJob && model.choices().sysType == kSysGba &&
        model.source(kItem2) == ChoiceSource::Default && !find_save_kind(plan, model, hooks))
        return false;
    if (request.named.ramSize && !model.setItem3(*request.named.ramSize, ChoiceSource::Chosen))
        return not_offered(plan, kItem3);
    model.setVerify(request.named.verify);
    model.setKeepBest(request.named.keepBest);
    const uint32_t type = job_type_for(request.button, model.choices().sysType);
    plan.missing = missing_item(model, type);
    if (plan.missing != MissingChoice::None)
        return stop(plan, PlanStop::Missing, missing_choice(model, type));
    plan.checks += QStringLiteral("every value the job uses is told");
    return true;
}

}  // namespace

JobPlan plan_job(const JobRequest& request, const Detection& d, ChoiceModel& model,
                 const PlanHooks& hooks) {
    JobPlan plan;
    plan.button = request.button;
    apply_detection(model, d);
    plan.checks += QStringLiteral("header read");
    plan.suggestedName = suggested_file_name(d, is_save_job(request.button));
    plan.camera = d.outcome == ReportOutcome::Gb && d.header.size() > gb::kGbTypeOffset &&
                  d.header[gb::kGbTypeOffset] == gb::kCameraHeaderType;
    plan_values(plan, request, d, model, hooks);
    plan.type = job_type_for(request.button, model.choices().sysType);
    plan.choices = model.choices();
    for (int i = 0; i < kItemCount; ++i) plan.sources[i] = model.source(ChoiceItem(i));
    return plan;
}

namespace {

const char* source_word(ChoiceSource source) {
    switch (source) {
        case ChoiceSource::Detected:
            return "detected";
        case ChoiceSource::Chosen:
            return "chosen";
        case ChoiceSource::Found:
            return "found in the ROM";
        case ChoiceSource::Probed:
            return "probed on the chip";
        case ChoiceSource::Default:
            break;
    }
    return "default";
}

}  // namespace

QStringList plan_lines(const JobPlan& plan) {
    const LaunchChoices& c = plan.choices;
    const auto value = [&plan](const char* name, const QString& text, ChoiceItem item) {
        return QString("%1: %2 (%3)").arg(name, text, source_word(plan.sources[item]));
    };
    QStringList lines;
    lines += QString("job: %1").arg(job_type_name(plan.type));
    lines += value("system", c.sysType == kSysGba ? "GBA" : "GB/GBC", kItemSystem);
    if (c.sysType == kSysGba) {
        lines += value("rom size", bytes_text(uint32_t(c.gbaRomSize)), kItem1);
        lines += value("save type",
                       option_by_value(gba_ram_type_table, c.gbaRamType)
                           ? option_by_value(gba_ram_type_table, c.gbaRamType)->label
                           : "?",
                       kItem2);
        lines += value("save size", bytes_text(uint32_t(c.gbaRamSize)), kItem3);
    } else {
        const MbcRow* row = mbc_row_at(c.mbcPosition);
        lines += value("controller", row ? row->label : "?", kItem1);
        lines += value("rom size", bytes_text(uint32_t(c.gbRomSize)), kItem2);
        lines += value("ram size", bytes_text(uint32_t(c.gbRamSize)), kItem3);
    }
    lines += QString("verify: %1").arg(c.verify ? "yes" : "no");
    lines += QString("keep best: %1").arg(c.keepBest ? "yes" : "no");
    lines += QString("size the header gives: %1%2")
                 .arg(c.detectedRomSize ? bytes_text(c.detectedRomSize) : QString("none"),
                      c.romSizeProbed ? " (probed)" : "");
    for (size_t i = 0; i < plan.asked.size(); ++i)
        lines +=
            QString("asked: %1 answered %2")
                .arg(plan.asked[i].kind == PlanQuestionKind::Restore ? "restore" : "EEPROM size")
                .arg(plan.answers[i]);
    for (const QString& check : plan.checks) lines += "checked: " + check;
    lines += QString("suggested name: %1").arg(plan.suggestedName);
    if (!plan.ok()) lines += "stopped: " + plan.why;
    return lines;
}
