#include "jobs/save_file.h"

#include <QCoreApplication>
#include <algorithm>

#include "jobs/clock_trailer.h"

namespace {

struct SaveFileText {
    Q_DECLARE_TR_FUNCTIONS(FamicomThread)
};

}  // namespace

bool save_file_size_fits(int64_t fileSize, uint32_t saveSize, bool halfBytes) {
    if (fileSize == int64_t(saveSize)) return true;
    if (halfBytes && fileSize == int64_t(saveSize / 2)) return true;
    size_t count = 0;
    const size_t* trailers = clock_trailer_sizes(&count);
    return std::any_of(trailers, trailers + count,
                       [&](size_t t) { return fileSize == int64_t(saveSize + t); });
}

uint32_t longest_save_trailer() {
    size_t count = 0;
    const size_t* trailers = clock_trailer_sizes(&count);
    return uint32_t(*std::max_element(trailers, trailers + count));
}

QString save_file_refusal(const QString& name, int64_t fileSize, uint32_t saveSize,
                          bool halfBytes) {
    if (save_file_size_fits(fileSize, saveSize, halfBytes)) return QString();
    return SaveFileText::tr(
               "%1 holds %2 bytes, but the cartridge's save is %3 bytes: a save file holds the "
               "save (and a clock's trailer at most); nothing was read from or written to the "
               "cartridge.")
        .arg(name)
        .arg(fileSize)
        .arg(saveSize);
}

bool save_blank(const uint8_t* save, size_t size, uint8_t mask) {
    if (size == 0) return false;
    const uint8_t first = save[0] & mask;
    if (first != 0 && first != mask) return false;
    for (size_t i = 1; i < size; ++i)
        if ((save[i] & mask) != first) return false;
    return true;
}

QString blank_save_text() {
    return SaveFileText::tr(
        "the save is blank: the cartridge holds no saved game, or its battery is dead");
}
