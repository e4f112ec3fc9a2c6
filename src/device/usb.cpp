#include "device/usb.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "device/file.h"
#include "device/platform.h"
#include "device/protocol.h"

namespace usb {

std::string m_volume;
std::string m_mount;
std::string m_version;

namespace {

bool holds_ident_file(const std::string& volume) {
    struct stat st;
    const std::string path = volume + "/" + proto::kIdentFile;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// First entry of dir, in listing order, that is a board volume.
bool find_in(const std::string& dir, std::string& name) {
    DIR* d = opendir(dir.c_str());
    if (!d) return false;
    bool found = false;
    while (const dirent* e = readdir(d)) {
        if (e->d_name[0] == '.') continue;
        if (holds_ident_file(dir + "/" + e->d_name)) {
            name = e->d_name;
            found = true;
            break;
        }
    }
    closedir(d);
    return found;
}

std::string read_label() {
    uint8_t record[proto::kIdentRecordSize] = {};
    const std::string path = device_path(proto::kIdentFile);
    if (file::NoCacheLoad(path.c_str(), record, sizeof record, proto::kIdentRecordOffset) == 0)
        return std::string();
    const void* end = std::memchr(record, 0, proto::kLabelMax);
    const size_t len = end ? size_t(static_cast<const uint8_t*>(end) - record) : proto::kLabelMax;
    return std::string(reinterpret_cast<const char*>(record), len);
}

// The files a HeldFiles keeps open; fd < 0 where one is not held.
struct Held {
    platform::UncachedFile data;
    int command = -1;
    uint64_t commandSize = 0;
};
Held* g_held = nullptr;

uint32_t read_device(const char* name, uint32_t offset, uint8_t* dest, uint32_t len) {
    if (m_volume.empty()) return 0;
    if (g_held && g_held->data.fd >= 0 && std::strcmp(name, proto::kDataFile) == 0)
        return file::ReadUncached(g_held->data, dest, len, offset);
    const std::string path = device_path(name);
    return file::NoCacheLoad(path.c_str(), dest, len, offset);
}

}  // namespace

int open() {
    m_volume.clear();
    m_mount.clear();
    m_version.clear();
    for (const std::string& dir : platform::mount_directories()) {
        std::string name;
        if (!find_in(dir, name)) continue;
        m_mount = dir;
        m_volume = name;
        m_version = read_label();
        return 1;
    }
    return 0;
}

std::string volume_path() {
    return m_volume.empty() ? std::string() : m_mount + "/" + m_volume;
}

std::string device_path(const char* name) {
    return m_volume.empty() ? std::string() : volume_path() + "/" + name;
}

uint32_t read_dmp(uint32_t offset, uint8_t* dest, uint32_t len) {
    return read_device(proto::kIdentFile, offset, dest, len);
}

uint32_t read_rom(uint32_t offset, uint8_t* dest, uint32_t len) {
    return read_device(proto::kDataFile, offset, dest, len);
}

uint32_t write_cmd(const uint8_t* src, uint32_t len) {
    if (m_volume.empty()) return 0;
    const uint32_t written =
        g_held && g_held->command >= 0
            ? file::WriteFlushed(g_held->command, src, len, &g_held->commandSize)
            : file::Save(device_path(proto::kCommandFile).c_str(), src, len);
    return written == file::kSaveFailed ? 0 : written;
}

HeldFiles::HeldFiles() {
    if (m_volume.empty() || g_held) return;
    m_owner = true;
    g_held = new Held;
    platform::open_uncached(device_path(proto::kDataFile).c_str(), g_held->data);
    g_held->command = ::open(device_path(proto::kCommandFile).c_str(), O_WRONLY | O_CLOEXEC);
    struct stat st;
    if (g_held->command >= 0 && fstat(g_held->command, &st) == 0)
        g_held->commandSize = uint64_t(st.st_size);
    else if (g_held->command >= 0)
        g_held->commandSize = UINT64_MAX;  // unknown: the first command truncates
}

HeldFiles::~HeldFiles() {
    if (!m_owner) return;
    if (g_held->command >= 0) ::close(g_held->command);
    delete g_held;
    g_held = nullptr;
}

}  // namespace usb
