// What the window remembers between runs, in the platform's standard place
// for settings: the verify box, the window's size and place, the last folder
// of ROM images and of save files, and the chosen system. Cartridge choices
// are not kept: they come from detection.
#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>

enum class FileKind { Rom, Save, Dat };

class Preferences {
public:
    Preferences();

    bool verify() const;
    void setVerify(bool verify);
    QByteArray geometry() const;
    void setGeometry(const QByteArray& geometry);
    // The folder a file dialog of this kind opens in: the last one used, else home.
    QString folder(FileKind kind) const;
    void setFolder(FileKind kind, const QString& folder);
    // kSysGb or kSysGba; -1 when none was chosen yet.
    int system() const;
    void setSystem(int system);

private:
    mutable QSettings m_settings;
};
