#include "jobs/file_names.h"

#include <vector>

#include "cart/checksums.h"
#include "cart/header.h"
#include "cart/known_dumps.h"
#include "jobs/dat_store.h"
#include "jobs/detection.h"

namespace {

constexpr const char* kUnsafe = "/\\:*?\"<>|";

// The name an imported DAT or the database of known dumps gives the cartridge,
// by its game code, in the form the verdicts use ("Advance Wars (Europe)");
// else the GBA database's title.
QString database_name(bool gba, const Detection& d) {
    if (d.header.size() <= gb::kGbGlobalSumOffset) return gba ? d.gba.title : QString();
    const QString code = gb::cartridge_code(gba, d.header.data());
    const std::vector<DatMatch> listed = dats_of_code(code);
    if (!listed.empty()) return listed.front().game;
    const std::vector<const gb::KnownDump*> known = gb::dumps_of_code(gb::builtin_dumps(), code);
    if (!known.empty()) return QString::fromUtf8(known.front()->title);
    return gba ? d.gba.title : QString();
}

}  // namespace

QString safe_file_name(const QString& text) {
    QString out;
    for (const QChar c : text)
        out += c.unicode() < 0x20 || c.unicode() == 0x7F || QLatin1String(kUnsafe).contains(c)
                   ? QChar('_')
                   : c;
    while (!out.isEmpty() && (out.endsWith('.') || out.endsWith(' '))) out.chop(1);
    out = out.trimmed();
    return out.isEmpty() ? QStringLiteral("cartridge") : out;
}

QString suggested_file_name(const Detection& d, bool save) {
    const bool gba = d.outcome == ReportOutcome::Gba || d.outcome == ReportOutcome::GbaUnknown;
    if (!cartridge_found(d.outcome)) return QString();
    QString name = database_name(gba, d);
    if (name.isEmpty()) {
        const bool whole = d.header.size() > gb::kGbGlobalSumOffset;
        const QString title = whole ? gb::header_title(gba, d.header.data()) : d.gb.title;
        const QString code = whole ? gb::cartridge_code(gba, d.header.data()) : QString();
        name = title.trimmed();
        if (!code.isEmpty()) name += QStringLiteral(" (%1)").arg(code);
    }
    QString extension = QStringLiteral(".gb");
    if (save)
        extension = QStringLiteral(".sav");
    else if (gba)
        extension = QStringLiteral(".gba");
    else if (d.header.size() > gb::kGbCgbFlagOffset &&
             (d.header[gb::kGbCgbFlagOffset] & gb::kGbCgbFlag))
        extension = QStringLiteral(".gbc");
    return safe_file_name(name) + extension;
}
