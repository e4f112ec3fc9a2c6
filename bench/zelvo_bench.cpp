// Throughput of the hot paths: framing command blocks, enciphering flash
// chunks, and whole dumps through the virtual board's real mount.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include "device/bf.h"
#include "device/cmd.h"
#include "jobs/dat_store.h"
#include "jobs/dump_verdict.h"
#include "jobs/famicom_thread.h"
#include "jobs/local_database.h"
#include "jobs/majority_read.h"
#include "romgen.h"
#include "support/mounted_board.h"

namespace {

void FrameBlock(benchmark::State& state) {
    std::vector<uint8_t> block(512, 0x33);
    for (auto _ : state) {
        cmd::frame(block.data());
        benchmark::DoNotOptimize(block.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 512);
}
BENCHMARK(FrameBlock);

void EncipherChunkHeads(benchmark::State& state) {
    const uint8_t key[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    bf::init(key);
    uint8_t head[8] = {};
    for (auto _ : state) {
        bf::crypt_data(head, 8);
        benchmark::DoNotOptimize(head);
    }
}
BENCHMARK(EncipherChunkHeads);

// The verdict's share of a 32 MiB dump: CRC32, SHA-1 and the database lookup.
void Verdict32MiB(benchmark::State& state) {
    const std::vector<uint8_t> image = romgen::gba_image(0x2000000, "ZQZQ");
    for (auto _ : state) {
        const DumpReport report =
            judge_dump(true, image.data(), image.size(), gb::digest_of(image.data(), image.size()));
        benchmark::DoNotOptimize(report.verdict);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.size()));
}
BENCHMARK(Verdict32MiB)->Unit(benchmark::kMillisecond);

// The vote alone, for a dump whose every 4 KiB chunk read differently
// (a board that fails everywhere): three reads of 16 MiB, one byte apart.
void MajorityVote16MiB(benchmark::State& state) {
    constexpr size_t kSize = 16 << 20;
    std::vector<uint8_t> reads[3];
    for (int r = 0; r < 3; ++r) {
        reads[r] = romgen::pattern(kSize, 5);
        for (size_t at = 0; at < kSize; at += kHealChunk) reads[r][at] ^= uint8_t(r == 1);
    }
    std::vector<size_t> chunks(kSize / kHealChunk);
    for (size_t i = 0; i < chunks.size(); ++i) chunks[i] = i;
    for (auto _ : state) {
        MajorityRead vote(kSize, true, chunks);
        for (const auto& r : reads) vote.add(r.data());
        benchmark::DoNotOptimize(vote.open().size());
    }
}
BENCHMARK(MajorityVote16MiB)->Unit(benchmark::kMillisecond)->Iterations(3);

// Qt's SQL drivers are plugins, which load only under an application object.
void need_application() {
    static int argc = 1;
    static char name[] = "zelvo_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// A DAT of the given releases, each with its own CRC32, written to path.
void write_dat(const QString& path, const QString& name, int releases) {
    QFile dat(path);
    dat.open(QIODevice::WriteOnly);
    dat.write(QStringLiteral("<?xml version=\"1.0\"?>\n<datafile><header><name>%1</name>"
                             "<version>1</version></header>\n")
                  .arg(name)
                  .toUtf8());
    for (int n = 0; n < releases; ++n)
        dat.write(QStringLiteral("<game name=\"Game %1 (Europe)\"><rom name=\"g\" size=\"%2\" "
                                 "crc=\"%3\" sha1=\"%4\" serial=\"AGB-%5-EUR\"/></game>\n")
                      .arg(n)
                      .arg(0x400000)
                      .arg(uint32_t(n * 2654435761u), 8, 16, QLatin1Char('0'))
                      .arg(QString(40, QLatin1Char('a')))
                      .arg(n % 10000, 4, 10, QLatin1Char('0'))
                      .toUtf8());
    dat.write("</datafile>\n");
}

// Reading and importing a DAT of 100,000 releases into a new database.
void DatImport100k(benchmark::State& state) {
    need_application();
    testing_support::TempDir dir;
    const QString dat = QString::fromStdString(dir.file("big.dat"));
    write_dat(dat, QStringLiteral("Big"), 100000);
    int n = 0;
    for (auto _ : state) {
        const DatFileImport done =
            import_dat_file(dat, QString::fromStdString(dir.file(std::to_string(++n) + ".db")));
        if (!done.ok) state.SkipWithError(done.line.toStdString().c_str());
    }
}
BENCHMARK(DatImport100k)->Unit(benchmark::kMillisecond)->Iterations(3);

// What ten imported DATs of 10,000 releases add to a verdict: the lookups by
// digest and by game code.
void DatLookupsTenDats(benchmark::State& state) {
    need_application();
    testing_support::TempDir dir;
    const testing_support::ScopedEnv data("XDG_DATA_HOME", dir.file("data"));
    const QString dat = QString::fromStdString(dir.file("d.dat"));
    for (int d = 0; d < 10; ++d) {
        write_dat(dat, QStringLiteral("DAT %1").arg(d), 10000);
        import_dat_file(dat, database_path(default_data_folder()));
    }
    gb::DumpDigest digest;
    digest.size = 0x400000;
    digest.crc32 = 1234;
    digest.sha1 = QByteArray(40, 'b');
    for (auto _ : state) {
        benchmark::DoNotOptimize(find_in_dats(digest));
        benchmark::DoNotOptimize(dats_of_code(QStringLiteral("0042")).size());
    }
}
BENCHMARK(DatLookupsTenDats)->Unit(benchmark::kMillisecond);

// A whole job through the mount: bytes per second as a user sees them.
// With verify the cartridge is read twice; extra_bytes counts what healing
// read beyond the two reads.
void Dump(benchmark::State& state, std::vector<std::string> board, uint32_t type,
          const char* script, uint32_t size, bool verify = false) {
    std::string why;
    if (!testing_support::fuse_usable(&why)) return state.SkipWithError(why.c_str());
    testing_support::MountedBoard mounted(std::move(board));
    testing_support::TempDir out;
    uint64_t extra = 0;
    for (auto _ : state) {
        FamicomThread job;
        job.m_type = type;
        job.m_script = QString(SOURCE_DIR "/mapper/") + script;
        job.m_file = QString::fromStdString(out.file("out.bin"));
        job.m_rom_size = size;
        job.m_verify = verify;
        if (!job.execute()) return state.SkipWithError("the dump failed");
        extra += job.m_heal_bytes;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
    state.counters["extra_bytes"] = double(extra) / double(state.iterations());
}

testing_support::TempDir g_images;

std::string image(const std::vector<uint8_t>& data, const char* name) {
    testing_support::write_file(g_images.file(name), data);
    return g_images.file(name);
}

void GbDump4MiB(benchmark::State& state) {
    Dump(state, {"--gb", image(romgen::gb_image(0x1B, 7, 0), "mbc5.gb")}, kJobGbDump, "gb_mbc5.nut",
         0x400000);
}
BENCHMARK(GbDump4MiB)->Unit(benchmark::kMillisecond)->Iterations(3);

void GbaDump16MiB(benchmark::State& state) {
    Dump(state, {"--gba", image(romgen::gba_image(0x1000000, "ZTST"), "rom.gba")}, kJobGbaDump,
         "gba.nut", 0x1000000);
}
BENCHMARK(GbaDump16MiB)->Unit(benchmark::kMillisecond)->Iterations(3);

// Read twice, the reads agreeing: two reads and one comparison, nothing more.
void GbaDump16MiBVerified(benchmark::State& state) {
    Dump(state, {"--gba", image(romgen::gba_image(0x1000000, "ZTST"), "rom.gba")}, kJobGbaDump,
         "gba.nut", 0x1000000, true);
}
BENCHMARK(GbaDump16MiBVerified)->Unit(benchmark::kMillisecond)->Iterations(3);

// Read twice with a bit that flickers at one read in three: the differing
// chunk is read again until it has a majority (extra_bytes).
void GbaDump16MiBHealed(benchmark::State& state) {
    Dump(state,
         {"--gba", image(romgen::gba_image(0x1000000, "ZTST"), "rom.gba"), "--flicker",
          "0x123457:3:1/3", "--flaw-seed", "2"},
         kJobGbaDump, "gba.nut", 0x1000000, true);
}
BENCHMARK(GbaDump16MiBHealed)->Unit(benchmark::kMillisecond)->Iterations(3);

// A 1 MiB MBC5 cartridge with two bytes whose D3 flickers at one read in
// three: the differing chunks and their other banks are read again until each
// byte leads by the margin (extra_bytes).
void GbDump1MiBTwoFlickers(benchmark::State& state) {
    Dump(state,
         {"--gb", image(romgen::gb_image(0x1B, 5, 0), "flicker.gb"), "--flicker", "0x4123:3:1/3",
          "--flicker", "0x5000:3:1/3", "--flaw-seed", "3"},
         kJobGbDump, "gb_mbc5.nut", 0x100000, true);
}
BENCHMARK(GbDump1MiBTwoFlickers)->Unit(benchmark::kMillisecond)->Iterations(3);

// The dump the verdict's share is measured against (see Verdict32MiB).
void GbaDump32MiB(benchmark::State& state) {
    Dump(state, {"--gba", image(romgen::gba_image(0x2000000, "ZQZQ"), "rom32.gba")}, kJobGbaDump,
         "gba.nut", 0x2000000);
}
BENCHMARK(GbaDump32MiB)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
