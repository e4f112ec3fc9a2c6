// What a dump is worth: header checks, the database of known dumps and the
// verdict that weighs them; and reading a dump twice.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>
#include <cstdlib>

#include "cart/checksums.h"
#include "jobs/dump_verdict.h"
#include "jobs/famicom_thread.h"
#include "jobs/majority_read.h"
#include "romgen.h"
#include "support/mounted_board.h"

namespace {

using Bytes = std::vector<uint8_t>;
using testing_support::TempDir;

DumpReport judge(bool gba, const Bytes& image, const gb::DumpTable& table) {
    return judge_dump(gba, image.data(), image.size(), gb::digest_of(image.data(), image.size()),
                      table);
}

bool has(const QStringList& lines, const QString& part) {
    return !lines.filter(part).isEmpty();
}

const gb::DumpTable kEmpty{nullptr, 0};

TEST(DumpVerdict, ChecksumsDecideWhenTheDatabaseKnowsNothing) {
    const Bytes gbGood = romgen::gb_image(0x1B, 2, 0), gbaGood = romgen::gba_image(0x40000, "ZQZQ");
    Bytes headerBroken = gbGood, globalBroken = gbGood, complementBroken = gbaGood,
          fixedBroken = gbaGood;
    headerBroken[gb::kGbHeaderSumOffset] ^= 0x01;
    globalBroken[0x5000] ^= 0x01;  // a flipped bit anywhere in the image
    complementBroken[gb::kGbaComplementOffset] ^= 0x01;
    fixedBroken[gb::kGbaFixedOffset] = 0x00;
    const struct {
        const char* name;
        bool gba;
        const Bytes& image;
        DumpVerdict verdict;
        const char* line;
    } cases[] = {
        {"GB good", false, gbGood, DumpVerdict::ChecksumsHold, "Global checksum 0x"},
        {"GB header", false, headerBroken, DumpVerdict::ChecksumsFail,
         "Header checksum: does not hold (the header says 0x"},
        {"GB global", false, globalBroken, DumpVerdict::ChecksumsFail,
         "Global checksum: does not hold (the header says 0x"},
        {"GBA good", true, gbaGood, DumpVerdict::ChecksumsHold, "Header complement check 0x"},
        {"GBA complement", true, complementBroken, DumpVerdict::ChecksumsFail,
         "Header complement check: does not hold"},
        {"GBA fixed byte", true, fixedBroken, DumpVerdict::ChecksumsFail,
         "Fixed byte at 0xB2: does not hold (0x96 expected, 0x00 found)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DumpReport r = judge(c.gba, c.image, kEmpty);
        EXPECT_EQ(r.verdict, c.verdict);
        EXPECT_TRUE(has(r.lines, c.line)) << r.lines.join("\n").toStdString();
        EXPECT_TRUE(r.lines[0].startsWith(QString("Dump: %1 bytes, CRC32 ").arg(c.image.size())));
        EXPECT_EQ(has(r.lines, "probably a bad read"), verdict_contradicts(c.verdict));
    }
}

TEST(DumpVerdict, TheDatabaseOutranksTheChecksums) {
    Bytes wrongGlobal = romgen::gb_image(0x1B, 2, 0);
    wrongGlobal[gb::kGbGlobalSumOffset] ^= 0xFF;  // as some original cartridges carry it
    const Bytes gba = romgen::gba_image(0x40000, "ZQZQ");
    const gb::DumpDigest a = gb::digest_of(wrongGlobal.data(), wrongGlobal.size());
    const QByteArray sha1 = a.sha1;
    const gb::KnownDump rows[] = {
        {gb::kDumpGb, a.size, a.crc32, sha1.constData(), "Test Cart (World)", "1999", "Zelvo", ""},
        {gb::kDumpGba, 0x40000, 0x12345678, "0000000000000000000000000000000000000000",
         "Quiz Quest (Euro)", "2003", "Zelvo", "AGB-ZQZQ-EUR"},
    };
    const gb::DumpTable table{rows, std::size(rows)};

    const DumpReport verified = judge(false, wrongGlobal, table);
    EXPECT_EQ(verified.verdict, DumpVerdict::Verified);
    EXPECT_TRUE(has(verified.lines, "Global checksum: does not hold"));
    EXPECT_TRUE(
        has(verified.lines, "Verified: the known good dump of Test Cart (World) (1999, Zelvo)."));

    // The code is known, the image is not: a bad read, though its checksums hold.
    const DumpReport differs = judge(true, gba, table);
    EXPECT_EQ(differs.verdict, DumpVerdict::DiffersFromDatabase);
    EXPECT_TRUE(has(differs.lines, "differs from every known dump of the cartridge ZQZQ (1 in"));
    EXPECT_TRUE(has(differs.lines, "Clean the cartridge's contacts and dump it again."));

    // Size, CRC32 and SHA-1 must all match.
    gb::KnownDump sameCrc = rows[0];
    sameCrc.sha1 = "0000000000000000000000000000000000000000";
    EXPECT_EQ(judge(false, wrongGlobal, {&sameCrc, 1}).verdict, DumpVerdict::ChecksumsFail);
}

TEST(KnownDumps, TheBuiltInDatabase) {
    size_t counts[3] = {};
    for (size_t i = 0; i < gb::kKnownDumpCount; ++i) ++counts[gb::kKnownDumps[i].system];
    EXPECT_GT(counts[gb::kDumpGb], 1700u);
    EXPECT_GT(counts[gb::kDumpGbc], 1600u);
    EXPECT_GT(counts[gb::kDumpGba], 3000u);
    // A known code with an image of our own differs from every known dump of it.
    const DumpReport r = judge(true, romgen::gba_image(0x800000, "AWRP"), gb::builtin_dumps());
    EXPECT_EQ(r.verdict, DumpVerdict::DiffersFromDatabase);
    // SHA-1 as Qt computes it, CRC32 as zlib does: the check value of "123456789".
    const char* check = "123456789";
    const gb::DumpDigest d = gb::digest_of(reinterpret_cast<const uint8_t*>(check), 9);
    EXPECT_EQ(d.crc32, 0xCBF43926u);
    EXPECT_EQ(d.sha1, QCryptographicHash::hash(check, QCryptographicHash::Sha1).toHex());
}

TEST(KnownDumps, GeneratorReproducesTheCommittedTable) {
    const std::string lists = "/usr/share/games/mame/hash";
    if (access((lists + "/gba.xml").c_str(), R_OK) != 0) {
        if (std::getenv("CI")) FAIL() << "mame-data is not installed";
        GTEST_SKIP() << "mame-data is not installed";
    }
    TempDir dir;
    const std::string out = dir.file("table.cpp");
    const std::string command =
        "python3 " SOURCE_DIR "/tools/dump_db/generate_known_dumps.py " + lists + " " + out;
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(testing_support::read_file(out) ==
                testing_support::read_file(SOURCE_DIR "/src/cart/known_dumps_table.cpp"));
}

// A byte that read differently settles when one value leads every other by
// the margin; until then its chunk stays open, and a guess takes the leader.
TEST(ReadTwice, AnUnstableByteSettlesOnALeadOfTheMargin) {
    const std::string lead(kHealMargin, 'a'), shy(kHealMargin - 1, 'a');
    const struct {
        std::string reads;  // one letter per read of the chunk's byte 5
        char settled;       // its value once settled, or 0: the chunk stays open
        char guess;         // the leading value
    } cases[] = {{"aa", 'a', 'a'},         {"ab", 0, 'a'},         {"aba", 0, 'a'},
                 {"ab" + lead, 'a', 'a'},  {"ab" + shy, 0, 'a'},   {"bab" + lead + "a", 'a', 'a'},
                 {"abc" + lead, 'a', 'a'}, {"abcb" + lead, 0, 'a'}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reads);
        MajorityRead vote(2 * kHealChunk, false, {1});
        for (char r : c.reads) {
            Bytes read(2 * kHealChunk, 0x11);
            read[kHealChunk + 5] = uint8_t(r);
            vote.add(read.data());
        }
        EXPECT_EQ(vote.open().empty(), c.settled != 0);
        EXPECT_EQ(vote.undecided().size(), c.settled ? 0u : 1u);
        Bytes dump(2 * kHealChunk, 0);
        vote.settle(dump.data());
        EXPECT_EQ(dump[kHealChunk + 5], uint8_t(c.settled));
        vote.settle(dump.data(), true);
        EXPECT_EQ(dump[kHealChunk + 5], uint8_t(c.guess));
        EXPECT_EQ(dump[kHealChunk + 6], 0x11);
    }
}

// Reads that differ are healed by majority when more reads settle them, and
// the dump fails naming the address when they cannot.
TEST(ReadTwice, DifferingReadsAreHealedByMajorityOrFailTheDump) {
    TempDir dir;
    const Bytes rom = romgen::gb_image(0x1B, 2, 0);
    testing_support::write_file(dir.file("rom.gb"), rom);
    const struct {
        const char* name;
        const char* flaw;  // the board's option for the byte at 0x123
        int retries;
        bool ok;
    } cases[] = {{"steady", nullptr, kDefaultHealReads, true},
                 {"a flaky first read", "--first-read-flaw", kDefaultHealReads, true},
                 {"a flaky first read, no retry", "--first-read-flaw", 0, false},
                 {"every second read altered", "--flaky-gb", kDefaultHealReads, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"--gb", dir.file("rom.gb")};
        if (c.flaw) args.insert(args.end(), {c.flaw, "0x123"});
        MOUNT_BOARD(board, args);
        FamicomThread job;
        QStringList log;
        QObject::connect(&job, &FamicomThread::log, [&log](const QString& s) { log << s; });
        job.m_type = kJobGbDump;
        job.m_script = MAPPER_DIR "/gb_mbc5.nut";
        job.m_file = QString::fromStdString(dir.file(std::string(c.name) + ".gb"));
        job.m_rom_size = uint32_t(rom.size());
        job.m_verify = true;
        job.m_retries = c.retries;
        EXPECT_EQ(job.execute(), c.ok) << log.join("\n").toStdString();
        EXPECT_EQ(QFile::exists(job.m_file), c.ok) << "no file from reads without a majority";
        if (c.ok) {
            EXPECT_TRUE(testing_support::read_file(job.m_file.toStdString()) == rom);
            EXPECT_EQ(job.m_verdict, c.flaw ? DumpVerdict::Healed : DumpVerdict::ChecksumsHold);
        } else {
            EXPECT_TRUE(job.m_failure.contains("(0x123)")) << job.m_failure.toStdString();
        }
        EXPECT_EQ(log.contains("Unstable addresses: 0x123."), c.flaw != nullptr)
            << log.join("\n").toStdString();
        EXPECT_EQ(log.contains("data line D0 read differently at 1 addresses: clean the "
                               "cartridge's contacts"),
                  c.flaw != nullptr);
    }
}

// A cancel that comes before the job's sequence begins (a Ctrl-C between the
// launch and the start) is kept: the job stops at once and writes nothing.
TEST(ReadTwice, ACancelBeforeTheSequenceBeginsIsKept) {
    TempDir dir;
    const Bytes rom = romgen::gb_image(0x1B, 2, 0);
    testing_support::write_file(dir.file("rom.gb"), rom);
    MOUNT_BOARD(board, {"--gb", dir.file("rom.gb")});
    FamicomThread job;
    job.m_type = kJobGbDump;
    job.m_script = MAPPER_DIR "/gb_mbc5.nut";
    job.m_file = QString::fromStdString(dir.file("out.gb"));
    job.m_rom_size = uint32_t(rom.size());
    job.canceled();
    EXPECT_FALSE(job.execute());
    EXPECT_EQ(job.m_failure, "canceled");
    EXPECT_FALSE(QFile::exists(job.m_file));
}

// Another program that takes DUMP.ROM after the board was claimed (between
// the header read and the job) is named as the cause, not a board that
// stopped answering.
TEST(ReadTwice, AProgramTakingTheDataFileAfterTheClaimIsNamed) {
    TempDir dir;
    testing_support::write_file(dir.file("rom.gb"), romgen::gb_image(0x1B, 2, 0));
    MOUNT_BOARD(board, {"--gb", dir.file("rom.gb")});
    FamicomThread job;
    job.m_claim = std::make_unique<usb::BoardClaim>();
    ASSERT_TRUE(job.m_claim->held());
    const int data = open((board.mountpoint() + "/DUMP.ROM").c_str(), O_RDONLY);
    ASSERT_EQ(flock(data, LOCK_EX | LOCK_NB), 0);
    job.m_type = kJobGbDump;
    job.m_script = MAPPER_DIR "/gb_mbc5.nut";
    job.m_file = QString::fromStdString(dir.file("out.gb"));
    job.m_rom_size = 0x20000;
    EXPECT_FALSE(job.execute());
    EXPECT_TRUE(job.m_failure.contains("in use by another program: it holds DUMP.ROM"))
        << job.m_failure.toStdString();
    EXPECT_FALSE(QFile::exists(job.m_file));
    close(data);
}

}  // namespace
