#include "jobs/dump_verdict.h"

#include <QCoreApplication>
#include <vector>

#include "cart/checksums.h"
#include "jobs/dat_store.h"
#include "jobs/job_launch.h"
#include "jobs/outcome_style.h"
#include "jobs/text_contexts.h"

namespace {

QString hex(uint32_t value, int digits) {
    return QStringLiteral("0x") +
           QString::number(value, 16).rightJustified(digits, QLatin1Char('0')).toUpper();
}

struct CheckText {
    gb::HeaderCheckKind kind;
    const char* holds;
    const char* fails;  // %1 what the header says, %2 what the bytes give
    int digits;
};

const CheckText kCheckTexts[] = {
    {gb::HeaderCheckKind::GbLogo, QT_TRANSLATE_NOOP("FamicomThread", "Nintendo logo: holds."),
     QT_TRANSLATE_NOOP("FamicomThread", "Nintendo logo: does not hold."), 0},
    {gb::HeaderCheckKind::GbHeaderSum,
     QT_TRANSLATE_NOOP("FamicomThread", "Header checksum %1: holds."),
     QT_TRANSLATE_NOOP("FamicomThread",
                       "Header checksum: does not hold (the header says %1, the bytes give %2)."),
     2},
    {gb::HeaderCheckKind::GbGlobalSum,
     QT_TRANSLATE_NOOP("FamicomThread", "Global checksum %1: holds."),
     QT_TRANSLATE_NOOP("FamicomThread",
                       "Global checksum: does not hold (the header says %1, the image gives %2)."),
     4},
    {gb::HeaderCheckKind::GbaLogo, QT_TRANSLATE_NOOP("FamicomThread", "Nintendo logo: holds."),
     QT_TRANSLATE_NOOP("FamicomThread", "Nintendo logo: does not hold."), 0},
    {gb::HeaderCheckKind::GbaFixedByte,
     QT_TRANSLATE_NOOP("FamicomThread", "Fixed byte %1 at 0xB2: holds."),
     QT_TRANSLATE_NOOP("FamicomThread",
                       "Fixed byte at 0xB2: does not hold (%1 expected, %2 found)."),
     2},
    {gb::HeaderCheckKind::GbaComplement,
     QT_TRANSLATE_NOOP("FamicomThread", "Header complement check %1: holds."),
     QT_TRANSLATE_NOOP("FamicomThread",
                       "Header complement check: does not hold (the header says %1, the bytes "
                       "give %2)."),
     2},
};

QString check_line(const gb::HeaderCheck& check) {
    for (const CheckText& t : kCheckTexts) {
        if (t.kind != check.kind) continue;
        if (check.holds)
            return t.digits ? VerdictText::tr(t.holds).arg(hex(check.expected, t.digits))
                            : VerdictText::tr(t.holds);
        return t.digits ? VerdictText::tr(t.fails).arg(hex(check.expected, t.digits),
                                                       hex(check.found, t.digits))
                        : VerdictText::tr(t.fails);
    }
    return QString();
}

const char* const kCleanAndRetry =
    QT_TRANSLATE_NOOP("FamicomThread", "Clean the cartridge's contacts and dump it again.");

}  // namespace

namespace {

// A dump an imported DAT or the built-in database lists; report says which.
bool matches_known_dump(const gb::DumpDigest& digest, const gb::DumpTable& table,
                        DumpReport& report) {
    if (const std::optional<DatMatch> match = find_in_dats(digest)) {
        report.verdict = DumpVerdict::Verified;
        report.release = match->game;
        report.lines << VerdictText::tr("Matches %1.").arg(dat_match_text(*match));
        return true;
    }
    const gb::KnownDump* known = gb::find_dump(table, digest);
    if (!known) return false;
    report.verdict = DumpVerdict::Verified;
    report.release = QString::fromUtf8(known->title);
    report.lines << VerdictText::tr("Verified: the known good dump of %1 (%2, %3).")
                        .arg(QString::fromUtf8(known->title), QString::fromUtf8(known->year),
                             QString::fromUtf8(known->publisher));
    return true;
}

}  // namespace

