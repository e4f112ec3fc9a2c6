// The cartridge job thread and its job record.
#pragma once

#include <QString>
#include <QThread>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

#include "device/platform.h"
#include "device/usb.h"
#include "jobs/backup_history.h"
#include "jobs/clock_trailer.h"
#include "jobs/dump_verdict.h"
#include "jobs/following_digest.h"
#include "jobs/majority_read.h"
#include "jobs/option_tables.h"
#include "script/job_context.h"

class QFile;
namespace file {
class OutputFile;
}

// Largest image or save the program accepts: the largest ROM the settings offer.
inline constexpr int64_t kMaxInputSize = gba_rom_table[std::size(gba_rom_table) - 1].value;

class FamicomThread : public QThread, public JobContext {
    Q_OBJECT

public:
    FamicomThread();
    ~FamicomThread() override;

    QString m_file;
    bool m_verify = false;
    uint8_t m_save_mask = 0xFF;  // bits of each save byte the cartridge keeps

    // The board the launch claimed for this job, held to the job's end; a job
    // started without one claims the board itself.
    std::unique_ptr<usb::BoardClaim> m_claim;
    // An existing output file may be replaced (the user agreed to it); else a
    // file that appears during the job is kept and the output goes beside it.
    bool m_replace = true;
    // With m_replace, the file the user agreed to replace, identified when they
    // agreed; unset: whichever file holds the name.
    std::optional<platform::FileIdentity> m_agreed;
    // m_file is a suggested name: a dump that matches a known release takes the
    // release's name instead, in the same folder, when no file holds it.
    bool m_name_by_release = false;
    // Most bytes of image the flash chip and the controller take; 0: unknown.
    uint32_t m_rom_limit = 0;
    // The last job failed because of the user's file (it did not fit, changed,
    // or its name was taken meanwhile), not because of the board.
    bool m_file_fault = false;

    // Write RAM first keeps the cartridge's save in the backup folder (empty:
    // default_backup_folder()); m_backup_path names the backup it made.
    bool m_backup = true;
    QString m_backup_folder;
    QString m_backup_path;
    bool m_backup_new = false;  // the backup was made by this job

    // Asked before a blank save file is written over a save that is not blank;
    // without it, or when it says no, nothing is written.
    std::function<bool(const QString& question)> m_confirm_blank;
    // The save the last Read RAM read is blank (all 0xFF or all 0x00).
    bool m_blank_save = false;

    // Reads of the chunks in which two reads differ, beyond those two, before
    // the dump or save is given up.
    int m_retries = kDefaultHealReads;
    // A dump the reads cannot decide is kept as "NAME (unstable).ext", its
    // undecided bytes the leading guesses; the job still fails.
    bool m_keep_best = false;
    // The ROM size the header or the probe gives (0: unknown), for the verdict.
    uint32_t m_header_rom_size = 0;
    bool m_rom_size_probed = false;
    // Bytes the last dump read beyond its first two reads to heal them.
    uint64_t m_heal_bytes = 0;
    // Bytes of the last job that read differently and were decided by majority.
    size_t healed_bytes() const { return m_unstable_bytes; }

    // What the last ROM dump is worth, and the known dumps it is judged against.
    DumpVerdict m_verdict = DumpVerdict::None;
    gb::DumpTable m_known_dumps = gb::builtin_dumps();

    // The job sequence on the calling thread; true on success. run() calls it
    // and reports the result; a front end without an event loop may call it directly.
    bool execute();

    void report_progress(int done, int total) override;
    void report_line(const QString& text) override { emit log(text); }

signals:
    void log(QString text);
    void set_progress(int ile, int max);
    void error(int err);

public slots:
    void canceled();

protected:
    void run() override;

private:
    // The job sequence, a step each.
    bool run_job(platform::TransferBuffer& buffer);
    bool claim_board(std::unique_ptr<usb::BoardClaim>& claim);
    bool enter_mode();
    bool prepare_buffer(platform::TransferBuffer& buffer, bool* verify);
    bool read_input();
    // Takes the clock trailer that followed the save in the file.
    bool take_clock_trailer(const QByteArray& tail);
    bool transfer(file::OutputFile* output);
    // Makes the first read of a GBA dump or save read, which is known before
    // its script runs, and a dump's next ones while the interpreter still
    // loads; a read that fails is left to the script, which says why.
    void prefetch();
    bool commit_dump(file::OutputFile& output);
    bool save_output();
    bool commit(file::OutputFile& output);
    bool output_failed(const file::OutputFile& output);
    void explain_partial_write();
    void say_canceled();
    bool refuse_file(const QString& text);
    bool m_said_canceled = false;

    FollowingDigest* m_digest = nullptr;  // hashes a dump's first read as it arrives
    gb::DumpDigest m_hashes;              // of the dump just transferred
    DumpReport m_report;                  // its verdict with the lines that explain it
    ClockState m_file_clock;              // the clock a save file carries
    bool m_file_has_clock = false;
    // Runs the job that reads back what this one moves into into (as large as the buffer).
    bool read_back(platform::TransferBuffer& into);
    bool verify_written(platform::TransferBuffer& written);
    // A dump's reads compared: the first read once more, healed by majority
    // where they differ (the output rewritten there).
    enum class Reads { Same, Healed, Failed };
    Reads read_again(platform::TransferBuffer& first, file::OutputFile* output);
    Reads heal(platform::TransferBuffer& first, platform::TransferBuffer& second,
               const std::vector<size_t>& chunks, file::OutputFile* output);
    // Names the chunks at the same bus addresses in other banks as suspect too.
    void suspect_aliases(MajorityRead& majority, const platform::TransferBuffer& first,
                         const platform::TransferBuffer& second, const std::vector<size_t>& chunks);
    // Reads the open chunks into again until each is decided or the retries
    // run out; false (failed) when the cartridge could not be read again.
    bool vote(MajorityRead& majority, platform::TransferBuffer& again);
    // Writes the chunks a heal read again from dump into the output.
    static bool write_chunks(const MajorityRead& majority, const platform::TransferBuffer& dump,
                             file::OutputFile& output);
    // The undecided bytes as the leading guesses, in "NAME (unstable).ext".
    QString keep_best_guess(const MajorityRead& majority, platform::TransferBuffer& first,
                            file::OutputFile& output);
    // Reads the whole save (or dump) twice into into, healed where they differ.
    bool read_healed(platform::TransferBuffer& into);
    bool verify_save(platform::TransferBuffer& save);
    size_t m_unstable_bytes = 0;  // decided by majority in this job
    bool m_unstable = false;      // some read of this job differed from another
    // Reads a second time where asked or where the verdict is bad, then judges.
    bool settle_dump(platform::TransferBuffer& first, bool verify, file::OutputFile& output);
    // Whether the dump is of an MBC1 multicart, with the log line that says so.
    bool multicart_dump();
    // The cartridge's first kMinTransfer bytes, read once per job when first
    // asked for; null when they could not be read.
    const uint8_t* cartridge_header();
    std::vector<uint8_t> m_header;
    uint32_t unpack_half_bytes(QFile* input, uint32_t size);
    void set_clock_from(const ClockState& clock);
    // The cartridge a backup of its save is of: title, game code, header checksum.
    BackupOrigin backup_origin();
    // Before a save write: a blank file over a save that is not blank needs
    // m_confirm_blank; then the backup.
    bool check_save_over();
    bool back_up_save(const platform::TransferBuffer* current);
};
