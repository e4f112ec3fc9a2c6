// The local database: DAT files imported, refused and removed, the verdicts
// that name them, and the backup history with its migration.
#include "jobs/local_database.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "cart/known_dumps.h"
#include "jobs/backup_history.h"
#include "jobs/dat_store.h"
#include "jobs/dump_verdict.h"
#include "jobs/history_migration.h"
#include "romgen.h"
#include "support/mounted_board.h"

namespace {

using Bytes = std::vector<uint8_t>;
using testing_support::ScopedEnv;
using testing_support::TempDir;

struct Game {
    QString name;
    uint32_t size, crc;
    QString sha1, serial;
};

QByteArray dat_xml(const QString& name, const QString& version, const std::vector<Game>& games) {
    QString xml = QStringLiteral(
                      "<?xml version=\"1.0\"?>\n<datafile>\n<header><name>%1</name>"
                      "<version>%2</version><date>2026-12-01</date></header>\n")
                      .arg(name, version);
    for (const Game& g : games)
        xml += QStringLiteral(
                   "<game name=\"%1\"><rom name=\"x\" size=\"%2\" crc=\"%3\"%4%5/></game>\n")
                   .arg(g.name.toHtmlEscaped())
                   .arg(g.size)
                   .arg(g.crc, 8, 16, QLatin1Char('0'))
                   .arg(g.sha1.isEmpty() ? QString() : QStringLiteral(" sha1=\"%1\"").arg(g.sha1),
                        g.serial.isEmpty() ? QString()
                                           : QStringLiteral(" serial=\"%1\"").arg(g.serial));
    return (xml + QStringLiteral("</datafile>\n")).toUtf8();
}

void put_le(QByteArray& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b += char(v >> (8 * i));
}

// A zip of the given members, stored or deflated.
QByteArray zip_of(const std::vector<std::pair<QString, QByteArray>>& members, bool deflated,
                  uint32_t crcXor = 0) {
    QByteArray out, central;
    for (const auto& [name, data] : members) {
        QByteArray packed = data;
        if (deflated) {
            z_stream z{};
            deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
            packed.resize(int(deflateBound(&z, uLong(data.size()))));
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
            z.avail_in = uInt(data.size());
            z.next_out = reinterpret_cast<Bytef*>(packed.data());
            z.avail_out = uInt(packed.size());
            deflate(&z, Z_FINISH);
            packed.resize(int(z.total_out));
            deflateEnd(&z);
        }
        const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.constData()),
                                            uInt(data.size()))) ^
                             crcXor;
        const auto record = [&](QByteArray& b, bool local) {
            put_le(b, local ? 0x04034B50 : 0x02014B50, 4);
            if (!local) put_le(b, 20, 2);
            put_le(b, 20, 2);
            put_le(b, 0, 2);
            put_le(b, deflated ? 8 : 0, 2);
            put_le(b, 0, 4);
            put_le(b, crc, 4);
            put_le(b, uint32_t(packed.size()), 4);
            put_le(b, uint32_t(data.size()), 4);
            put_le(b, uint32_t(name.size()), 2);
            put_le(b, 0, 2);
            if (!local) {
                for (int i = 0; i < 4; ++i) put_le(b, 0, 2);
                put_le(b, 0, 2);
                put_le(b, uint32_t(out.size()), 4);
            }
        };
        record(central, false);
        central += name.toUtf8();
        record(out, true);
        out += name.toUtf8() + packed;
    }
    const uint32_t at = uint32_t(out.size());
    out += central;
    put_le(out, 0x06054B50, 4);
    put_le(out, 0, 4);
    put_le(out, uint32_t(members.size()), 2);
    put_le(out, uint32_t(members.size()), 2);
    put_le(out, uint32_t(central.size()), 4);
    put_le(out, at, 4);
    put_le(out, 0, 2);
    return out;
}

QString put(const TempDir& dir, const std::string& name, const QByteArray& bytes) {
    QFile f(QString::fromStdString(dir.file(name)));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
}

