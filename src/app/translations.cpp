#include "app/translations.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTranslator>
#include <iterator>

#include "app/tab_dialog.h"

namespace {

struct Language {
    QLocale::Language language;
    const char* ours;  // our file
    const char* qt;    // Qt's own
};
// The first one beside the program wins.
constexpr Language kLanguages[] = {
    {QLocale::Chinese, "zelvo3_chs.qm", "qtbase_zh_CN"},
    {QLocale::Japanese, "zelvo3_jpn.qm", "qtbase_ja"},
};

// Where an installation keeps the translations, from the program's folder: its
// own layout (lib/zelvo3 beside share/zelvo3), and a program in bin/.
const char* const kInstalledFolders[] = {ZELVO_TRANSLATIONS_FROM_PROGRAMS,
                                         "../share/zelvo3/translations"};

QString load(QTranslator& translator, const QString& path) {
    // An unreadable file still installs the (empty) translator: the interface
    // then shows its own texts.
    translator.load(path, QString(), QString(), QString());
    QCoreApplication::installTranslator(&translator);
    return path;
}

}  // namespace

QString install_translation(QTranslator& translator, const QString& directory,
                            const QLocale& locale) {
    for (const Language& l : kLanguages) {
        const QString beside = directory + '/' + QLatin1String(l.ours);
        if (QFile::exists(beside)) return load(translator, beside);
    }
    for (const QString& name : locale.uiLanguages()) {
        const QLocale::Language language = QLocale(name).language();
        for (const Language& l : kLanguages) {
            if (l.language != language) continue;
            for (const char* folder : kInstalledFolders) {
                const QString path =
                    directory + '/' + QLatin1String(folder) + '/' + QLatin1String(l.ours);
                if (QFile::exists(path)) return load(translator, path);
            }
        }
        if (language == QLocale::English || language == QLocale::C) break;
    }
    return QString();
}

QString install_qt_translation(QTranslator& translator, const QString& ours) {
    for (const Language& l : kLanguages) {
        if (!ours.endsWith(QLatin1String(l.ours))) continue;
        const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
        if (!translator.load(QLatin1String(l.qt), folder)) return QString();
        QCoreApplication::installTranslator(&translator);
        return folder + '/' + QLatin1String(l.qt) + QStringLiteral(".qm");
    }
    return QString();
}

QString language_report(const QString& ours, const QString& qts) {
    const auto none = [](const QString& path) {
        return path.isEmpty() ? QStringLiteral("none (English)") : path;
    };
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                             QDialogButtonBox::Yes | QDialogButtonBox::No);
    QStringList texts;
    for (const QAbstractButton* b : buttons.buttons()) texts << b->text();
    TabDialog window(nullptr);
    return QStringLiteral(
               "Locale: %1\nTranslation: %2\nQt's translation: %3\nWindow title: %4\n"
               "Standard buttons: %5\n")
        .arg(QLocale::system().uiLanguages().join(' '), none(ours), none(qts), window.windowTitle(),
             texts.join(' '));
}
