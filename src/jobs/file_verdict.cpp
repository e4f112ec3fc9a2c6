#include "jobs/file_verdict.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "cart/bus.h"
#include "cart/checksums.h"
#include "cart/known_dumps.h"
#include "jobs/job_launch.h"
#include "jobs/text_contexts.h"

FileVerdict judge_file(const QString& path) {
    FileVerdict out;
    // A pipe or a device would block the read or never end.
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile()) {
        out.failure = VerdictText::tr("%1: not a regular file").arg(path);
        return out;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.failure = path + QStringLiteral(": ") + file.errorString();
        return out;
    }
    if (file.size() > kMaxInputSize) {
        out.failure = VerdictText::tr("%1: larger than any cartridge holds").arg(path);
        return out;
    }
    const QByteArray image = file.readAll();
    const auto* bytes = reinterpret_cast<const uint8_t*>(image.constData());
    const size_t size = size_t(image.size());
    const bool gba = gb::looks_like_gba(bytes, size);
    if (!gba && !gb::looks_like_gb(bytes, size)) {
        out.failure =
            VerdictText::tr("%1: neither a GB/GBC nor a GBA ROM (no logo in its header)").arg(path);
        return out;
    }
    // The cartridge bus addresses 32 MiB: a larger file is no GBA dump.
    if (gba && size > gb::kGbaRomSpan) {
        out.failure = VerdictText::tr(
                          "%1 holds %2, more than the %3 a GBA ROM can hold: it is not "
                          "a GBA dump")
                          .arg(path, bytes_text(size), bytes_text(gb::kGbaRomSpan));
        return out;
    }
    const uint32_t smallest = gb::smallest_dump(gb::builtin_dumps(), gba);
    if (size < smallest) {
        out.failure =
            VerdictText::tr(
                "%1 holds %2 bytes, less than the smallest %3 ROM (%4): it "
                "is not a whole dump")
                .arg(path)
                .arg(size)
                .arg(gba ? QStringLiteral("GBA") : QStringLiteral("GB/GBC"), bytes_text(smallest));
        return out;
    }
    out.lines << VerdictText::tr("%1: a %2 ROM")
                     .arg(path, gba ? QStringLiteral("GBA") : QStringLiteral("GB/GBC"));
    const DumpReport report = judge_dump(gba, bytes, size, gb::digest_of(bytes, size));
    out.lines << report.lines;
    out.verdict = report.verdict;
    out.judged = true;
    return out;
}
