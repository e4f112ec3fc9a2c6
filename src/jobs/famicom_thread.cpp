#include "jobs/famicom_thread.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <optional>

#include "cart/bus.h"
#include "cart/checksums.h"
#include "cart/controllers.h"
#include "cart/header.h"
#include "cart/known_dumps.h"
#include "cart/mbc1_multicart.h"
#include "device/bf.h"
#include "device/cmd.h"
#include "device/file.h"
#include "device/phase_marks.h"
#include "device/platform.h"
#include "device/protocol.h"
#include "device/usb.h"
#include "jobs/backup_history.h"
#include "jobs/board_text.h"
#include "jobs/clock_reading.h"
#include "jobs/file_names.h"
#include "jobs/job_launch.h"
#include "jobs/majority_read.h"
#include "jobs/save_backup.h"
#include "jobs/save_file.h"
#include "script/script.h"
#include "script/squirrel_loader.h"

void FamicomThread::report_progress(int done, int total) {
    if (m_digest && done > 0) m_digest->advance(size_t(done));
    emit set_progress(done, total);
}

void FamicomThread::canceled() {
    m_cancel.store(1, std::memory_order_relaxed);
}

void FamicomThread::run() {
    const bool ok = execute();
    emit set_progress(1, 1);
    emit error(ok ? 1 : 0);
}

FamicomThread::FamicomThread() = default;
FamicomThread::~FamicomThread() = default;

bool FamicomThread::execute() {
    // The cancel flag is cleared when the job is launched (prepare_job): a
    // cancel that comes before the sequence begins still stops it.
    m_failure.clear();
    m_verdict = DumpVerdict::None;
    m_total = 0;
    m_buffer = nullptr;
    m_buffer_size = 0;
    m_cartridge_written = false;
    m_board_stopped = false;
    m_file_fault = false;
    m_backup_path.clear();
    // The board stays this job's until the end, whoever claimed it.
    std::unique_ptr<usb::BoardClaim> claim = std::move(m_claim);
    platform::TransferBuffer buffer;
    m_said_canceled = false;
    const bool ok = claim_board(claim) && run_job(buffer);
    if (!ok && m_cancel.load(std::memory_order_relaxed)) say_canceled();
    m_buffer = nullptr;
    m_buffer_size = 0;
    return ok;
}

bool FamicomThread::refuse_file(const QString& text) {
    m_file_fault = true;
    return fail(text);
}

void FamicomThread::say_canceled() {
    note_failure(QStringLiteral("canceled"));
    if (!m_said_canceled) emit log(tr("Canceled."));
    m_said_canceled = true;
}

bool FamicomThread::claim_board(std::unique_ptr<usb::BoardClaim>& claim) {
    if (!claim && !usb::current_claim()) claim = std::make_unique<usb::BoardClaim>();
    const usb::BoardClaim& held = claim ? *claim : *usb::current_claim();
    if (held.status() == usb::ClaimStatus::NoBoard) emit log(tr("Can not found device."));
    if (!held.held()) return fail(claim_problem(held));
    // The claimed board may have gone since it was found.
    if (!usb::open()) return fail(tr("Can not found device."));
    return true;
}

bool FamicomThread::run_job(platform::TransferBuffer& buffer) {
    const usb::HeldFiles held;
    bool verify = m_verify;
    m_heal_bytes = 0;
    m_unstable_bytes = 0;
    m_unstable = false;
    m_backup_new = false;
    if (!enter_mode() || !prepare_buffer(buffer, &verify)) return false;
    phase::mark("mode");
    const bool saveJob = job_sized_by_ram(m_type);
    m_header.clear();
    m_clock =
        saveJob ? clock_of_cartridge(job_is_gba(m_type), cartridge_header()) : gb::ClockKind::None;
    m_multicart = m_type == kJobGbDump && multicart_dump();
    m_clock_set = false;
    // Everything about the input is settled before the cartridge is touched.
    m_file_has_clock = false;
    if (job_reads_input(m_type) && !read_input()) return false;
    if (saveJob && job_reads_input(m_type) && !check_save_over()) return false;
    if (m_file_has_clock) set_clock_from(m_file_clock);

    if (m_type == kJobGbDump || m_type == kJobGbaDump) {
        // A dump goes into a new file beside the output as it arrives; only a
        // whole, verified dump takes the output's name.
        file::OutputFile output(m_file, m_replace);
        if (m_agreed) output.replace_only(*m_agreed);
        if (!output.open()) return output_failed(output);
        if (!transfer(&output)) return false;
        phase::mark("transfer");
        return settle_dump(buffer, verify, output) && commit_dump(output);
    }
    if (!transfer(nullptr)) {
        if (m_cancel.load(std::memory_order_relaxed)) say_canceled();
        if (job_reads_input(m_type) && m_cartridge_written) explain_partial_write();
        // The cartridge still holds its save: the backup just made is no news.
        if (!m_cartridge_written && m_backup_new) QFile::remove(m_backup_path);
        return false;
    }
    phase::mark("transfer");
    if (verify && job_reads_input(m_type) && !verify_written(buffer)) return false;
    if (verify && job_saves_output(m_type) && !verify_save(buffer)) return false;
    if (verify) phase::mark("verification");
    const bool saved = !job_saves_output(m_type) || save_output();
    phase::mark("commit");
    return saved;
}

