#include "app/cli/cli_dat.h"

#include <QFileInfo>

#include "jobs/dat_store.h"
#include "jobs/local_database.h"

namespace {

CliResult import(const QStringList& files, const QString& database, CliOutput& out) {
    QStringList failed;
    for (const QString& file : files) {
        const DatFileImport imported =
            import_dat_file(QFileInfo(file).absoluteFilePath(), database);
        if (!imported.ok) failed << file;
        out.line(imported.line);
    }
    if (failed.isEmpty()) return {};
    return {kExitFile, QString("%1 of %2 files were not imported: %3")
                           .arg(failed.size())
                           .arg(files.size())
                           .arg(failed.join(", "))};
}

}  // namespace

CliResult run_dat(const CliRequest& request, CliOutput& out) {
    const QString database = database_path(default_data_folder());
    if (request.datAction == "import") return import(request.datArguments, database, out);
    QString why;
    if (request.datAction == "remove") {
        if (!remove_dat(database, request.datArguments[0], &why)) return {kExitFile, why};
        out.line(QString("Removed %1.").arg(request.datArguments[0]));
        return {};
    }
    const std::vector<DatSummary> dats = list_dats(database, &why);
    if (!why.isEmpty()) return {kExitFile, why};
    if (dats.empty()) out.line(QString("No DAT files are imported (%1).").arg(database));
    for (const DatSummary& d : dats) out.line(dat_summary_text(d));
    return {};
}