QByteArray file_bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class LocalDb : public testing::Test {
protected:
    TempDir dir;
    const ScopedEnv data{"XDG_DATA_HOME", dir.file("data")};
    const QString db = database_path(default_data_folder());
    const std::vector<Game> v1 = {{"One (Europe)", 32768, 0x0123ABCD, {}, {}},
                                  {"Two (USA)", 4 << 20, 0x89ABCDEF, {}, "AGB-AWRE-USA"}};

    QStringList listed() {
        QString why;
        QStringList out;
        for (const DatSummary& d : list_dats(db, &why))
            out << QStringLiteral("%1 %2 %3").arg(d.name, d.version).arg(d.games);
        EXPECT_TRUE(why.isEmpty()) << why.toStdString();
        return out;
    }
};

// Import, the same again, a newer version, an older one, removal; a .zip
// holding one DAT, stored or deflated.
TEST_F(LocalDb, DatsAreImportedReplacedAndRemoved) {
    const QString first = put(dir, "a.dat", dat_xml("GB", "20261201", v1));
    EXPECT_TRUE(import_dat_file(first, db).ok);
    EXPECT_EQ(listed(), QStringList{"GB 20261201 2"});
    const DatFileImport again = import_dat_file(first, db);
    EXPECT_TRUE(again.ok && again.line.contains("replaces version 20261201"))
        << again.line.toStdString();
    const QByteArray newer = dat_xml("GB", "20261215", {v1[0]});
    EXPECT_TRUE(import_dat_file(put(dir, "b.zip", zip_of({{"b.dat", newer}}, true)), db).ok);
    EXPECT_EQ(listed(), QStringList{"GB 20261215 1"});
    const DatFileImport older = import_dat_file(first, db);
    EXPECT_FALSE(older.ok);
    EXPECT_TRUE(older.line.contains("holds a newer version of GB (20261215"))
        << older.line.toStdString();
    EXPECT_TRUE(
        import_dat_file(put(dir, "c.zip", zip_of({{"c.dat", dat_xml("GBA", "1", v1)}}, false)), db)
            .ok);
    EXPECT_EQ(listed(), (QStringList{"GB 20261215 1", "GBA 1 2"}));
    QString why;
    EXPECT_TRUE(remove_dat(db, "GB", &why)) << why.toStdString();
    EXPECT_FALSE(remove_dat(db, "GB", &why));
    EXPECT_TRUE(why.contains("no DAT named \"GB\"")) << why.toStdString();
    EXPECT_EQ(listed(), QStringList{"GBA 1 2"});
}