bool FamicomThread::enter_mode() {
    if (job_is_gba(m_type)) {
        if (!gb::f_gba_init()) return fail(tr("Initialize device error."));
        const int pair = gb::save_pair_for(m_ram_type, m_ram_size);
        if (pair >= 0) gb::f_gba_save_cfg(uint32_t(pair));
    } else if (!gb::f_gb_init()) {
        return fail(tr("Initialize device error."));
    }
    return true;
}

bool FamicomThread::prepare_buffer(platform::TransferBuffer& buffer, bool* verify) {
    uint32_t size = job_sized_by_ram(m_type) ? m_ram_size : m_rom_size;
    if (job_is_flash(m_type)) {
        const qint64 fileSize = QFileInfo(m_file).size();
        if (fileSize <= 0 || fileSize > kMaxInputSize) {
            return fail(tr("The image file must hold 1 byte to %1.")
                            .arg(bytes_text(uint64_t(kMaxInputSize))));
        }
        size = m_rom_size = uint32_t(fileSize);
        uint8_t serial[proto::kSerialLength] = {};
        if (!cmd::read_sn(serial, sizeof serial)) {
            // The zero key may not be the board's: only a read-back shows what was programmed.
            emit log(
                tr("The board's serial number could not be read; the cartridge is read "
                   "back after programming to check what was written."));
            *verify = true;
        }
        bf::init(serial);
    }
    if (size == 0) {
        return fail(tr("Nothing to transfer: the size is 0."));
    }
    // The controller's row holds its limits; the scripts do not repeat them.
    const MbcRow* row =
        job_is_gba(m_type)
            ? nullptr
            : gb::mbc_by_script(QFileInfo(m_script).fileName().toLatin1().constData());
    const QString refusal = size_refusal(m_type, row, m_rom_size, m_ram_size);
    if (!refusal.isEmpty()) return job_is_flash(m_type) ? refuse_file(refusal) : fail(refusal);
    // A transfer writes every byte (or fails), so nothing need be filled first.
    if (!buffer.reserve(size)) return fail(tr("Not enough memory for %1 bytes.").arg(size));
    m_buffer = buffer.data();
    m_buffer_size = size;
    return true;
}

