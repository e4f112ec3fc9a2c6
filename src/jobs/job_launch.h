// Preparing a cartridge job from the user's choices, independent of any widget.
#pragma once

#include <QString>
#include <functional>

#include "jobs/famicom_thread.h"

struct LaunchLog {
    std::function<void(const QString&)> info;
    std::function<void()> separator;
};

// What the settings hold at the moment of the launch.
struct LaunchChoices {
    int sysType = 0;
    int mbcPosition = 0;  // position of the chosen controller in its list
    int gbRomSize = 0;
    int gbRamSize = 0;
    int gbaRomSize = 0;
    int gbaRamType = 0;
    int gbaRamSize = 0;
    bool verify = false;
    // The ROM size the cartridge's header or the probe gave (0: none), which
    // the verdict holds a dump of another size against.
    uint32_t detectedRomSize = 0;
    bool romSizeProbed = false;
    bool keepBest = false;  // a dump the reads cannot decide is kept as a marked guess
};

// The four job buttons; the job type is the button's base plus 4 for GBA.
enum class JobButton : uint32_t { ReadRom = 0, WriteFlash = 1, ReadRam = 2, WriteRam = 3 };
uint32_t job_type_for(JobButton button, int sysType);

// How each job asks for its file and announces itself (untranslated texts).
struct JobDialog {
    JobButton button;
    bool save;  // a save dialog for reads, an open dialog for writes
    const char* caption;
    const char* gbFilter;
    const char* gbaFilter;
    const char* message;
};
const JobDialog& job_dialog(JobButton button);

// A byte count as a user reads it: 512 B, 32 KiB, 2 MiB.
QString bytes_text(uint64_t bytes);

// The line that starts a job's log: its announcement and the file.
QString job_start_line(const JobDialog& dialog, const QString& fileName);
// The line that ends a job's log.
QString job_outcome_line(bool ok);

// Why a launch started no job.
enum class LaunchFault {
    None,      // the job record is filled: the job may start
    Canceled,  // the user chose no file
    Board,     // no board, another program on it, or it does not answer
    File,      // the file cannot be used (empty, too large, too large for the chip)
    Refused,   // the choices do not fit the cartridge, or the mapper script is missing
};

// Every launch step of one job under the board's claim (the one this process
// holds, else one for the launch), so no other program's commands interleave:
// configure_par, the input file check, the size checks, the flash chip query
// and the job type. enterMode false skips the bus initialisation when the
// board is already in the job's mode (the command line has just read the
// header in it). Every refusal is logged; the front end closes the job's log.
LaunchFault prepare_job(JobButton button, const LaunchChoices& choices, const QString& fileName,
                        const QString& appDir, FamicomThread& job, const LaunchLog& log,
                        bool enterMode = true);

// Logs why the board could not be claimed: the report's line for a missing
// board, then the reason.
void log_claim_problem(const usb::BoardClaim& claim, const LaunchLog& log);

// Selects the board, initialises its bus, checks the mapper script and fills
// the job record; false when no job may start.
bool configure_par(const LaunchChoices& choices, const QString& fileName, const QString& appDir,
                   FamicomThread& job, const LaunchLog& log, bool enterMode = true);

// Refuses an input file that is empty or larger than any cartridge; true when it may be used.
bool check_input_file(const QString& fileName, const LaunchLog& log);

// Why a job of this type cannot move rom bytes of ROM (or image) and ram bytes
// of save through the controller's row (or the GBA bus); empty when it can.
QString size_refusal(uint32_t type, const MbcRow* row, uint64_t rom, uint64_t ram);

// Refuses, before anything is sent, a size the chosen controller (or the GBA
// bus) cannot address: the ROM or save of the choices, or the image to flash.
bool check_sizes(uint32_t type, const LaunchChoices& choices, const QString& fileName,
                 const LaunchLog& log);

// Asks the GB flash chip for its query table and records its data bus width;
// the chip's size in bytes when it reported one, else 0; kNoFlashChip (after
// a log line that says so) when the cartridge answers neither the query nor
// the ID command.
inline constexpr uint32_t kNoFlashChip = UINT32_MAX;
uint32_t identify_flash(FamicomThread& job, const LaunchLog& log);

// The full path of the mapper script the choices select.
QString mapper_script_path(const LaunchChoices& choices, const QString& appDir);
// The folder of the mapper scripts beside the program in appDir.
QString mapper_folder(const QString& appDir);
