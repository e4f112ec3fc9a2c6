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

// Why a volume holding the identification file is not the board, before
// anything of it is read: each of the board's files there must be a regular
// file (a pipe would hang a read or a write), and the identification file of
// the board's own size. Empty when it may be the board.
std::string board_problem(const std::string& volume) {
    struct stat st;
    for (const char* name : {proto::kCommandFile, proto::kDataFile}) {
        const std::string path = volume + "/" + name;
        if (::lstat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
            return std::string(name) + " there is not a regular file";
    }
    const std::string ident = volume + "/" + proto::kIdentFile;
    if (::lstat(ident.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::string(proto::kIdentFile) + " there is not a regular file";
    if (uint64_t(st.st_size) != proto::kIdentFileSize)
        return std::string(proto::kIdentFile) + " there holds " + std::to_string(st.st_size) +
               " bytes, not the board's " + std::to_string(proto::kIdentFileSize);
    return std::string();
}

bool holds_ident_file(const std::string& volume) {
    struct stat st;
    return ::lstat((volume + "/" + proto::kIdentFile).c_str(), &st) == 0;
}

// Entries of dir, in listing order, that hold the identification file.
std::vector<std::string> volumes_in(const std::string& dir) {
    std::vector<std::string> names;
    DIR* d = opendir(dir.c_str());
    if (!d) return names;
    while (const dirent* e = readdir(d))
        if (e->d_name[0] != '.' && holds_ident_file(dir + "/" + e->d_name))
            names.push_back(e->d_name);
    closedir(d);
    return names;
}

std::atomic<BoardClaim*> g_claim{nullptr};

void select(const std::string& dir, const std::string& name);
void deselect() {
    m_volume.clear();
    m_mount.clear();
    m_version.clear();
}

std::string read_label() {
    uint8_t record[proto::kIdentRecordSize] = {};
    const std::string path = device_path(proto::kIdentFile);
    if (file::NoCacheLoad(path.c_str(), record, sizeof record, proto::kIdentRecordOffset) !=
        sizeof record)
        return std::string();
    // A label is printable text, ended by a NUL within the record's label.
    const void* end = std::memchr(record, 0, proto::kLabelMax + 1);
    if (!end) return std::string();
    const std::string label(reinterpret_cast<const char*>(record),
                            size_t(static_cast<const uint8_t*>(end) - record));
    for (const char c : label)
        if (c < ' ' || c > '~') return std::string();
    return label;
}

// The files a HeldFiles keeps open; fd < 0 where one is not held.
struct Held {
    platform::UncachedFile data;
    int command = -1;
    uint64_t commandSize = 0;
};
Held* g_held = nullptr;

// The board file another program was found holding, or null.
std::atomic<const char*> g_busy{nullptr};

uint32_t read_device(const char* name, uint32_t offset, uint8_t* dest, uint32_t len) {
    if (m_volume.empty()) return 0;
    if (g_held && g_held->data.fd >= 0 && std::strcmp(name, proto::kDataFile) == 0)
        return file::ReadUncached(g_held->data, dest, len, offset);
    bool busy = false;
    const uint32_t got = file::NoCacheLoad(device_path(name).c_str(), dest, len, offset, &busy);
    if (busy) g_busy.store(name);
    return got;
}

}  // namespace

namespace {

void select(const std::string& dir, const std::string& name) {
    m_mount = dir;
    m_volume = name;
    m_version = read_label();
}

}  // namespace

bool open() {
    if (const BoardClaim* claim = g_claim.load()) return board_problem(claim->path()).empty();
    deselect();
    // Only a volume whose identification record holds a label is a board.
    for (const std::string& dir : platform::mount_directories())
        for (const std::string& name : volumes_in(dir)) {
            if (!board_problem(dir + "/" + name).empty()) continue;
            select(dir, name);
            if (!m_version.empty()) return true;
            deselect();
        }
    return false;
}

const char* busy_file() {
    return g_busy.load();
}

BoardClaim::BoardClaim(const std::string& wanted) : m_volume(wanted) {
    g_busy.store(nullptr);
    m_searched = platform::mount_directories();
    std::vector<std::pair<std::string, std::string>> found;  // folder, volume
    for (const std::string& dir : m_searched)
        for (const std::string& name : volumes_in(dir)) found.emplace_back(dir, name);
    if (found.empty()) return;
    m_status = wanted.empty() ? ClaimStatus::NotABoard : ClaimStatus::NoSuchBoard;
    for (const auto& [dir, name] : found) {
        if (!wanted.empty() && name != wanted) continue;
        if (m_status != ClaimStatus::NotABoard && m_status != ClaimStatus::NoSuchBoard) break;
        // The lock comes first: the record is read only by the program holding the board.
        m_volume = name;
        m_path = dir + "/" + name;
        if (!m_lock.acquire(m_path)) {
            m_status = ClaimStatus::InUse;
            continue;
        }
        m_why = board_problem(m_path);
        // Another program that holds one of the board's files has the board.
        for (const char* file : {proto::kCommandFile, proto::kIdentFile, proto::kDataFile})
            if (m_why.empty() && platform::locked_by_another(m_path + "/" + file)) {
                m_lock.release();
                m_status = ClaimStatus::InUse;
                m_why = std::string("another program holds ") + file;
            }
        if (m_status == ClaimStatus::InUse) continue;
        if (m_why.empty()) select(dir, name);
        if (m_version.empty()) {
            // A folder that merely holds the file, or a board that does not answer.
            m_lock.release();
            deselect();
            m_status = ClaimStatus::NotABoard;
            if (wanted.empty()) continue;
        } else if (platform::read_only_volume(m_path)) {
            m_lock.release();
            deselect();
            m_status = ClaimStatus::ReadOnly;
        } else {
            m_status = ClaimStatus::Held;
        }
    }
    if (m_status == ClaimStatus::NotABoard && wanted.empty()) {
        m_volume = found.front().second;
        m_path = found.front().first + "/" + m_volume;
        m_why = board_problem(m_path);
    }
    for (const auto& entry : found)
        if (entry.second != m_volume) m_others.push_back(entry.second);
    if (held()) {
        BoardClaim* none = nullptr;
        if (!g_claim.compare_exchange_strong(none, this)) {
            // One claim per process: a second one would lock the board against itself.
            m_lock.release();
            m_status = ClaimStatus::InUse;
        }
    }
}

BoardClaim::~BoardClaim() {
    BoardClaim* self = this;
    g_claim.compare_exchange_strong(self, nullptr);
}

const BoardClaim* current_claim() {
    return g_claim.load();
}

ClaimScope::ClaimScope() : m_held(g_claim.load()) {
    if (!m_held) m_own = std::make_unique<BoardClaim>();
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
    if (g_held->data.busy) g_busy.store(proto::kDataFile);
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