bool FamicomThread::read_input() {
    const uint32_t size = m_buffer_size;
    QFile* input = file::open_read(QFile::encodeName(m_file).constData());
    emit log(tr("Read file :") + m_file);
    if (!input) {
        return fail(tr("Open File error."));
    }
    // A save of half-bytes may come two to a byte (mGBA writes MBC2 saves so).
    const bool halfBytes = job_sized_by_ram(m_type) && m_save_mask != 0xFF;
    const bool packed = halfBytes && input->size() == int64_t(size / 2);
    const uint32_t got =
        packed ? unpack_half_bytes(input, size) : file::Read(input, m_buffer, size);
    // What follows the save may be its clock; anything after an image means it grew.
    QByteArray tail(int(longest_save_trailer()) + 1, 0);
    const uint32_t more = got == size ? file::Read(input, reinterpret_cast<uint8_t*>(tail.data()),
                                                   uint32_t(tail.size()))
                                      : 0;
    // What was read decides; the file's own size names a file longer than that.
    const int64_t fileSize = qMax(int64_t(got) + more, int64_t(input->size()));
    file::Close(input);
    const bool saveJob = job_sized_by_ram(m_type);
    if (got != size) {
        emit log(tr("Read File error."));
        if (saveJob) return refuse_file(save_file_refusal(m_file, got, size));
        return refuse_file(
            tr("%1 became shorter after it was chosen; nothing was written.").arg(m_file));
    }
    if (job_is_flash(m_type)) {
        if (more > 0)
            return refuse_file(
                tr("%1 grew while it was read; nothing was erased or written.").arg(m_file));
        if (m_rom_limit && size > m_rom_limit)
            return refuse_file(tr("The image %1 of %2 is larger than the %3 this cartridge "
                                  "takes; nothing was erased or written.")
                                   .arg(m_file, bytes_text(size), bytes_text(m_rom_limit)));
    } else if (!save_file_size_fits(int64_t(got) + more, size, halfBytes) ||
               !save_file_size_fits(fileSize, size, halfBytes)) {
        return refuse_file(save_file_refusal(m_file, fileSize, size, halfBytes));
    }
    emit log(tr("Read ") + QString::number(size, 10) + tr(" Bytes"));
    if (saveJob && more > 0) return take_clock_trailer(tail.left(int(more)));
    if (saveJob && m_clock != gb::ClockKind::None)
        emit log(tr("%1 carries no clock: the cartridge's clock is left as it is.").arg(m_file));
    return true;
}

bool FamicomThread::take_clock_trailer(const QByteArray& tail) {
    const auto* trailer = reinterpret_cast<const uint8_t*>(tail.constData());
    const size_t more = size_t(tail.size());
    if (!clock_trailer_fits(m_clock, more)) {
        emit log(tr("The %1 bytes after the save are a clock trailer of another kind of "
                    "cartridge than this one, so they are not used.")
                     .arg(more));
        return true;
    }
    QString why;
    if (!parse_clock_trailer(m_clock, trailer, more, &m_file_clock, &why))
        return refuse_file(tr("The clock trailer of %1 cannot be used (%2); nothing was written.")
                               .arg(m_file, why));
    if (m_file_clock.unset) {
        emit log(tr("The clock in %1 was never set by the game: the cartridge's clock is left "
                    "as it is.")
                     .arg(m_file));
        return true;
    }
    m_file_has_clock = true;
    return true;
}

bool FamicomThread::transfer(file::OutputFile* output) {
    std::optional<FollowingDigest> digest;
    if (output)
        digest.emplace(m_buffer, m_buffer_size,
                       [output](const uint8_t* part, size_t n) { return output->write(part, n); });
    m_digest = digest ? &*digest : nullptr;
    prefetch();
    const bool transferred = script_dump_execute(this);
    m_prefetched = 0;
    m_digest = nullptr;
    if (transferred && m_total != int32_t(m_buffer_size))
        return fail(tr("Transferred %1 of %2 bytes.").arg(m_total).arg(m_buffer_size));
    if (!transferred || !digest) return transferred;
    m_hashes = digest->finish();
    return digest->sinkTookAll() || output_failed(*output);
}

void FamicomThread::prefetch() {
    m_prefetched = 0;
    if (m_wanted) return;
    if (m_type == kJobGbaSaveRead) {
        if (gb::p_gba_save_read && gb::p_gba_save_read(0, m_buffer, m_buffer_size) == m_buffer_size)
            m_prefetched = m_buffer_size;
        return;
    }
    // The first read, and more while the interpreter still loads; each is one
    // the script makes.
    while (m_type == kJobGbaDump && (m_prefetched == 0 || squirrel_loading()) &&
           m_prefetched < m_buffer_size && !m_cancel.load(std::memory_order_relaxed) &&
           gb::p_gba_cpu_read) {
        const uint32_t n = std::min(kGbaReadCap, m_buffer_size - m_prefetched);
        if (gb::p_gba_cpu_read(m_prefetched / 2, m_buffer + m_prefetched, n) != n) return;
        m_prefetched += n;
    }
}

