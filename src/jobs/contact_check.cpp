#include "jobs/contact_check.h"

#include <QCoreApplication>
#include <QStringList>
#include <vector>

#include "cart/bus.h"
#include "cart/header.h"
#include "jobs/majority_read.h"

namespace {

struct ContactText {
    Q_DECLARE_TR_FUNCTIONS(MainTab)
};

}  // namespace

ContactCheck check_contacts(bool gba, const std::vector<uint8_t>& detected) {
    ContactCheck check;
    const uint32_t size = gba ? gb::kGbaHeaderEnd : gb::kGbHeaderEnd;
    const gb::ReadOp read = gba ? gb::p_gba_cpu_read : gb::p_gb_cpu_read;
    MajorityRead reads(size, gba, {0});
    reads.suspect({0});  // every read counts, alike or not
    if (detected.size() >= size) reads.add(detected.data());
    std::vector<uint8_t> data(size);
    for (int n = 0; n < kContactReads; ++n) {
        if (!read || read(0, data.data(), size) != size) {
            check.line = ContactText::tr("Contact check: the header could not be read.");
            return check;
        }
        reads.add(data.data());
    }
    check.read = true;
    const std::vector<size_t> unstable = reads.unstable();
    check.stable = unstable.empty();
    if (check.stable) {
        check.line = ContactText::tr(
                         "Contact check: the header read the same %1 times: the "
                         "contacts are stable.")
                         .arg(kContactReads);
        return check;
    }
    QStringList addresses, lines;
    for (size_t at : unstable)
        addresses << QStringLiteral("0x%1").arg(qulonglong(at), 4, 16, QLatin1Char('0'));
    const std::vector<size_t> flips = reads.line_flips();
    for (size_t line = 0; line < flips.size(); ++line)
        if (flips[line]) lines << QStringLiteral("D%1").arg(line);
    check.line = ContactText::tr(
                     "Contact check: over %1 reads the header read differently at %2 "
                     "(data lines %3): clean the cartridge's contacts before a long "
                     "dump.")
                     .arg(kContactReads)
                     .arg(addresses.join(QStringLiteral(", ")), lines.join(QStringLiteral(", ")));
    return check;
}
