// What a controller row reaches, for the test that adds one to a scratch
// copy of the tree: the settings panel's controller list (one label a line),
// then "type 0xNN: NAME" as the header decoder names each type given, and
// "refused: ..." or "taken" for a dump of the given ROM size with each type's
// controller. Usage: panel_rows [TYPE ROMSIZE]...
#include <QApplication>
#include <QComboBox>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cart/controllers.h"
#include "cart/header.h"
#include "jobs/job_launch.h"
#include "script/job_types.h"
#include "ui/settings.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Settings settings(nullptr);
    for (int i = 0; i < settings.firstList()->count(); ++i)
        std::printf("%s\n", settings.firstList()->itemText(i).toLocal8Bit().constData());
    for (int i = 1; i + 1 < argc; i += 2) {
        const uint8_t type = uint8_t(std::strtoul(argv[i], nullptr, 0));
        std::vector<uint8_t> header(gb::kGbHeaderEnd, 0);
        std::copy(gb::kGbLogo, gb::kGbLogo + gb::kGbLogoSize, header.begin() + gb::kGbLogoOffset);
        header[gb::kGbTypeOffset] = type;
        gb::gb_pcb pcb;
        gb::gb_cartridge_info(header.data(), &pcb);
        std::printf("type 0x%02X: %s\n", type, pcb.cart_type.toLocal8Bit().constData());
        const QString refusal = size_refusal(kJobGbDump, gb::mbc_by_header_type(type),
                                             std::strtoull(argv[i + 1], nullptr, 0), 0);
        std::printf("%s\n", refusal.isEmpty() ? "taken" : "refused");
    }
    return 0;
}
