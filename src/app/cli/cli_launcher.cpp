// zelvo3-cli: answers --help, --version and --bash-completion itself, with the
// texts zelvo3-cli-qt wrote when it was built, and hands every other command
// line to zelvo3-cli-qt beside it. The texts so come without loading Qt.
#include <string.h>  // memrchr
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "app/cli/cli_exit.h"
#include "cli_launcher_texts.h"

namespace {

constexpr char kProgram[] = "zelvo3-cli-qt";

bool is(const char* arg, const char* option) {
    return std::strcmp(arg, option) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (is(argv[1], "--help") || is(argv[1], "-h"))) {
        std::fputs(kHelpText, stdout);
        return kExitOk;
    }
    if (argc == 2 && is(argv[1], "--bash-completion")) {
        std::fputs(kCompletionText, stdout);
        return kExitOk;
    }
    if (argc == 2 && is(argv[1], "--version")) {
        std::printf("zelvo3-cli %s\n", ZELVO_VERSION);
        return kExitOk;
    }
    // The program is found beside this one's file, wherever a link to it lies.
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - sizeof kProgram);
    char* slash = n > 0 ? static_cast<char*>(memrchr(path, '/', size_t(n))) : nullptr;
    if (!slash) {
        std::fprintf(stderr, "zelvo3-cli: the program's own folder cannot be found: %s\n",
                     std::strerror(errno));
        return kExitFailed;
    }
    std::memcpy(slash + 1, kProgram, sizeof kProgram);
    execv(path, argv);
    std::fprintf(stderr, "zelvo3-cli: %s cannot be started: %s\n", path, std::strerror(errno));
    return kExitFailed;
}
