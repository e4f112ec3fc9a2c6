#include "board.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "device/crc.h"
#include "device/protocol.h"

namespace vboard {

using namespace proto;

Board::Board(BoardOptions options, std::unique_ptr<GbCart> gb, std::unique_ptr<GbaCart> gba)
    : m_options(std::move(options)),
      m_gb(std::move(gb)),
      m_gba(std::move(gba)),
      m_flaws(m_options.flaws),
      m_flawed(m_flaws.any()) {
    if (!m_gb) m_gb = make_empty_slot();
    uint8_t key[kKeyLength] = {};
    std::copy_n(m_options.serial.begin(), std::min<size_t>(kKeyLength, m_options.serial.size()),
                key);
    bf::Blowfish_Init(&m_cipher, key, kKeyLength);
}

void Board::note(const std::string& line) {
    if (m_options.rawLog.empty()) return;
    if (FILE* f = std::fopen((m_options.rawLog + ".txt").c_str(), "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

bool parse_pause_point(const std::string& text, PausePoint* point) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return false;
    const std::string what = text.substr(0, colon);
    char* end = nullptr;
    const long n = std::strtol(text.c_str() + colon + 1, &end, 10);
    if (*end || n < 1) return false;
    point->occurrence = int(n);
    point->text = text;
    if (what == "ident") {
        point->kind = PausePoint::Kind::Ident;
    } else if (what == "data") {
        point->kind = PausePoint::Kind::Data;
    } else {
        const unsigned long code = std::strtoul(what.c_str(), &end, 16);
        if (what.size() != 4 || *end) return false;
        point->kind = PausePoint::Kind::Command;
        point->group = uint8_t(code >> 8);
        point->op = uint8_t(code);
    }
    return true;
}

bool Board::operation() {
    ++m_operations;
    if (m_options.vanishAfter >= 0 && m_operations > m_options.vanishAfter) m_gone = true;
    return !m_gone && (m_options.failAfter < 0 || m_operations <= m_options.failAfter);
}

namespace {

bool holds_block(const uint8_t* data, size_t len, uint8_t group, uint8_t op) {
    for (size_t at = 0; at + kBlockSize <= len; at += kBlockSize)
        if (data[at + kGroupOffset] == group && data[at + kOpOffset] == op) return true;
    return false;
}

}  // namespace

void Board::pause(PausePoint::Kind kind, const uint8_t* data, size_t len) {
    for (PausePoint& p : m_options.pauses) {
        if (p.kind != kind) continue;
        if (kind == PausePoint::Kind::Command && !holds_block(data, len, p.group, p.op)) continue;
        if (++p.seen != p.occurrence) continue;
        note("pause at " + p.text);
        // Each open waits for the test's end of the FIFO: the board stands
        // still until the test has done what it does at this point.
        if (FILE* told = std::fopen((m_options.pauseFifo + ".pause").c_str(), "w")) {
            std::fprintf(told, "%s\n", p.text.c_str());
            std::fclose(told);
        }
        if (FILE* resume = std::fopen((m_options.pauseFifo + ".resume").c_str(), "r")) {
            std::fgetc(resume);
            std::fclose(resume);
        }
    }
}

void Board::link_time(size_t bytes) const {
    if (m_options.usbBytesPerSecond <= 0 && m_options.usbLatencyUs <= 0) return;
    const double seconds =
        m_options.usbLatencyUs / 1e6 +
        (m_options.usbBytesPerSecond > 0 ? bytes / m_options.usbBytesPerSecond : 0);
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

bool Board::command_write(const uint8_t* data, size_t len) {
    pause(PausePoint::Kind::Command, data, len);
    if (!operation()) return false;
    link_time(len);
    ++m_traffic.commands;
    m_traffic.commandBytes += int64_t(len);
    if (!m_options.rawLog.empty()) {
        if (FILE* f = std::fopen(m_options.rawLog.c_str(), "ab")) {
            const uint32_t n = uint32_t(len);
            std::fwrite(&n, sizeof n, 1, f);
            if (len) std::fwrite(data, 1, len, f);
            std::fclose(f);
        }
    }
    note("write " + std::to_string(len) + " bytes");
    if (m_options.latencyMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(m_options.latencyMs));
    for (size_t at = 0; at + kBlockSize <= len; at += kBlockSize) {
        const uint8_t* block = data + at;
        const uint16_t crc = crc::generate_crc16(block, kBlockSize);
        const bool framed = block[kMagicOffset] == kMagic && block[kCrcHiOffset] == (crc >> 8) &&
                            block[kCrcLoOffset] == (crc & 0xFF);
        if (!framed) {
            ++m_rejected;
            note("rejected block " + std::to_string(at / kBlockSize) +
                 (block[kMagicOffset] != kMagic ? ": no Z" : ": bad CRC"));
            continue;
        }
        ++m_executed;
        execute(block);
    }
    if (len % kBlockSize) note("ignored " + std::to_string(len % kBlockSize) + " trailing bytes");
    return true;
}

void Board::execute(const uint8_t* block) {
    const uint8_t group = block[kGroupOffset], op = block[kOpOffset];
    m_serialAnswer = group == kGroupDevice && op == kOpSerial;
    if (group == kGroupDevice) {
        if (op == kOpGbMode) m_mode = Mode::Gb;
        if (op == kOpGbaMode) m_mode = Mode::Gba;
        if (op == kOpSerial) m_result.assign(m_options.serial.begin(), m_options.serial.end());
    } else if (group == kGroupGb) {
        execute_gb(block);
    } else if (group == kGroupGba) {
        execute_gba(block);
    }
}

void Board::execute_gb(const uint8_t* block) {
    const uint8_t op = block[kOpOffset];
    const uint16_t address = uint16_t(get16(block + kGbAddr));
    const uint32_t count = std::min(get16(block + kGbCount), kGbChunk);
    switch (op) {
        case kOpGbCpuWrite:
            m_gb->write(address, block[kGbValue]);
            break;
        case kOpGbSramWrite:
            for (uint32_t i = 0; i < count; ++i)
                m_gb->write(uint16_t(address + i), block[kGbData + i]);
            break;
        case kOpGbFlash29f:
        case kOpGbFlash29lv: {
            uint8_t data[kGbChunk];
            std::memcpy(data, block + kGbData, kGbChunk);
            uint32_t l = get32(data), r = get32(data + 4);
            bf::Blowfish_Decrypt(&m_cipher, &l, &r);
            put32(data, l);
            put32(data + 4, r);
            if (!m_gb->program(op == kOpGbFlash29lv, address, data, count))
                note("flash op " + std::to_string(op) +
                     " does not match the chip: nothing programmed");
            break;
        }
        default:
            break;
    }
}

void Board::execute_gba(const uint8_t* block) {
    const uint8_t op = block[kOpOffset];
    const uint32_t count = get16(block + kGbaCount);
    switch (op) {
        case kOpGbaCpuRead:
            m_latched = get24(block + kGbaAddr);
            break;
        case kOpGbaSaveErase:
            if (m_gba) m_gba->erase();
            break;
        case kOpGbaSramRead:
        case kOpGbaFlash64kRead:
        case kOpGbaFlash128kRead:
            m_result.assign(count, 0xFF);
            if (m_gba) m_gba->save_read(get24(block + kGbaAddr), m_result.data(), count);
            break;
        case kOpGbaEep512Read:
        case kOpGbaEep8kRead:
            m_result.assign(count, 0xFF);
            if (m_gba)
                m_gba->eeprom_read(op == kOpGbaEep8kRead, get16(block + kGbaAddr), m_result.data(),
                                   count);
            break;
        case kOpGbaSramWrite:
        case kOpGbaFlash64kWrite:
        case kOpGbaFlash128kWrite: {
            const uint32_t address =
                op == kOpGbaFlash128kWrite ? get24(block + kGbaAddr) : get16(block + kGbaAddr);
            if (m_gba)
                m_gba->save_write(address, block + kGbaData, std::min(count, kGbaWriteChunk));
            break;
        }
        case kOpGbaEep512Write:
            if (m_gba)
                m_gba->eeprom_write(false, get32(block + kGbaAddr), block + kGbaData, kGbaEepHalf);
            break;
        case kOpGbaEep8kWrite:
            if (m_gba)
                m_gba->eeprom_write(true, get16(block + kGbaAddr), block + kGbaData, kGbaEepHalf);
            break;
        case kOpGbaCpuWrite:
            if (m_gba)
                m_gba->bus_write(get32(block + kGbaAddr), uint16_t(get16(block + kGbaValue)));
            break;
        default:
            break;  // init: a ROM cartridge ignores it
    }
}

bool Board::read_ident(uint64_t offset, uint8_t* dest, size_t len) {
    pause(PausePoint::Kind::Ident);
    if (!operation()) return false;
    link_time(len);
    ++m_traffic.identReads;
    m_traffic.identBytes += int64_t(len);
    if (m_options.failSerial && m_serialAnswer && offset < kIdentRecordOffset) return false;
    for (size_t i = 0; i < len; ++i) {
        const uint64_t at = offset + i;
        uint8_t value = 0;
        if (at < kIdentRecordOffset) {
            value = at < m_result.size() ? m_result[at] : 0;
        } else if (at - kIdentRecordOffset < m_options.label.size()) {
            value = uint8_t(m_options.label[at - kIdentRecordOffset]);
        }
        dest[i] = value;
    }
    return true;
}

bool Board::read_data(uint64_t offset, uint8_t* dest, size_t len) {
    pause(PausePoint::Kind::Data);
    if (!operation()) return false;
    link_time(len);
    ++m_traffic.dataReads;
    m_traffic.dataBytes += int64_t(len);
    for (size_t i = 0; i < len; ++i) {
        const uint64_t at = offset + i;
        if (m_mode == Mode::Gb) {
            uint8_t value = at < 0x10000 ? m_gb->read(uint16_t(at)) : 0xFF;
            if (int64_t(at) == m_options.corruptGb) value ^= 0x01;
            if (int64_t(at) == m_options.flakyGb && ++m_flakyReads % 2 == 0) value ^= 0x01;
            dest[i] = m_flawed ? m_flaws.apply(uint32_t(at), value, false) : value;
        } else {
            // The board streams halfwords from the latched address on.
            const uint32_t address = uint32_t(m_latched * 2 + at);
            const uint8_t value = m_gba ? m_gba->rom_byte(address) : 0xFF;
            dest[i] = m_flawed ? m_flaws.apply(address, value, true) : value;
        }
    }
    return true;
}

}  // namespace vboard
