#include "jobs/dat_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QXmlStreamReader>

#include "device/crc.h"
#include "jobs/zip_member.h"

namespace {

constexpr int kMd5Digits = 32, kSha1Digits = 40;
constexpr int kCodeSize = 4;

bool hex_of(const QStringRef& text, int digits) {
    if (text.size() != digits) return false;
    for (const QChar c : text)
        if (!c.isDigit() && !(c.toLower() >= 'a' && c.toLower() <= 'f')) return false;
    return true;
}

bool code_character(QChar c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The game code in a serial: the whole of "AWRP", or the second part of
// "AGB-AWRP-EUR"; of several serials, the first that has one.
QString code_of(const QString& serials) {
    for (const QString& serial : serials.split(',')) {
        const QStringList parts = serial.trimmed().split('-');
        const QString code = parts.size() > 1 ? parts[1] : parts[0];
        if (code.size() == kCodeSize && std::all_of(code.begin(), code.end(), code_character))
            return code;
    }
    return QString();
}

class Parser {
public:
    Parser(const QByteArray& bytes, const QString& source) : m_xml(bytes), m_source(source) {}
    DatRead run();

private:
    bool refuse(const QString& why);
    bool header();
    bool game();
    bool rom(const QString& game, const QString& serial);

    QXmlStreamReader m_xml;
    QString m_source;
    DatRead m_read;
    QSet<QString> m_games;
};

bool Parser::refuse(const QString& why) {
    if (!m_read.why.isEmpty()) return false;
    QString reason = why;
    if (reason.endsWith('.')) reason.chop(1);  // the XML reader's own ends with one
    m_read.why =
        QStringLiteral("%1, line %2: %3").arg(m_source).arg(m_xml.lineNumber()).arg(reason);
    return false;
}

bool Parser::header() {
    while (m_xml.readNextStartElement()) {
        const QStringRef tag = m_xml.name();
        QString* field = tag == QLatin1String("name")          ? &m_read.dat.name
                         : tag == QLatin1String("description") ? &m_read.dat.description
                         : tag == QLatin1String("version")     ? &m_read.dat.version
                         : tag == QLatin1String("date")        ? &m_read.dat.date
                                                               : nullptr;
        if (field)
            *field = m_xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        else
            m_xml.skipCurrentElement();
    }
    if (m_read.dat.name.isEmpty()) return refuse(QStringLiteral("the header names no DAT"));
    return true;
}

bool Parser::rom(const QString& game, const QString& serial) {
    const QXmlStreamAttributes a = m_xml.attributes();
    DatRom rom;
    rom.game = game;
    bool ok = false;
    const QStringRef size = a.value(QLatin1String("size"));
    const qulonglong bytes = size.toULongLong(&ok);
    if (!ok || bytes == 0 || bytes > UINT32_MAX ||
        !std::all_of(size.begin(), size.end(), [](QChar c) { return c.isDigit(); }))
        return refuse(QStringLiteral("the size \"%1\" of \"%2\" is no size").arg(size, game));
    rom.size = uint32_t(bytes);
    const QStringRef crc = a.value(QLatin1String("crc"));
    if (!hex_of(crc, crc::kCrc32Digits))
        return refuse(
            QStringLiteral("the CRC \"%1\" of \"%2\" is not 8 hex digits").arg(crc, game));
    rom.crc32 = crc.toUInt(nullptr, 16);
    const QStringRef md5 = a.value(QLatin1String("md5")), sha1 = a.value(QLatin1String("sha1"));
    if (!md5.isEmpty() && !hex_of(md5, kMd5Digits))
        return refuse(QStringLiteral("the MD5 of \"%1\" is not 32 hex digits").arg(game));
    if (!sha1.isEmpty() && !hex_of(sha1, kSha1Digits))
        return refuse(QStringLiteral("the SHA-1 of \"%1\" is not 40 hex digits").arg(game));
    rom.md5 = md5.toLatin1().toLower();
    rom.sha1 = sha1.toLatin1().toLower();
    rom.code = code_of(a.hasAttribute(QLatin1String("serial"))
                           ? a.value(QLatin1String("serial")).toString()
                           : serial);
    m_read.dat.roms.push_back(rom);
    m_xml.skipCurrentElement();
    return true;
}

bool Parser::game() {
    const QString name = m_xml.attributes().value(QLatin1String("name")).toString().trimmed();
    if (name.isEmpty()) return refuse(QStringLiteral("a game without a name"));
    if (m_games.contains(name))
        return refuse(QStringLiteral("the game \"%1\" is listed twice").arg(name));
    m_games.insert(name);
    ++m_read.dat.games;
    QString serial;
    while (m_xml.readNextStartElement()) {
        if (m_xml.name() == QLatin1String("rom")) {
            if (!rom(name, serial)) return false;
        } else if (m_xml.name() == QLatin1String("serial")) {
            serial = m_xml.readElementText();
        } else {
            m_xml.skipCurrentElement();
        }
    }
    return true;
}

DatRead Parser::run() {
    bool sawRoot = false;
    while (!m_xml.atEnd() && m_read.why.isEmpty()) {
        switch (m_xml.readNext()) {
            case QXmlStreamReader::DTD:
                // Entities could expand a small file into gigabytes.
                if (!m_xml.entityDeclarations().isEmpty())
                    refuse(QStringLiteral("the DAT declares entities; a DAT has none"));
                break;
            case QXmlStreamReader::EntityReference:
                refuse(QStringLiteral("the entity &%1; is unknown").arg(m_xml.name()));
                break;
            case QXmlStreamReader::StartElement:
                if (sawRoot || m_xml.name() != QLatin1String("datafile")) {
                    refuse(QStringLiteral("<%1> where a DAT starts with <datafile>")
                               .arg(m_xml.name()));
                    break;
                }
                sawRoot = true;
                while (m_read.why.isEmpty() && m_xml.readNextStartElement()) {
                    if (m_xml.name() == QLatin1String("header"))
                        header();
                    else if (m_xml.name() == QLatin1String("game") ||
                             m_xml.name() == QLatin1String("machine"))
                        game();
                    else
                        m_xml.skipCurrentElement();
                }
                break;
            default:
                break;
        }
    }
    if (m_read.why.isEmpty() && m_xml.hasError()) refuse(m_xml.errorString());
    if (m_read.why.isEmpty() && !sawRoot) refuse(QStringLiteral("no <datafile> in it"));
    if (m_read.why.isEmpty() && m_read.dat.name.isEmpty())
        refuse(QStringLiteral("it has no header naming the DAT"));
    if (!m_read.why.isEmpty()) m_read.dat = DatFile();
    return m_read;
}

}  // namespace

DatRead read_dat_bytes(const QByteArray& bytes, const QString& source) {
    if (looks_like_zip(bytes)) {
        const ZipMember member = read_single_zip_member(bytes, kMaxDatSize);
        if (!member.why.isEmpty()) return {DatFile(), source + QStringLiteral(": ") + member.why};
        return Parser(member.data, source + '/' + member.name).run();
    }
    return Parser(bytes, source).run();
}

DatRead read_dat_file(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return {DatFile(), path + QStringLiteral(": no such file")};
    if (!info.isFile()) return {DatFile(), path + QStringLiteral(": not a regular file")};
    if (info.size() > kMaxDatSize)
        return {DatFile(), QStringLiteral("%1: %2 bytes, more than a DAT may hold (%3)")
                               .arg(path)
                               .arg(info.size())
                               .arg(kMaxDatSize)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {DatFile(), path + ": " + file.errorString()};
    // Read at most the limit: the file may grow meanwhile.
    const QByteArray bytes = file.read(kMaxDatSize + 1);
    if (bytes.size() > kMaxDatSize)
        return {DatFile(), path + QStringLiteral(": it grew past the size a DAT may hold")};
    if (bytes.isEmpty()) return {DatFile(), path + QStringLiteral(": the file is empty")};
    return read_dat_bytes(bytes, path);
}