bool FamicomThread::commit_dump(file::OutputFile& output) {
    for (const QString& line : m_report.lines) emit log(line);
    if (m_name_by_release && !m_report.release.isEmpty()) {
        const QFileInfo suggested(m_file);
        const QString named =
            suggested.dir().filePath(safe_file_name(m_report.release) + '.' + suggested.suffix());
        if (named != m_file && !QFileInfo::exists(named)) {
            output.retarget(named);
            m_file = named;
            emit log(tr("The dump takes the name of the release it matches: %1").arg(named));
        }
    }
    if (!commit(output)) return false;
    phase::mark("commit");
    m_verdict = m_report.verdict;
    return true;
}

bool FamicomThread::save_output() {
    m_blank_save = save_blank(m_buffer, m_buffer_size, m_save_mask);
    if (m_blank_save) emit log(warning_markup(blank_save_text()));
    const QByteArray clock =
        clock_trailer(m_clock, m_clock_regs, QDateTime::currentSecsSinceEpoch());
    if (m_clock != gb::ClockKind::None) {
        emit log(tr("The cartridge's clock reads %1; the file carries it after the save.")
                     .arg(clock_text(m_clock, m_clock_regs)));
        if (clock_lost_power(m_clock, m_clock_regs))
            emit log(
                tr("The clock says it lost its power since it was last set: the time it "
                   "shows may be wrong."));
    }
    file::OutputFile output(m_file, m_replace);
    if (m_agreed) output.replace_only(*m_agreed);
    if (!output.open() || !output.write(m_buffer, m_buffer_size) ||
        !output.write(reinterpret_cast<const uint8_t*>(clock.constData()), size_t(clock.size())))
        return output_failed(output);
    return commit(output);
}

bool FamicomThread::output_failed(const file::OutputFile& output) {
    emit log(tr("Save file error."));
    return refuse_file(tr("%1 could not be written: %2").arg(m_file, output.errorString()));
}

bool FamicomThread::commit(file::OutputFile& output) {
    switch (output.commit()) {
        case file::OutputFile::Outcome::Written:
            return true;
        case file::OutputFile::Outcome::KeptAside:
            return refuse_file(tr("%1 appeared while the job ran and was not replaced; the new "
                                  "file is kept as %2.")
                                   .arg(m_file, output.keptAs()));
        case file::OutputFile::Outcome::Failed:
            break;
    }
    return output_failed(output);
}

void FamicomThread::explain_partial_write() {
    if (job_is_flash(m_type)) {
        emit log(
            tr("The flash cartridge is now partly erased or programmed; program the image "
               "again."));
    } else if (!m_backup_path.isEmpty()) {
        emit log(tr("The cartridge's save is now partly written. Its old save is kept in %1; to "
                    "restore it, write that file back with Write RAM.")
                     .arg(m_backup_path));
    } else {
        emit log(
            tr("The cartridge's save is now partly written, and no backup of its old save "
               "was made."));
    }
}

uint32_t FamicomThread::unpack_half_bytes(QFile* input, uint32_t size) {
    QByteArray packed(int(size / 2), 0);
    const uint32_t got = file::Read(input, reinterpret_cast<uint8_t*>(packed.data()), size / 2);
    if (got != size / 2) return got;
    // Byte i holds the half-byte of address 2i low, of address 2i+1 high.
    for (uint32_t i = 0; i < size; ++i)
        m_buffer[i] = uint8_t(0xF0 | (uint8_t(packed[int(i / 2)]) >> (i % 2 ? 4 : 0) & 0x0F));
    emit log(tr("%1 holds the save's half-bytes two to a byte (%2 bytes); they are written one "
                "to a byte.")
                 .arg(m_file)
                 .arg(size / 2));
    return size;
}

const uint8_t* FamicomThread::cartridge_header() {
    if (m_header.empty()) {
        std::vector<uint8_t> header(proto::kMinTransfer);
        const gb::ReadOp read = job_is_gba(m_type) ? gb::p_gba_cpu_read : gb::p_gb_cpu_read;
        if (!read || read(0, header.data(), uint32_t(header.size())) != header.size())
            return nullptr;
        m_header = std::move(header);
    }
    return m_header.data();
}

