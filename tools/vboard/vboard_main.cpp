// vboard: mounts a virtual dumper board as a volume holding the board's three files.
#define FUSE_USE_VERSION 31
#include <fuse.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "board.h"
#include "device/protocol.h"
#include "fork_server.h"

namespace {

struct Volume {
    std::unique_ptr<vboard::Board> board;
    // The command file as the host left it: a write over a longer file keeps
    // the older tail, as on a real volume, until the host truncates it.
    std::vector<uint8_t> command;
    bool dirty = false;  // written or resized since the board last acted on it
    bool refuseDirect = false;
    std::string saveOut;
    std::string flashOut;
    int readyFd = -1;  // told with one byte once the volume is mounted
};

Volume* volume() {
    return static_cast<Volume*>(fuse_get_context()->private_data);
}

enum class Node { Root, Command, Ident, Data, None };

Node node_of(const char* path) {
    if (std::strcmp(path, "/") == 0) return Node::Root;
    if (std::strcmp(path + 1, proto::kCommandFile) == 0) return Node::Command;
    if (std::strcmp(path + 1, proto::kIdentFile) == 0) return Node::Ident;
    if (std::strcmp(path + 1, proto::kDataFile) == 0) return Node::Data;
    return Node::None;
}

int vb_getattr(const char* path, struct stat* st, fuse_file_info*) {
    std::memset(st, 0, sizeof *st);
    const Node n = node_of(path);
    // A board pulled out leaves an empty folder behind.
    if (n == Node::None || (n != Node::Root && volume()->board->gone())) return -ENOENT;
    if (n == Node::Root) {
        st->st_mode = S_IFDIR | 0755;
        st->st_nlink = 2;
        return 0;
    }
    st->st_mode = S_IFREG | 0644;
    st->st_nlink = 1;
    st->st_size = n == Node::Command ? off_t(volume()->command.size())
                  : n == Node::Ident ? off_t(vboard::kIdentFileSize)
                                     : off_t(vboard::kDataFileSize);
    return 0;
}

int vb_readdir(const char* path, void* buf, fuse_fill_dir_t fill, off_t, fuse_file_info*,
               fuse_readdir_flags) {
    if (node_of(path) != Node::Root) return -ENOENT;
    fill(buf, ".", nullptr, 0, fuse_fill_dir_flags(0));
    fill(buf, "..", nullptr, 0, fuse_fill_dir_flags(0));
    if (volume()->board->gone()) return 0;
    for (const char* name : {proto::kCommandFile, proto::kIdentFile, proto::kDataFile})
        fill(buf, name, nullptr, 0, fuse_fill_dir_flags(0));
    return 0;
}

int vb_open(const char* path, fuse_file_info* fi) {
    const Node n = node_of(path);
    if (n == Node::None || n == Node::Root || volume()->board->gone()) return -ENOENT;
    if ((fi->flags & O_DIRECT) && volume()->refuseDirect) return -EINVAL;
    // A volume that refuses direct I/O is served through the page cache, as a
    // real one is: a read the host does not bypass may return older data.
    fi->direct_io = volume()->refuseDirect ? 0 : 1;
    fi->keep_cache = volume()->refuseDirect ? 1 : 0;
    if (n == Node::Command && (fi->flags & O_TRUNC)) {
        volume()->command.clear();
        volume()->dirty = true;
    }
    return 0;
}

int vb_truncate(const char* path, off_t size, fuse_file_info*) {
    if (node_of(path) != Node::Command) return node_of(path) == Node::None ? -ENOENT : 0;
    volume()->command.resize(size_t(size));
    volume()->dirty = true;
    return 0;
}

int vb_read(const char* path, char* buf, size_t size, off_t offset, fuse_file_info*) {
    Volume* v = volume();
    auto* out = reinterpret_cast<uint8_t*>(buf);
    switch (node_of(path)) {
        case Node::Ident:
            if (uint64_t(offset) >= vboard::kIdentFileSize) return 0;
            size = std::min<size_t>(size, vboard::kIdentFileSize - size_t(offset));
            return v->board->read_ident(uint64_t(offset), out, size) ? int(size) : -EIO;
        case Node::Data:
            if (uint64_t(offset) >= vboard::kDataFileSize) return 0;
            size = std::min<size_t>(size, vboard::kDataFileSize - size_t(offset));
            return v->board->read_data(uint64_t(offset), out, size) ? int(size) : -EIO;
        case Node::Command: {
            if (size_t(offset) >= v->command.size()) return 0;
            size = std::min(size, v->command.size() - size_t(offset));
            std::copy_n(v->command.begin() + offset, size, out);
            return int(size);
        }
        default:
            return -ENOENT;
    }
}

int vb_write(const char* path, const char* buf, size_t size, off_t offset, fuse_file_info*) {
    if (node_of(path) != Node::Command) return -EACCES;
    Volume* v = volume();
    if (v->command.size() < size_t(offset) + size) v->command.resize(size_t(offset) + size);
    std::copy_n(buf, size, v->command.begin() + offset);
    v->dirty = true;
    return int(size);
}

// The board acts on the whole command file once the host has flushed it.
int execute_pending(const char* path) {
    Volume* v = volume();
    if (node_of(path) != Node::Command || !v->dirty) return 0;
    v->dirty = false;
    return v->board->command_write(v->command.data(), v->command.size()) ? 0 : -EIO;
}

int vb_flush(const char* path, fuse_file_info*) {
    return execute_pending(path);
}
int vb_fsync(const char* path, int, fuse_file_info*) {
    return execute_pending(path);
}

void write_file(const std::string& path, const std::vector<uint8_t>& data) {
    if (path.empty()) return;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

void vb_destroy(void* privateData) {
    auto* v = static_cast<Volume*>(privateData);
    vboard::Board& b = *v->board;
    b.note("operations " + std::to_string(b.operations()));
    const vboard::Traffic& t = b.traffic();
    b.note("traffic " + std::to_string(t.commands) + " commands " + std::to_string(t.commandBytes) +
           " bytes, " + std::to_string(t.dataReads) + " data reads " + std::to_string(t.dataBytes) +
           " bytes, " + std::to_string(t.identReads) + " ident reads " +
           std::to_string(t.identBytes) + " bytes");
    write_file(v->saveOut, b.gba() ? b.gba()->save() : b.gb()->save());
    write_file(v->flashOut, b.gb()->flash());
}

void* vb_init(fuse_conn_info*, fuse_config* cfg) {
    // Each open chooses direct I/O or the page cache (see vb_open).
    cfg->direct_io = 0;
    cfg->kernel_cache = 0;
    cfg->attr_timeout = 0;
    cfg->entry_timeout = 0;
    auto* v = static_cast<Volume*>(fuse_get_context()->private_data);
    // The volume is mounted: whoever waits for it is told.
    if (v->readyFd >= 0) {
        const char ready = '1';
        if (write(v->readyFd, &ready, 1) != 1) std::perror("vboard: --ready-fd");
        close(v->readyFd);
        v->readyFd = -1;
    }
    return v;
}

std::vector<uint8_t> read_file(const std::string& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    *ok = bool(in);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

const char* const kUsage =
    "usage: vboard [options] MOUNTPOINT\n"
    "  --gb FILE            GB/GBC ROM image (controller from its header)\n"
    "  --gba FILE           GBA ROM image; past its end the bus reads as open bus\n"
    "                       (each halfword the low 16 bits of its own address)\n"
    "  --gba-mirror         the GBA ROM repeats past its end instead\n"
    "  --flash SIZE         rewritable GB flash cartridge of SIZE bytes\n"
    "  --flash-wiring 8|16  8: 29F chip, unlock 0x555/0x2AA; 16: 29LV chip in byte mode\n"
    "  --flash-image FILE   initial flash contents\n"
    "  --flash-query8       an 8-bit chip answers the flash query at 0x55 (as the\n"
    "                       Am29F016D does; older 29F parts answer only their IDs)\n"
    "  --flash-id MMDD      the chip's autoselect IDs, four hex digits (default: the\n"
    "                       Am29F0x0 part of the chip's size, or 0199 for a size no\n"
    "                       part has)\n"
    "  --flash-mbc KIND     auto (MBC1 while the header in the chip names MBC1,\n"
    "                       else MBC5), mbc1 or mbc5: the flash cartridge's banking\n"
    "  --save FILE          initial save memory\n"
    "  --rtc LIST           the GB cartridge's clock, by its kind: MBC3 five\n"
    "                       registers S,M,H,DL,DH; HuC-3 MINUTES,DAYS (minute of\n"
    "                       day, day counter); TAMA5 one UNIX time. The modelled\n"
    "                       clocks stand still: they read what was set or last\n"
    "                       written\n"
    "  --gba-save KIND      none, sram, flash64, flash128, eep512, eep8k\n"
    "  --gba-rtc SECONDS    the GBA cartridge has the Seiko clock on its port,\n"
    "                       showing this UNIX time (mGBA's clock; it stands still,\n"
    "                       and a date and time written through the port moves it)\n"
    "  --save-out FILE      on unmount: the save memory as a bus read shows it\n"
    "  --flash-out FILE     on unmount: the flash chip's contents\n"
    "  --serial TEXT        device serial (its first 8 bytes key the flash cipher)\n"
    "  --label TEXT         firmware label\n"
    "  --log FILE           append the command file each time the board acts on it\n"
    "                       (32-bit length, bytes), and what it made of it to FILE.txt\n"
    "                       (at unmount: how many operations it served, and the\n"
    "                       commands and reads with their bytes)\n"
    "  --latency MS         delay of every command write\n"
    "  --usb full|high      the link of a USB mass-storage board: every command write\n"
    "                       and file read takes a latency plus its bytes over the\n"
    "                       bandwidth. full: USB 1.1 full speed, about 1 MB/s usable\n"
    "                       and 1 ms a transfer (one 1 ms frame); high: USB 2.0 high\n"
    "                       speed, about 35 MB/s usable by mass storage and 0.25 ms a\n"
    "                       transfer (command, data and status stages)\n"
    "  --erase-ms MS        flash erase time\n"
    "  --fail-after N       every read and command write fails after N operations\n"
    "  --refuse-direct      opens with O_DIRECT fail, and the files are served\n"
    "                       through the page cache: a read the host does not\n"
    "                       bypass can return what an earlier read cached\n"
    "  --fail-serial        the read that follows a serial-number command fails\n"
    "  --vanish-after N     after N operations the board is pulled out: every\n"
    "                       access fails and its files are gone from the volume\n"
    "  --pause-at WHERE:N   stop before the Nth read of the identification file\n"
    "                       (ident:N), of the data file (data:N), or the Nth command\n"
    "                       write holding a block of group and op (f002:N), until\n"
    "                       a test lets the board go on (repeatable)\n"
    "  --pause-fifo PREFIX  where the board tells that it stopped (PREFIX.pause, a\n"
    "                       FIFO it writes the point into) and waits (PREFIX.resume,\n"
    "                       a FIFO it reads one byte from)\n"
    "  --read-only          the volume is mounted read-only\n"
    "  --fork-server FD     (alone) start boards on request from the socket FD\n"
    "  --ready-fd N         write one byte to the open file N once the volume is\n"
    "                       mounted, and close it\n"
    "  --corrupt-gb ADDR    the byte at this GB bus address reads back altered\n"
    "  --flicker ADDR:BIT:CHANCE\n"
    "                       each read of the byte at ADDR (GB bus address, GBA ROM\n"
    "                       byte address) has BIT flipped with CHANCE (0.33, 1/3);\n"
    "                       repeatable\n"
    "  --stuck-line N:LEVEL data line N (D0-D7; GBA D0-D15, odd bytes on D8-D15)\n"
    "                       reads LEVEL (0 or 1) at every address\n"
    "  --first-read-flaw ADDR\n"
    "                       the first read of the byte at ADDR has bit 0 flipped,\n"
    "                       later reads are right; repeatable\n"
    "  --flaw-seed N        the seed of the flickers' chances (default 1)\n"
    "  --flaky-gb ADDR      the byte at this GB bus address reads back altered every\n"
    "                       second time it is read (a dirty contact)\n"
    "  -f                   stay in the foreground\n"
    "Without a cartridge option the slot is empty. The command file keeps what the\n"
    "host wrote into it, and the board acts on all of it whenever the host flushes:\n"
    "a host that overwrites a longer command without truncating repeats its tail.\n";

[[noreturn]] void usage(const char* why) {
    std::fprintf(stderr, "vboard: %s\n%s", why, kUsage);
    std::exit(2);
}

// What the options say about the cartridge in the slot.
struct CartArgs {
    std::string gbRom, gbaRom, saveFile, flashImage, gbaSave = "none";
    std::vector<int64_t> clock;
    uint32_t flashSize = 0;
    int wiring = 8, eraseMs = 1500;
    vboard::FlashBanking banking = vboard::FlashBanking::Auto;
    bool gbaMirror = false, flashQuery8 = false;
    uint16_t flashId = 0;
    int64_t gbaRtc = -1;
};

struct Args {
    vboard::BoardOptions options;
    CartArgs cart;
    std::string mountpoint;
    bool foreground = false, readOnly = false;
};

using Next = std::function<std::string()>;

uint32_t number(const std::string& text, int base = 0) {
    return uint32_t(std::strtoul(text.c_str(), nullptr, base));
}

std::vector<int64_t> clock_values(const std::string& list) {
    std::vector<int64_t> values;
    for (size_t at = 0; at <= list.size();) {
        const size_t comma = std::min(list.find(',', at), list.size());
        values.push_back(std::strtoll(list.substr(at, comma - at).c_str(), nullptr, 0));
        at = comma + 1;
    }
    return values;
}

// The cartridge's options; false when a is none of them.
bool cartridge_option(const std::string& a, const Next& next, CartArgs& c) {
    if (a == "--gb")
        c.gbRom = next();
    else if (a == "--gba")
        c.gbaRom = next();
    else if (a == "--gba-mirror")
        c.gbaMirror = true;
    else if (a == "--flash")
        c.flashSize = number(next());
    else if (a == "--flash-wiring")
        c.wiring = std::atoi(next().c_str());
    else if (a == "--flash-image")
        c.flashImage = next();
    else if (a == "--flash-query8")
        c.flashQuery8 = true;
    else if (a == "--flash-id")
        c.flashId = uint16_t(number(next(), 16));
    else if (a == "--erase-ms")
        c.eraseMs = std::atoi(next().c_str());
    else if (a == "--save")
        c.saveFile = next();
    else if (a == "--rtc")
        c.clock = clock_values(next());
    else if (a == "--gba-save")
        c.gbaSave = next();
    else if (a == "--gba-rtc")
        c.gbaRtc = std::strtoll(next().c_str(), nullptr, 0);
    else if (a == "--flash-mbc") {
        if (!vboard::flash_banking_from_name(next(), &c.banking)) usage("unknown flash banking");
    } else
        return false;
    return true;
}

void usb_speed(const std::string& speed, vboard::BoardOptions& o) {
    if (speed == "full") {
        o.usbLatencyUs = 1000;
        o.usbBytesPerSecond = 1e6;
    } else if (speed == "high") {
        o.usbLatencyUs = 250;
        o.usbBytesPerSecond = 35e6;
    } else {
        usage("--usb takes full or high");
    }
}

// The board's own options and the volume's; false when a is none of them.
bool board_option(const std::string& a, const Next& next, Args& args, Volume& v) {
    vboard::BoardOptions& o = args.options;
    if (a == "--save-out")
        v.saveOut = next();
    else if (a == "--flash-out")
        v.flashOut = next();
    else if (a == "--ready-fd")
        v.readyFd = std::atoi(next().c_str());
    else if (a == "--refuse-direct")
        v.refuseDirect = true;
    else if (a == "--read-only")
        args.readOnly = true;
    else if (a == "-f")
        args.foreground = true;
    else if (a == "--serial")
        o.serial = next();
    else if (a == "--label")
        o.label = next();
    else if (a == "--log")
        o.rawLog = next();
    else if (a == "--usb")
        usb_speed(next(), o);
    else if (a == "--latency")
        o.latencyMs = std::atoi(next().c_str());
    else if (a == "--pause-fifo")
        o.pauseFifo = next();
    else if (a == "--pause-at") {
        vboard::PausePoint point;
        if (!vboard::parse_pause_point(next(), &point)) usage("--pause-at takes WHERE:N");
        o.pauses.push_back(point);
    } else
        return false;
    return true;
}

// The faults a test sets; false when a is none of them.
bool fault_option(const std::string& a, const Next& next, vboard::BoardOptions& o) {
    if (a == "--fail-after")
        o.failAfter = std::atoll(next().c_str());
    else if (a == "--fail-serial")
        o.failSerial = true;
    else if (a == "--vanish-after")
        o.vanishAfter = std::atoll(next().c_str());
    else if (a == "--flaky-gb")
        o.flakyGb = int(std::strtol(next().c_str(), nullptr, 0));
    else if (a == "--corrupt-gb")
        o.corruptGb = int(std::strtol(next().c_str(), nullptr, 0));
    else if (a == "--first-read-flaw")
        o.flaws.firstReadFlaws.push_back(number(next()));
    else if (a == "--flaw-seed")
        o.flaws.seed = number(next());
    else if (a == "--flicker") {
        vboard::Flicker f;
        if (!vboard::parse_flicker(next(), &f)) usage("--flicker takes ADDR:BIT:CHANCE");
        o.flaws.flickers.push_back(f);
    } else if (a == "--stuck-line") {
        if (!vboard::parse_stuck_line(next(), &o.flaws.stuckLine, &o.flaws.stuckLevel))
            usage("--stuck-line takes LINE:LEVEL");
    } else
        return false;
    return true;
}

void parse_args(int argc, char** argv, Args& args, Volume& v) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const Next next = [&]() -> std::string {
            if (i + 1 >= argc) usage(("missing value for " + a).c_str());
            return argv[++i];
        };
        if (cartridge_option(a, next, args.cart) || board_option(a, next, args, v) ||
            fault_option(a, next, args.options))
            continue;
        if (a.empty() || a[0] == '-' || !args.mountpoint.empty())
            usage(("unknown argument " + a).c_str());
        args.mountpoint = a;
    }
    if (args.mountpoint.empty()) usage("no mount point");
    if (!args.options.pauses.empty() && args.options.pauseFifo.empty())
        usage("--pause-at needs --pause-fifo");
    // FUSE changes to the root directory: output paths must not depend on ours.
    for (std::string* path :
         {&v.saveOut, &v.flashOut, &args.options.rawLog, &args.options.pauseFifo})
        if (!path->empty()) *path = std::filesystem::absolute(*path).string();
}

// The board with the cartridge the options describe (or an empty slot).
std::unique_ptr<vboard::Board> make_board(const Args& args) {
    const CartArgs& c = args.cart;
    bool ok = true;
    std::vector<uint8_t> save;
    if (!c.saveFile.empty() && (save = read_file(c.saveFile, &ok), !ok))
        usage("cannot read the save");
    std::unique_ptr<vboard::GbCart> gb;
    std::unique_ptr<vboard::GbaCart> gba;
    if (!c.gbRom.empty()) {
        std::vector<uint8_t> rom = read_file(c.gbRom, &ok);
        if (!ok || rom.empty()) usage("cannot read the GB image");
        if (!c.clock.empty() &&
            (rom.size() <= 0x147 || c.clock.size() != vboard::gb_clock_values(rom[0x147])))
            usage("--rtc: this cartridge's clock takes another number of values, or it has none");
        gb = vboard::make_gb_cart(std::move(rom), save, c.clock);
    } else if (!c.gbaRom.empty()) {
        std::vector<uint8_t> rom = read_file(c.gbaRom, &ok);
        if (!ok || rom.empty()) usage("cannot read the GBA image");
        const vboard::GbaSave kind = vboard::gba_save_from_name(c.gbaSave, &ok);
        if (!ok) usage("unknown GBA save kind");
        gba = std::make_unique<vboard::GbaCart>(std::move(rom), kind, save, c.eraseMs, c.gbaMirror);
        if (c.gbaRtc >= 0) gba->attach_clock(c.gbaRtc);
    } else if (c.flashSize) {
        vboard::FlashOptions f;
        f.size = c.flashSize;
        f.wide16 = c.wiring == 16;
        f.eraseMs = c.eraseMs;
        f.banking = c.banking;
        f.query8 = c.flashQuery8;
        f.id = c.flashId;
        if (!c.flashImage.empty()) f.contents = read_file(c.flashImage, &ok);
        gb = vboard::make_flash_cart(f);
    }
    return std::make_unique<vboard::Board>(args.options, std::move(gb), std::move(gba));
}

int run_board(int argc, char** argv) {
    Args args;
    auto v = std::make_unique<Volume>();
    parse_args(argc, argv, args, *v);
    v->board = make_board(args);

    fuse_operations ops{};
    ops.getattr = vb_getattr;
    ops.readdir = vb_readdir;
    ops.open = vb_open;
    ops.truncate = vb_truncate;
    ops.read = vb_read;
    ops.write = vb_write;
    ops.flush = vb_flush;
    ops.fsync = vb_fsync;
    ops.init = vb_init;
    ops.destroy = vb_destroy;
    // One request at a time: the cartridge models are not thread-safe.
    std::vector<const char*> fuseArgs = {argv[0], args.mountpoint.c_str(), "-s", "-o",
                                         "fsname=zelvo-vboard"};
    if (args.foreground) fuseArgs.push_back("-f");
    if (args.readOnly) fuseArgs.insert(fuseArgs.end(), {"-o", "ro"});
    return fuse_main(int(fuseArgs.size()), const_cast<char**>(fuseArgs.data()), &ops, v.get());
}

}  // namespace

int main(int argc, char** argv) {
    // vboard --fork-server FD: boards on request, forked from this process.
    if (argc == 3 && std::strcmp(argv[1], "--fork-server") == 0)
        return vboard::serve_forks(std::atoi(argv[2]), run_board);
    return run_board(argc, argv);
}
