#include "jobs/save_file.h"

#include <QCoreApplication>
#include <algorithm>
#include <iterator>

#include "jobs/clock_trailer.h"

namespace {

struct SaveFileText {
    Q_DECLARE_TR_FUNCTIONS(FamicomThread)
};

// What may follow the save in a file: the clock trailers emulators write.
constexpr uint32_t kTrailers[] = {0, kClockTrailerSize, kClockTrailerShortSize};

}  // namespace

bool save_file_size_fits(int64_t fileSize, uint32_t saveSize) {
    return std::any_of(std::begin(kTrailers), std::end(kTrailers),
                       [&](uint32_t t) { return fileSize == int64_t(saveSize) + t; });
}

uint32_t longest_save_trailer() {
    return *std::max_element(std::begin(kTrailers), std::end(kTrailers));
}

QString save_file_refusal(const QString& name, int64_t fileSize, uint32_t saveSize) {
    if (save_file_size_fits(fileSize, saveSize)) return QString();
    return SaveFileText::tr(
               "%1 holds %2 bytes, but the cartridge's save is %3 bytes (a clock trailer of %4 or "
               "%5 bytes may follow it); nothing was read from or written to the cartridge.")
        .arg(name)
        .arg(fileSize)
        .arg(saveSize)
        .arg(kClockTrailerSize)
        .arg(kClockTrailerShortSize);
}