bool FamicomThread::multicart_dump() {
    // Only MBC1's script reads a multicart's banks apart.
    if (m_rom_size != gb::kMulticartSize ||
        QFileInfo(m_script).fileName() != QLatin1String(gb::kMbc1Script))
        return false;
    const uint8_t* header = cartridge_header();
    if (!header) return false;
    switch (gb::mbc1_multicart(header)) {
        case gb::Multicart::Yes:
            emit log(tr("MBC1 multicart: its four games are read in the order of its wiring."));
            return true;
        case gb::Multicart::Unsure:
            emit log(
                tr("The cartridge shows one sign of an MBC1 multicart but not the other; "
                   "it is read as a plain MBC1."));
            return false;
        case gb::Multicart::No:
            break;
    }
    return false;
}

void FamicomThread::set_clock_from(const ClockState& clock) {
    std::copy(std::begin(clock.regs), std::end(clock.regs), m_clock_regs);
    const int64_t elapsed = QDateTime::currentSecsSinceEpoch() - clock.time;
    advance_clock(m_clock, m_clock_regs, elapsed);
    m_clock_set = true;
    emit log(tr("The save carries the cartridge's clock: it is set %1.")
                 .arg(clock_halted(m_clock, m_clock_regs)
                          ? tr("as saved (halted)")
                          : tr("%1 seconds on from the save, to %2")
                                .arg(elapsed)
                                .arg(clock_text(m_clock, m_clock_regs))));
}

BackupOrigin FamicomThread::backup_origin() {
    BackupOrigin origin;
    const uint8_t* header = cartridge_header();
    const bool gba = job_is_gba(m_type);
    if (!header) return origin;
    origin.code = gb::cartridge_code(gba, header);
    origin.title = gb::header_title(gba, header);
    origin.headerSum = header[gba ? gb::kGbaComplementOffset : gb::kGbHeaderSumOffset];
    return origin;
}

bool FamicomThread::check_save_over() {
    const bool blankFile = save_blank(m_buffer, m_buffer_size, m_save_mask);
    if (!m_backup && !blankFile) return true;
    platform::TransferBuffer current;
    emit log(tr("Reading the cartridge's save before writing..."));
    // The backup may be the only copy of the save: it is read twice and healed.
    const bool read = read_healed(current);
    m_total = 0;
    if (blankFile && (!read || !save_blank(current.data(), m_buffer_size, m_save_mask))) {
        const QString question =
            tr("%1 is blank, and the cartridge holds a save (or it could not be read): writing "
               "the file would erase the saved game.")
                .arg(m_file);
        if (!m_confirm_blank || !m_confirm_blank(question))
            return refuse_file(question + ' ' + tr("Nothing was written."));
        emit log(tr("The blank file is written over the cartridge's save, as asked."));
    }
    return !m_backup || back_up_save(read ? &current : nullptr);
}

bool FamicomThread::back_up_save(const platform::TransferBuffer* current) {
    if (!current)
        return fail(tr("The cartridge's save could not be backed up (%1); nothing was written.")
                        .arg(tr("the save could not be read")));
    QByteArray image(reinterpret_cast<const char*>(current->data()), int(m_buffer_size));
    image += clock_trailer(m_clock, m_clock_regs, QDateTime::currentSecsSinceEpoch());
    const QString folder = m_backup_folder.isEmpty() ? default_backup_folder() : m_backup_folder;
    const KeptBackup kept = keep_backup(folder, backup_origin(), image, int(m_buffer_size));
    if (!kept.ok)
        return fail(tr("The cartridge's save could not be backed up (%1); nothing was written.")
                        .arg(kept.why));
    m_backup_path = kept.record.path;
    m_backup_new = !kept.reused;
    if (kept.reused)
        emit log(tr("The cartridge's save is the same as its newest backup, %1: it is not "
                    "stored twice.")
                     .arg(m_backup_path));
    else
        emit log(tr("Backed up the cartridge's save to %1").arg(m_backup_path));
    if (!kept.why.isEmpty())
        emit log(tr("The backup history could not be written: %1").arg(kept.why));
    return true;
}

bool FamicomThread::read_back(platform::TransferBuffer& into) {
    const size_t size = m_buffer_size;
    // A heal's reads skip the decided chunks: only the ones read are looked at.
    if (!into.reserve(size)) return fail(tr("Not enough memory for %1 bytes.").arg(size));
    const uint32_t type = m_type;
    uint8_t* const buffer = m_buffer;
    m_type = job_type_row(type).readBack;
    m_buffer = into.data();
    m_total = 0;
    m_inner_read = true;
    const bool read = script_dump_execute(this) && m_total == int32_t(size);
    m_inner_read = false;
    m_type = type;
    m_buffer = buffer;
    return read;
}

