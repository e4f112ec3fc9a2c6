#include "jobs/famicom_thread.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <optional>

#include "cart/bus.h"
#include "cart/header.h"
#include "cart/known_dumps.h"
#include "device/bf.h"
#include "device/cmd.h"
#include "device/file.h"
#include "device/platform.h"
#include "device/protocol.h"
#include "device/usb.h"
#include "jobs/job_launch.h"
#include "jobs/save_backup.h"
#include "script/script.h"

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

bool FamicomThread::execute() {
    m_cancel.store(0, std::memory_order_relaxed);
    m_failure.clear();
    m_verdict = DumpVerdict::None;
    m_total = 0;
    m_buffer = nullptr;
    m_buffer_size = 0;
    platform::TransferBuffer buffer;
    const bool ok = run_job(buffer);
    m_buffer = nullptr;
    m_buffer_size = 0;
    return ok;
}

bool FamicomThread::run_job(platform::TransferBuffer& buffer) {
    if (!usb::open()) {
        return fail(tr("Can not found device."));
    }
    platform::VolumeLock lock;
    if (!lock.acquire(usb::volume_path())) {
        return fail(tr("The dump device is in use by another program."));
    }
    const usb::HeldFiles held;

    if (job_is_gba(m_type)) {
        if (!gb::f_gba_init()) {
            return fail(tr("Initialize device error."));
        }
        const int pair = gb::save_pair_for(m_ram_type, m_ram_size);
        if (pair >= 0) gb::f_gba_save_cfg(uint32_t(pair));
    } else if (!gb::f_gb_init()) {
        return fail(tr("Initialize device error."));
    }

    uint32_t size = job_sized_by_ram(m_type) ? m_ram_size : m_rom_size;
    bool verify = m_verify;
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
            verify = true;
        }
        bf::init(serial);
    }
    if (size == 0) {
        return fail(tr("Nothing to transfer: the size is 0."));
    }
    // Bytes that no transfer writes read as erased memory.
    if (!buffer.assign(size, 0xFF)) return fail(tr("Not enough memory for %1 bytes.").arg(size));
    m_buffer = buffer.data();
    m_buffer_size = size;

    const bool saveJob = job_sized_by_ram(m_type);
    m_clock = saveJob && !job_is_gba(m_type) && cartridge_has_clock();
    m_clock_set = false;
    if (saveJob && job_reads_input(m_type) && m_backup && !back_up_save()) return false;

    if (job_reads_input(m_type)) {
        QFile* input = file::open_read(m_file.toLocal8Bit().constData());
        emit log(tr("Read file :") + m_file);
        if (!input) {
            return fail(tr("Open File error."));
        }
        const int64_t got = file::Read(input, m_buffer, size);
        // What follows the save may be its clock.
        uint8_t trailer[kClockTrailerSize + 1];
        const int64_t more = m_clock ? file::Read(input, trailer, sizeof trailer) : 0;
        file::Close(input);
        if (got != int64_t(size)) {
            return fail(tr("Read File error."));
        }
        emit log(tr("Read ") + QString::number(size, 10) + tr(" Bytes"));
        ClockState clock;
        if (more > 0 && parse_clock_trailer(trailer, size_t(more), &clock)) set_clock_from(clock);
    }

    const bool romDump = m_type == kJobGbDump || m_type == kJobGbaDump;
    // A dump goes into a temporary file beside the output as it arrives; only
    // a whole, verified dump replaces the output name.
    std::optional<QSaveFile> output;
    if (romDump) {
        output.emplace(m_file);
        if (!output->open(QIODevice::WriteOnly))
            return fail(tr("Save file error.") + ' ' + output->errorString());
    }
    std::optional<FollowingDigest> digest;
    if (romDump)
        digest.emplace(m_buffer, size, [&output](const uint8_t* part, size_t n) {
            return output->write(reinterpret_cast<const char*>(part), qint64(n)) == qint64(n);
        });
    m_digest = digest ? &*digest : nullptr;
    const bool transferred = script_dump_execute(this);
    m_digest = nullptr;
    if (!transferred) return false;
    if (m_total != int32_t(size))
        return fail(tr("Transferred %1 of %2 bytes.").arg(m_total).arg(size));
    if (verify && job_reads_input(m_type) && !verify_written(buffer)) return false;
    // A dump is read twice when verify is ticked: only two equal reads reach the file.
    if (verify && romDump && !read_twice(buffer)) return false;

    if (romDump) {
        const gb::DumpDigest hashes = digest->finish();
        if (!digest->sinkTookAll() || !output->commit())
            return fail(tr("Save file error.") + ' ' + output->errorString());
        const DumpReport report =
            judge_dump(job_is_gba(m_type), m_buffer, size, hashes, m_known_dumps);
        for (const QString& line : report.lines) emit log(line);
        m_verdict = report.verdict;
    } else if (job_saves_output(m_type)) {
        QByteArray clock;
        if (m_clock) clock = clock_trailer(m_clock_regs, QDateTime::currentSecsSinceEpoch());
        const QByteArray image =
            QByteArray(reinterpret_cast<const char*>(m_buffer), int(size)) + clock;
        const QString reason = file::SaveAtomic(
            m_file, reinterpret_cast<const uint8_t*>(image.constData()), uint32_t(image.size()));
        if (!reason.isEmpty()) return fail(tr("Save file error.") + ' ' + reason);
    }
    return true;
}

