#include "ui/preferences.h"

#include <QDir>
#include <QFileInfo>

#include "jobs/option_tables.h"

namespace {

// The settings file: ~/.config/Zelvo/zelvo3.conf on Linux.
constexpr const char* kOrganization = "Zelvo";
constexpr const char* kApplication = "zelvo3";
constexpr const char* kVerify = "verify";
constexpr const char* kGeometry = "window/geometry";
constexpr const char* kRomFolder = "folders/rom";
constexpr const char* kSaveFolder = "folders/save";
constexpr const char* kDatFolder = "folders/dat";
constexpr const char* kSystem = "system";

const char* folder_key(FileKind kind) {
    return kind == FileKind::Rom ? kRomFolder : kind == FileKind::Save ? kSaveFolder : kDatFolder;
}

}  // namespace

Preferences::Preferences() : m_settings(kOrganization, kApplication) {}

bool Preferences::verify() const {
    return m_settings.value(kVerify, false).toBool();
}

void Preferences::setVerify(bool verify) {
    m_settings.setValue(kVerify, verify);
}

QByteArray Preferences::geometry() const {
    return m_settings.value(kGeometry).toByteArray();
}

void Preferences::setGeometry(const QByteArray& geometry) {
    m_settings.setValue(kGeometry, geometry);
}

QString Preferences::folder(FileKind kind) const {
    const QString folder = m_settings.value(folder_key(kind)).toString();
    // A folder since removed is no place to open a dialog in.
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void Preferences::setFolder(FileKind kind, const QString& folder) {
    m_settings.setValue(folder_key(kind), folder);
}

int Preferences::system() const {
    const int system = m_settings.value(kSystem, -1).toInt();
    return system == kSysGb || system == kSysGba ? system : -1;
}

void Preferences::setSystem(int system) {
    m_settings.setValue(kSystem, system);
}
