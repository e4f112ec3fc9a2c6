#include "jobs/save_search.h"

#include <QCoreApplication>
#include <QStringList>

#include "cart/save_libraries.h"
#include "jobs/choice_model.h"
#include "jobs/option_tables.h"
#include "jobs/text_contexts.h"

namespace {

QString ids_text(const std::vector<std::string>& ids) {
    QStringList list;
    for (const std::string& id : ids) list += QString::fromStdString(id);
    return list.join(QStringLiteral(", "));
}

}  // namespace

SaveKindFound search_save_kind(uint32_t romSize,
                               const std::function<bool(uint32_t, uint32_t)>& progress) {
    SaveKindFound found;
    found.read = gb::find_save_library_ids(romSize, &found.ids, progress);
    for (const std::string& id : found.ids) {
        const gb::SaveLibrary* library = gb::save_library_of(id);
        if (found.type >= 0 && (found.type != library->type || found.size != library->size)) {
            found.type = -1;  // libraries of different kinds: the ROM does not decide
            break;
        }
        found.type = library->type;
        found.size = library->size;
    }
    return found;
}

QString save_search_line(const SaveKindFound& found, const QString& chooseHow) {
    if (!found.read)
        return MainTabText::tr("The ROM could not be read through to look for its save library.");
    if (found.ids.empty())
        return MainTabText::tr("The ROM names no save library, so its save type is not known; %1.")
            .arg(chooseHow);
    const OptionRow* kind = option_by_value(gba_ram_type_table, found.type);
    if (!kind)
        return MainTabText::tr("The ROM names save libraries of more than one kind (%1); %2.")
            .arg(ids_text(found.ids), chooseHow);
    if (found.size == 0)
        return MainTabText::tr(
                   "The ROM names its save library %1: %2, whose size it does not tell.")
            .arg(ids_text(found.ids), QLatin1String(kind->label));
    return MainTabText::tr("The ROM names its save library %1: %2 %3.")
        .arg(ids_text(found.ids), QLatin1String(kind->label), bytes_text(found.size));
}

bool apply_save_kind(ChoiceModel& model, const SaveKindFound& found, uint32_t eepromSize) {
    const uint32_t size = found.size ? found.size : eepromSize;
    if (!found.read || found.type < 0 || size == 0) return false;
    return model.setItem2(found.type, ChoiceSource::Found) &&
           model.setItem3(int(size), ChoiceSource::Found);
}
