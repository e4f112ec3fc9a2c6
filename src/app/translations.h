// The language the window speaks: a translation placed beside the program wins,
// as it always has; else the one of the system locale's language (LANGUAGE,
// LC_ALL, LC_MESSAGES, LANG), where the program is installed. Qt's own dialogs
// follow the same language. The command line stays English.
#pragma once

#include <QLocale>
#include <QString>

class QTranslator;

// Installs the translation for directory (the program's folder) and locale;
// the path installed, or an empty string for English.
QString install_translation(QTranslator& translator, const QString& directory,
                            const QLocale& locale = QLocale::system());

// With our translation (the path install_translation gave) installs Qt's own
// for the same language (file dialogs, standard buttons), from Qt's
// translations folder; the path installed, or an empty string.
QString install_qt_translation(QTranslator& translator, const QString& ours);

// What --show-language prints: the locale, the translations in use, and texts
// of the window and of Qt's standard buttons as they will show.
QString language_report(const QString& ours, const QString& qts);
