// Fuzzes the command line's option parsing with arbitrary argument lists:
// arguments are the input's NUL-separated pieces.
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

#include "app/cli/cli_options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QStringList args;
    size_t start = 0;
    for (size_t i = 0; i <= size; ++i) {
        if (i == size || data[i] == 0) {
            args << QString::fromUtf8(reinterpret_cast<const char*>(data + start), int(i - start));
            start = i + 1;
        }
    }
    CliRequest request;
    parse_cli(args, request);
    for (const QString& arg : args) parse_size(arg);
    return 0;
}