bool FamicomThread::settle_dump(platform::TransferBuffer& first, bool verify,
                                file::OutputFile& output) {
    const bool gba = job_is_gba(m_type);
    const QString sizeNote = size_note(m_buffer_size, m_header_rom_size, m_rom_size_probed);
    const auto judge = [&] {
        m_report = judge_dump(gba, m_buffer, m_buffer_size, m_hashes, m_known_dumps,
                              {sizeNote, m_unstable_bytes});
    };
    if (verify) {
        emit log(tr("Start verify data..."));
        if (read_again(first, &output) == Reads::Failed) return false;
        emit log(tr("Verify data finish."));
        phase::mark("verification");
    }
    judge();
    phase::mark("verdict");
    // A dump of another size than the cartridge's is explained by that alone.
    if (!verdict_contradicts(m_report.verdict) || !sizeNote.isEmpty()) return true;
    // A bad verdict: one more read tells a flaky read from what the cartridge holds.
    emit log(
        tr("The dump does not look good; the cartridge is read once more to tell a flaky "
           "read from what it holds."));
    const Reads again = read_again(first, &output);
    if (again == Reads::Failed) return false;
    if (again == Reads::Healed) judge();
    if (!verdict_contradicts(m_report.verdict)) return true;
    const std::vector<StuckLine> stuck = stuck_lines(m_buffer, m_buffer_size, gba);
    if (!stuck.empty()) return fail(stuck_line_text(stuck));
    // Only reads that never differed say what the cartridge holds.
    if (m_unstable)
        m_report.lines << warning_markup(
            tr("The cartridge read differently from read to read, so this dump cannot be "
               "trusted. Clean the cartridge's contacts and dump it again."));
    else
        m_report.lines << same_twice_lines(gba, m_buffer, m_buffer_size, m_known_dumps);
    return true;
}

FamicomThread::Reads FamicomThread::read_again(platform::TransferBuffer& first,
                                               file::OutputFile* output) {
    platform::TransferBuffer second;
    if (!read_back(second)) {
        fail(tr("Verify data error: the cartridge could not be read a second time."));
        return Reads::Failed;
    }
    const std::vector<size_t> chunks = differing_chunks(first.data(), second.data(), first.size());
    if (chunks.empty()) return Reads::Same;
    return heal(first, second, chunks, output);
}

bool FamicomThread::read_healed(platform::TransferBuffer& into) {
    return read_back(into) && read_again(into, nullptr) != Reads::Failed;
}

bool FamicomThread::verify_save(platform::TransferBuffer& save) {
    emit log(tr("Start verify data..."));
    if (read_again(save, nullptr) == Reads::Failed) return false;
    if (m_unstable_bytes) emit log(warning_markup(healed_warning(m_unstable_bytes)));
    emit log(tr("Verify data finish."));
    return true;
}

FamicomThread::Reads FamicomThread::heal(platform::TransferBuffer& first,
                                         platform::TransferBuffer& second,
                                         const std::vector<size_t>& chunks,
                                         file::OutputFile* output) {
    const size_t size = first.size();
    m_unstable = true;
    emit log(tr("The two reads differ in %1 of the %2 chunks of 4 KiB; those are read again, up "
                "to %3 times, until each byte that read differently has a value that leads "
                "every other by %4 reads.")
                 .arg(chunks.size())
                 .arg((size + kHealChunk - 1) / kHealChunk)
                 .arg(m_retries)
                 .arg(kHealMargin));
    MajorityRead majority(size, job_is_gba(m_type), chunks);
    if (!job_is_gba(m_type)) suspect_aliases(majority, first, second, chunks);
    majority.add(first.data());
    majority.add(second.data());
    if (!vote(majority, second)) return Reads::Failed;
    for (const QString& line : heal_lines(majority)) emit log(line);
    if (!majority.open().empty()) {
        const std::vector<size_t> undecided = majority.undecided();
        QString why = tr("Verify data error: %1 bytes read differently and no value leads by "
                         "%2 reads after %3 more reads (%4): clean the cartridge's contacts.")
                          .arg(undecided.size())
                          .arg(kHealMargin)
                          .arg(m_retries)
                          .arg(address_list(undecided));
        if (m_keep_best && output) why += ' ' + keep_best_guess(majority, first, *output);
        fail(why);
        return Reads::Failed;
    }
    majority.settle(first.data());
    if (output && !write_chunks(majority, first, *output)) {
        output_failed(*output);
        return Reads::Failed;
    }
    const size_t unstable = majority.unstable().size();
    m_unstable_bytes += unstable;
    if (output) m_hashes = gb::digest_of(first.data(), size);
    emit log(tr("Healed: %1 bytes read differently, each decided by a lead of at least %2 reads "
                "(%3 more bytes read).")
                 .arg(unstable)
                 .arg(kHealMargin)
                 .arg(m_heal_bytes));
    return Reads::Healed;
}