DumpReport judge_dump(bool gba, const uint8_t* image, size_t size, const gb::DumpDigest& digest,
                      const gb::DumpTable& table, const DumpContext& context) {
    DumpReport report;
    report.lines << VerdictText::tr("Dump: %1 bytes, CRC32 %2, SHA-1 %3.")
                        .arg(digest.size)
                        .arg(digest.crc32, 8, 16, QLatin1Char('0'))
                        .arg(QString::fromLatin1(digest.sha1));
    // An image too short to hold a header has nothing to hold.
    const bool hasHeader = size > (gba ? gb::kGbaComplementOffset : gb::kGbGlobalSumOffset + 1);
    bool checksumsHold = hasHeader;
    if (hasHeader) {
        for (const gb::HeaderCheck& check : gb::image_checks(gba, image, size)) {
            report.lines << check_line(check);
            checksumsHold = checksumsHold && check.holds;
        }
    }

    if (matches_known_dump(digest, table, report)) return report;
    // A dump of the wrong size says so before anything about contacts.
    const bool sizeWrong = !context.sizeNote.isEmpty();
    if (sizeWrong) report.lines << warning_markup(context.sizeNote);
    const QString advice = sizeWrong ? QString() : ' ' + VerdictText::tr(kCleanAndRetry);
    const QString code = hasHeader ? gb::cartridge_code(gba, image) : QString();
    const size_t known = gb::dumps_with_code(table, code) + dats_of_code(code).size();
    if (known) {
        report.verdict = DumpVerdict::DiffersFromDatabase;
        report.lines << warning_markup(
            VerdictText::tr("Warning: this dump differs from every known dump of the cartridge %1 "
                            "(%2 in the database), so it is probably a bad read.")
                .arg(code)
                .arg(known) +
            advice);
    } else if (checksumsHold && context.healedBytes) {
        // Flips in both directions cancel in the checksums: they confirm nothing here.
        report.verdict = DumpVerdict::Healed;
        report.lines << warning_markup(healed_warning(context.healedBytes));
    } else if (checksumsHold) {
        report.verdict = DumpVerdict::ChecksumsHold;
        report.lines << VerdictText::tr(
            "Not in the database of known dumps: the verdict rests on the "
            "checksums, and they hold.");
    } else {
        report.verdict = DumpVerdict::ChecksumsFail;
        report.lines << warning_markup(
            VerdictText::tr("Not in the database of known dumps, and its checksums do not hold, so "
                            "it is probably a bad read.") +
            advice);
    }
    return report;
}

QStringList same_twice_lines(bool gba, const uint8_t* image, size_t size,
                             const gb::DumpTable& table) {
    QStringList lines;
    lines << VerdictText::tr(
        "Read twice the same: the cartridge holds this data. It is not the known dump; it may be "
        "another revision or a modified cartridge.");
    const bool hasHeader = size > (gba ? gb::kGbaComplementOffset : gb::kGbGlobalSumOffset + 1);
    const QString code = hasHeader ? gb::cartridge_code(gba, image) : QString();
    for (const gb::KnownDump* known : gb::dumps_of_code(table, code))
        lines << VerdictText::tr("The database knows %1 as %2 (%3 bytes, CRC32 %4).")
                     .arg(code, QString::fromUtf8(known->title))
                     .arg(known->size)
                     .arg(known->crc32, 8, 16, QLatin1Char('0'));
    for (const DatMatch& known : dats_of_code(code))
        lines << VerdictText::tr("%1 knows %2 as '%3' (%4 bytes, CRC32 %5).")
                     .arg(known.dat, code, known.game)
                     .arg(known.size)
                     .arg(known.crc32, 8, 16, QLatin1Char('0'));
    return lines;
}

QString size_note(uint32_t dumped, uint32_t expected, bool probed) {
    if (!expected || dumped == expected) return QString();
    const QString says = probed ? VerdictText::tr("the dump is %1, probing the cartridge gives %2")
                                : VerdictText::tr("the dump is %1, the header says %2");
    return says.arg(bytes_text(dumped), bytes_text(expected)) + QStringLiteral(": ") +
           (dumped < expected
                ? VerdictText::tr("the panel's ROM size is smaller than the cartridge")
                : VerdictText::tr("the panel's ROM size is larger than the cartridge"));
}

QString healed_warning(size_t bytes) {
    return VerdictText::tr("healed: %1 bytes decided by majority; no known dump confirms it")
        .arg(bytes);
}

QString warning_markup(const QString& text) {
    return outcome_markup(Outcome::Warning, text);
}

QString verdict_summary(DumpVerdict verdict) {
    switch (verdict) {
        case DumpVerdict::Verified:
            return VerdictText::tr("Verified dump");
        case DumpVerdict::ChecksumsHold:
            return VerdictText::tr("Checksums hold");
        case DumpVerdict::Healed:
            return VerdictText::tr("Healed, not confirmed");
        case DumpVerdict::DiffersFromDatabase:
        case DumpVerdict::ChecksumsFail:
            return VerdictText::tr("Probably a bad dump");
        case DumpVerdict::None:
            break;
    }
    return QString();
}

QString header_sum_line(bool gba, const uint8_t* header) {
    const std::vector<gb::HeaderCheck> checks =
        gba ? gb::gba_header_checks(header) : gb::gb_header_checks(header);
    const gb::HeaderCheck* sum = gb::header_sum_check(checks);
    if (!sum) return QString();
    if (sum->holds) return check_line(*sum);
    return check_line(*sum) + ' ' +
           QCoreApplication::translate("MainTab",
                                       "A wrong header checksum before a dump usually means "
                                       "dirty contacts: clean them and press Info again.");
}
