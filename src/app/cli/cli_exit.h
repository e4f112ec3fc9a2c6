// zelvo3-cli's exit statuses (without Qt: the launcher uses them too).
#pragma once

enum CliExit {
    kExitOk = 0,
    kExitFailed = 1,
    kExitUsage = 2,
    kExitBoard = 3,
    kExitFile = 4,
    kExitSuspect = 5  // a dump or file that contradicts the database or its checksums
};