void FamicomThread::suspect_aliases(MajorityRead& majority, const platform::TransferBuffer& first,
                                    const platform::TransferBuffer& second,
                                    const std::vector<size_t>& chunks) {
    const std::vector<size_t> aliases =
        gb_bank_aliases(first.data(), second.data(), first.size(), chunks, m_type == kJobGbDump);
    if (!aliases.empty())
        emit log(tr("%1 more chunks hold the same bus addresses in other banks, where a worn "
                    "contact flickers as well: they are read again too.")
                     .arg(aliases.size()));
    majority.suspect(aliases);
}

bool FamicomThread::vote(MajorityRead& majority, platform::TransferBuffer& again) {
    std::vector<bool> wanted((again.size() + kHealChunk - 1) / kHealChunk);
    for (int n = 0; n < m_retries && !majority.open().empty(); ++n) {
        std::fill(wanted.begin(), wanted.end(), false);
        for (size_t chunk : majority.open()) wanted[chunk] = true;
        m_heal_bytes += majority.open().size() * kHealChunk;
        m_wanted = &wanted;
        const bool read = read_back(again);
        m_wanted = nullptr;
        if (!read) return fail(tr("Verify data error: the cartridge could not be read again."));
        majority.add(again.data());
    }
    return true;
}

bool FamicomThread::write_chunks(const MajorityRead& majority, const platform::TransferBuffer& dump,
                                 file::OutputFile& output) {
    for (size_t chunk : majority.chunks()) {
        const size_t at = chunk * kHealChunk, n = std::min(kHealChunk, dump.size() - at);
        if (!output.write_at(at, dump.data() + at, n)) return false;
    }
    return true;
}

QString FamicomThread::keep_best_guess(const MajorityRead& majority,
                                       platform::TransferBuffer& first, file::OutputFile& output) {
    majority.settle(first.data(), true);
    if (!write_chunks(majority, first, output))
        return tr("The best guess could not be written: %1").arg(output.errorString());
    const QString kept = file::marked_name(m_file, QStringLiteral(" (unstable)"));
    output.retarget(kept);
    if (output.commit() == file::OutputFile::Outcome::Failed)
        return tr("The best guess could not be written: %1").arg(output.errorString());
    return tr("The best guess, its undecided bytes taken by their leading value, is kept as %1; "
              "it is not a good dump.")
        .arg(output.keptAs().isEmpty() ? kept : output.keptAs());
}

bool FamicomThread::verify_written(platform::TransferBuffer& written) {
    emit log(tr("Start verify data..."));
    platform::TransferBuffer readBack;
    if (!read_back(readBack))
        return fail(tr("Verify data error: the data could not be read back."));
    const uint8_t* const begin = written.data();
    const uint8_t* const end = begin + written.size();
    // A save of half-bytes keeps only the low bits of what a file holds.
    const uint8_t mask = m_type == kJobGbSaveWrite ? m_save_mask : 0xFF;
    const auto diff = std::mismatch(begin, end, static_cast<const uint8_t*>(readBack.data()),
                                    [mask](uint8_t a, uint8_t b) { return ((a ^ b) & mask) == 0; });
    if (diff.first != end) {
        const auto at = diff.first - begin;
        return fail(tr("Verify data error at 0x%1: wrote 0x%2, read 0x%3.")
                        .arg(qulonglong(at), 0, 16)
                        .arg(*diff.first, 2, 16, QLatin1Char('0'))
                        .arg(*diff.second, 2, 16, QLatin1Char('0')));
    }
    emit log(tr("Verify data finish."));
    return true;
}
