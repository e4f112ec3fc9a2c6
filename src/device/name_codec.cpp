#include "device/name_codec.h"

#include <cstdint>

namespace {

constexpr uint kEscape = 0xDC00;
constexpr int kMaxPending = 3;  // bytes of a sequence cut at the end of a chunk

uint code_point(const uint8_t* p, int len) {
    if (len == 1) return p[0];
    uint c = p[0] & (0xFF >> (len + 1));
    for (int k = 1; k < len; ++k) c = c << 6 | (p[k] & 0x3F);
    return c;
}

// Bytes of the valid sequence at p; 0 when invalid; -count when the sequence
// is valid so far but cut off after count bytes.
int sequence_length(const uint8_t* p, int left) {
    const uint8_t lead = p[0];
    if (lead < 0x80) return 1;
    int len = 0;
    uint min = 0;
    if ((lead & 0xE0) == 0xC0) {
        len = 2, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4, min = 0x10000;
    } else {
        return 0;
    }
    for (int k = 1; k < len; ++k) {
        if (k >= left) return -left;
        if ((p[k] & 0xC0) != 0x80) return 0;
    }
    const uint c = code_point(p, len);
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return len;
}

void append_utf8(QByteArray& out, uint c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | c >> 18);
        out += char(0x80 | (c >> 12 & 0x3F));
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

}  // namespace

QString ByteKeepingUtf8::convertToUnicode(const char* in, int length, ConverterState* state) const {
    QByteArray bytes;
    if (state && state->remainingChars > 0) {
        for (int i = 0; i < state->remainingChars; ++i) bytes += char(state->state_data[i]);
        state->remainingChars = 0;
    }
    bytes.append(in, length);
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData());
    const int n = bytes.size();
    QString out;
    out.reserve(n);
    for (int i = 0; i < n;) {
        const int len = sequence_length(p + i, n - i);
        if (len > 0) {
            const uint c = code_point(p + i, len);
            out += QString::fromUcs4(&c, 1);
            i += len;
        } else if (len < 0 && state && -len <= kMaxPending) {
            // A sequence cut at the end of this chunk continues in the next.
            state->remainingChars = n - i;
            for (int k = 0; k < n - i; ++k) state->state_data[k] = p[i + k];
            break;
        } else {
            out += QChar(ushort(kEscape + p[i]));
            ++i;
        }
    }
    return out;
}

QByteArray ByteKeepingUtf8::convertFromUnicode(const QChar* in, int length, ConverterState*) const {
    QByteArray out;
    out.reserve(length * 3);
    for (int i = 0; i < length; ++i) {
        uint c = in[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < length && in[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(ushort(c), in[++i].unicode());
        } else if (c >= kEscape + 0x80 && c <= kEscape + 0xFF) {
            out += char(c - kEscape);
            continue;
        } else if (QChar::isSurrogate(c)) {
            out += '?';
            continue;
        }
        append_utf8(out, c);
    }
    return out;
}