// Malformed, huge or hostile DATs are refused with the line and the reason,
// and the database is left as it was.
TEST_F(LocalDb, HostileDatsAreRefusedAndChangeNothing) {
    ASSERT_TRUE(import_dat_file(put(dir, "good.dat", dat_xml("GB", "1", v1)), db).ok);
    const QByteArray before = file_bytes(db);
    const QByteArray laughs =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE datafile [\n<!ENTITY a \"aaaaaaaaaa\">\n"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>\n<datafile><header><name>&b;</name>"
        "</header></datafile>\n";
    const QByteArray external =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE datafile [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
        "\n<datafile><header><name>&x;</name></header></datafile>\n";
    const auto game = [](const char* size, const char* crc) {
        return QByteArray(
                   "<?xml version=\"1.0\"?>\n<datafile><header><name>G</name></header>\n"
                   "<game name=\"g\"><rom name=\"r\" size=\"") +
               size + "\" crc=\"" + crc + "\"/></game></datafile>\n";
    };
    const struct {
        const char* name;
        QByteArray bytes;
        const char* says;
    } cases[] = {
        {"entity expansion", laughs, "line 4: the DAT declares entities"},
        {"external entity", external, "line 2: the DAT declares entities"},
        {"size not a number", game("12x", "0123abcd"), "line 3: the size \"12x\" of \"g\""},
        {"size zero", game("0", "0123abcd"), "the size \"0\" of \"g\" is no size"},
        {"size over 4 GiB", game("4294967296", "0123abcd"), "is no size"},
        {"CRC too short", game("10", "123abcd"), "the CRC \"123abcd\" of \"g\" is not 8 hex"},
        {"CRC not hex", game("10", "0123abcz"), "is not 8 hex digits"},
        {"duplicate game", dat_xml("G", "1", {v1[0], v1[0]}),
         "line 5: the game \"One (Europe)\" is listed twice"},
        {"not a DAT", "<?xml version=\"1.0\"?>\n<html></html>", "<html> where a DAT starts"},
        {"cut short", dat_xml("G", "1", v1).left(120), "Premature end of document. The"},
        {"no header", "<datafile><game name=\"g\"/></datafile>", "no header naming the DAT"},
        {"empty", "", "the file is empty"},
        {"two DATs in a zip",
         zip_of({{"a.dat", dat_xml("A", "1", v1)}, {"b.dat", dat_xml("B", "1", v1)}}, true),
         "the archive holds 2 files, not one DAT"},
        {"zip with a wrong CRC", zip_of({{"a.dat", dat_xml("A", "1", v1)}}, true, 1),
         "does not match its CRC32"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DatFileImport refused = import_dat_file(put(dir, "bad.dat", c.bytes), db);
        EXPECT_FALSE(refused.ok);
        EXPECT_TRUE(refused.line.contains(c.says)) << refused.line.toStdString();
        EXPECT_TRUE(refused.line.contains("bad.dat")) << refused.line.toStdString();
    }
    // A 2 GiB file is refused by its size, unread.
    const QString huge = QString::fromStdString(dir.file("huge.dat"));
    ASSERT_EQ(truncate(put(dir, "huge.dat", "<").toLocal8Bit().constData(), qint64(2) << 30), 0);
    const DatFileImport big = import_dat_file(huge, db);
    EXPECT_TRUE(!big.ok && big.line.contains("more than a DAT may hold")) << big.line.toStdString();
    EXPECT_EQ(file_bytes(db), before) << "the database changed";
}

// A dump a DAT lists is verified by it, named after its release; a DAT that
// knows the code's releases names them.
TEST_F(LocalDb, VerdictsNameTheDatAndItsRelease) {
    const Bytes image = romgen::gba_image(0x40000, "ZQZQ");
    const gb::DumpDigest digest = gb::digest_of(image.data(), image.size());
    const gb::DumpTable none{nullptr, 0};
    Bytes other = image;
    other[0x1000] ^= 1;
    ASSERT_TRUE(import_dat_file(put(dir, "a.dat",
                                    dat_xml("Nintendo - Game Boy Advance", "20261201",
                                            {{"Zq (Europe)", digest.size, digest.crc32,
                                              QString::fromLatin1(digest.sha1), "AGB-ZQZQ-EUR"}})),
                                db)
                    .ok);
    const DumpReport matched = judge_dump(true, image.data(), image.size(), digest, none);
    EXPECT_EQ(matched.verdict, DumpVerdict::Verified);
    EXPECT_EQ(matched.release, "Zq (Europe)");
    EXPECT_TRUE(
        matched.lines.contains("Matches 'Zq (Europe)' in Nintendo - Game Boy Advance (20261201)."))
        << matched.lines.join('\n').toStdString();
    const DumpReport differs = judge_dump(true, other.data(), other.size(),
                                          gb::digest_of(other.data(), other.size()), none);
    EXPECT_EQ(differs.verdict, DumpVerdict::DiffersFromDatabase);
    EXPECT_TRUE(
        same_twice_lines(true, other.data(), other.size(), none)
            .contains(QStringLiteral("Nintendo - Game Boy Advance knows ZQZQ as 'Zq (Europe)' "
                                     "(%1 bytes, CRC32 %2).")
                          .arg(digest.size)
                          .arg(digest.crc32, 8, 16, QLatin1Char('0'))));
}

// history.tsv of an earlier version: good lines are taken in (the last one
// without its line break too), bad ones are named and skipped, and the file
// is renamed, not deleted.
TEST_F(LocalDb, TheOldHistoryIsMigratedOnce) {
    const QString folder = default_data_folder() + "/backups";
    QDir().mkpath(folder);
    for (const char* name : {"a.sav", "b.sav"})
        put(dir, std::string("data/zelvo3/backups/") + name, "save");
    const uint32_t crc = gb::digest_of(reinterpret_cast<const uint8_t*>("save"), 4).crc32;
    const QString good = QStringLiteral("\t4\t%1\t\tA\ta.sav\n").arg(crc, 0, 16);
    put(dir, "data/zelvo3/backups/history.tsv",
        ("2026-12-01T10:00:00" + good + "2026-12-01T11:00:00\t4\t1\t\tX\t../outside.sav\n" +
         "not a record\n" + "2026-12-01T12:00:00\t4\tzz\t\tY\tc.sav\n" + "2026-12-01T10:00:00" +
         QString(good).replace("\tA\ta.sav\n", "\tB\tb.sav"))
            .toUtf8());
    const BackupHistory history = backup_history(folder);
    ASSERT_EQ(history.records.size(), 2u);
    EXPECT_EQ(history.records[0].title, "B") << "newest first, by the order kept, not the second";
    EXPECT_EQ(history.records[1].title, "A");
    EXPECT_EQ(history.records[0].time,
              QDateTime::fromString("2026-12-01T10:00:00", Qt::ISODate).toUTC());
    ASSERT_EQ(history.problems.size(), 3) << history.problems.join('\n').toStdString();
    EXPECT_TRUE(
        history.problems[0].contains("line 2 skipped: the file \"../outside.sav\" is not a "
                                     "name in the backup folder"));
    EXPECT_TRUE(history.problems[1].contains("line 3 skipped"));
    EXPECT_TRUE(history.problems[2].contains("line 4 skipped: the CRC32 \"zz\""));
    EXPECT_FALSE(QFile::exists(folder + "/history.tsv"));
    EXPECT_TRUE(QFile::exists(folder + "/history.tsv.migrated"));
    EXPECT_EQ(backup_history(folder).records.size(), 2u) << "taken in once";
    EXPECT_TRUE(backup_history(folder).problems.isEmpty());

    // A backup changed or gone since it was kept is listed, and not restored.
    put(dir, "data/zelvo3/backups/a.sav", "SAVE");
    QFile::remove(folder + "/b.sav");
    const BackupHistory now = backup_history(folder);
    EXPECT_EQ(now.records[0].state, BackupState::Missing);
    EXPECT_EQ(now.records[1].state, BackupState::Changed);
    EXPECT_TRUE(backup_text(now.records[1]).endsWith("(changed since it was kept)"));
    EXPECT_TRUE(restore_refusal(now.records[1]).contains("was changed after it was kept"));
}

// A title with a tab is its own cartridge's; two processes keeping backups
// at once lose no record.
TEST_F(LocalDb, BackupsOfTwoProcessesAreAllKept) {
    const QString folder = default_data_folder() + "/backups";
    const BackupOrigin tabbed{"A\tB", "ABCD", 1};
    ASSERT_TRUE(keep_backup(folder, tabbed, "one", 3).ok);
    EXPECT_TRUE(keep_backup(folder, tabbed, "one", 3).reused);
    constexpr int kEach = 15;
    std::vector<pid_t> children;
    for (int p = 0; p < 2; ++p) {
        const pid_t pid = fork();
        if (pid == 0) {
            bool ok = true;
            for (int n = 0; n < kEach; ++n)
                ok = keep_backup(folder, {QStringLiteral("P%1-%2").arg(p).arg(n), "", 0},
                                 QByteArray(16, char(n)), 16)
                         .why.isEmpty() &&
                     ok;
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = -1;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const BackupHistory history = backup_history(folder);
    EXPECT_EQ(history.records.size(), size_t(2 * kEach + 1));
    for (const BackupRecord& r : history.records)
        EXPECT_EQ(r.state, BackupState::Kept) << r.path.toStdString();
}

}  // namespace