bool FamicomThread::cartridge_has_clock() {
    uint8_t type = 0;
    return gb::p_gb_cpu_read(gb::kGbTypeOffset, &type, 1) == 1 &&
           std::find(std::begin(gb::kGbClockTypes), std::end(gb::kGbClockTypes), type) !=
               std::end(gb::kGbClockTypes);
}

void FamicomThread::set_clock_from(const ClockState& clock) {
    std::copy(std::begin(clock.regs), std::end(clock.regs), m_clock_regs);
    const int64_t elapsed = QDateTime::currentSecsSinceEpoch() - clock.time;
    advance_clock(m_clock_regs, elapsed);
    m_clock_set = true;
    emit log(tr("The save carries the cartridge's clock: it is set %1.")
                 .arg(m_clock_regs[4] & 0x40 ? tr("as saved (halted)")
                                             : tr("%1 seconds on from the save").arg(elapsed)));
}

QString FamicomThread::cartridge_title() {
    uint8_t header[proto::kMinTransfer] = {};
    const bool gba = job_is_gba(m_type);
    gb::ReadOp read = gba ? gb::p_gba_cpu_read : gb::p_gb_cpu_read;
    if (!read || read(0, header, sizeof header) != sizeof header) return QString();
    const uint32_t at = gba ? gb::kGbaTitleOffset : gb::kGbTitleOffset;
    const uint32_t n = gba ? gb::kGbaTitleSize : gb::kGbTitleSize;
    const char* title = reinterpret_cast<const char*>(header + at);
    return QString::fromLatin1(title, int(strnlen(title, n)));
}

bool FamicomThread::back_up_save() {
    const QString title = cartridge_title();
    platform::TransferBuffer current;
    const bool read = read_back(current);
    m_total = 0;
    QString why = tr("the save could not be read");
    QString path;
    if (read) {
        QByteArray image(reinterpret_cast<const char*>(current.data()), int(m_buffer_size));
        if (m_clock) image += clock_trailer(m_clock_regs, QDateTime::currentSecsSinceEpoch());
        const QString folder =
            m_backup_folder.isEmpty() ? default_backup_folder() : m_backup_folder;
        path = write_backup(folder, title, image, &why);
    }
    if (path.isEmpty())
        return fail(
            tr("The cartridge's save could not be backed up (%1); nothing was written.").arg(why));
    emit log(tr("Backed up the cartridge's save to %1").arg(path));
    return true;
}

bool FamicomThread::read_back(platform::TransferBuffer& into) {
    const size_t size = m_buffer_size;
    if (!into.assign(size, 0xFF)) return fail(tr("Not enough memory for %1 bytes.").arg(size));
    const uint32_t type = m_type;
    uint8_t* const buffer = m_buffer;
    m_type = job_type_row(type).readBack;
    m_buffer = into.data();
    m_total = 0;
    const bool read = script_dump_execute(this) && m_total == int32_t(size);
    m_type = type;
    m_buffer = buffer;
    return read;
}

bool FamicomThread::read_twice(platform::TransferBuffer& first) {
    emit log(tr("Start verify data..."));
    platform::TransferBuffer second;
    if (!read_back(second))
        return fail(tr("Verify data error: the cartridge could not be read a second time."));
    const uint8_t* a = first.data();
    const uint8_t* b = second.data();
    const size_t size = first.size();
    const size_t at = size_t(std::mismatch(a, a + size, b).first - a);
    if (at != size) {
        size_t differing = 0;
        for (size_t i = at; i < size; ++i) differing += a[i] != b[i];
        return fail(tr("Verify data error: the second read differs from the first at 0x%1; %2 "
                       "bytes differ.")
                        .arg(qulonglong(at), 0, 16)
                        .arg(differing));
    }
    emit log(tr("Verify data finish."));
    return true;
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
