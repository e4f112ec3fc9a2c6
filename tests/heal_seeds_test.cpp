// Healing judged over many seeds of a worn cartridge. Every failed run names
// an unstable address; a run that read differently anywhere ends as a plain
// success only when its bytes are right, else with the healed warning or a
// failure. Two reads alike at a flickering byte show nothing to heal: those
// runs are counted apart.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "romgen.h"
#include "support/mounted_board.h"

using namespace testing_support;
using Bytes = std::vector<uint8_t>;

namespace {

struct Tally {
    int right = 0, failed = 0, kept = 0;
    int unseen = 0;  // exit 0 with wrong bytes, every read alike at every byte
    int warned = 0;  // exit 0 with wrong bytes, under the healed warning
};

// Seeds run in blocks, each a case of its own, so that they spread over the
// cores. A sanitized build runs the first block only: more seeds run the same
// code, and their tally is the plain build's to show.
constexpr int kSeedsPerBlock = 10;
#ifdef ZELVO_SANITIZED
constexpr int kSeedBlocks = 1;
#else
constexpr int kSeedBlocks = 4;
#endif

// Dumps with --verify --keep-best once per seed of the block from the board with flickers.
Tally dump_seeds(const Bytes& rom, const char* system, const QStringList& options,
                 const std::vector<std::string>& flickers, const QStringList& addresses,
                 int block) {
    TempDir dir;
    write_file(dir.file("rom"), rom);
    Tally tally;
    for (int seed = block * kSeedsPerBlock + 1; seed <= (block + 1) * kSeedsPerBlock; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::vector<std::string> args = {system, dir.file("rom"), "--flaw-seed",
                                         std::to_string(seed)};
        for (const std::string& f : flickers) args.insert(args.end(), {"--flicker", f});
        MountedBoard board(args);
        if (!board.mounted()) ADD_FAILURE() << "vboard did not mount";
        if (!board.mounted()) return tally;
        const QString out = QString::fromStdString(dir.file("dump" + std::to_string(seed)));
        QProcess cli;
        cli.start(CLI_PATH,
                  QStringList{"dump-rom", out + ".bin", "--verify", "--keep-best"} + options);
        EXPECT_TRUE(cli.waitForFinished(300000));
        const QString said = cli.readAllStandardOutput() + cli.readAllStandardError();
        if (cli.exitCode() == 0) {
            if (read_file(out.toStdString() + ".bin") == rom) {
                ++tally.right;
            } else if (said.contains("Unstable addresses")) {
                ++tally.warned;
                EXPECT_TRUE(said.contains("no known dump confirms it"))
                    << "a plain success with wrong bytes\n"
                    << said.toStdString();
            } else {
                ++tally.unseen;
            }
            continue;
        }
        ++tally.failed;
        if (std::getenv("HEAL_SEEDS_VERBOSE")) std::printf("%s\n", qPrintable(said));
        tally.kept += QFile::exists(out + " (unstable).bin");
        EXPECT_FALSE(QFile::exists(out + ".bin")) << said.toStdString();
        bool named = false;
        for (const QString& a : addresses) named = named || said.contains(a);
        named = named || said.contains("Unstable addresses: 0x");
        EXPECT_TRUE(named) << "a failed run names no unstable address\n" << said.toStdString();
    }
    return tally;
}

void report(const char* what, const Tally& t) {
    std::printf(
        "%s: %d right, %d failed (%d kept the best guess), wrong with exit 0: %d under the "
        "healed warning, %d with every read alike\n",
        what, t.right, t.failed, t.kept, t.warned, t.unseen);
}

class HealSeeds : public ::testing::TestWithParam<int> {};

TEST_P(HealSeeds, AnMbc5DumpWithTwoFlickeringBitsIsNeverWrongWithSuccess) {
    REQUIRE_FUSE();
    const Bytes rom = romgen::gb_image(0x1B, 5, 0);
    report("MBC5 1 MiB, D3 at 0x4123 and 0x5000 one read in three",
           dump_seeds(rom, "--gb", {}, {"0x4123:3:1/3", "0x5000:3:1/3"}, {"0x4123", "0x5000"},
                      GetParam()));
}

TEST_P(HealSeeds, AGbaDumpWithAFlickeringBitIsNeverWrongWithSuccess) {
    REQUIRE_FUSE();
    const Bytes rom = romgen::gba_image(4 << 20, "ZTST");
    report("GBA 4 MiB unknown to the database, D11 at 0x123457 one read in three",
           dump_seeds(rom, "--gba", {"--system", "gba", "--rom-size", "4M"}, {"0x123457:3:1/3"},
                      {"0x123457"}, GetParam()));
}

INSTANTIATE_TEST_SUITE_P(SeedBlock, HealSeeds, ::testing::Range(0, kSeedBlocks));

}  // namespace
