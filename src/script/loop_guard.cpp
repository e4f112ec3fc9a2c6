#include "script/loop_guard.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

enum class Kind { End, Word, Text, Punct };

struct Token {
    Kind kind;
    int begin;
    int end;
};

bool word_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The end of a quoted text that starts at `at` (after any '@').
int text_end(const QByteArray& s, int at, bool verbatim) {
    const char quote = s[at];
    int i = at + 1;
    while (i < s.size()) {
        if (verbatim) {
            if (s[i] == quote) {
                if (i + 1 < s.size() && s[i + 1] == quote) {
                    i += 2;  // "" stands for one quote
                    continue;
                }
                return i + 1;
            }
        } else if (s[i] == '\\') {
            i += 2;
            continue;
        } else if (s[i] == quote || s[i] == '\n') {
            return s[i] == quote ? i + 1 : i;
        }
        ++i;
    }
    return int(s.size());
}

// The next token at or after `i`, past blanks and comments (//, # and /* */).
Token next_token(const QByteArray& s, int i) {
    const int n = int(s.size());
    while (i < n) {
        const char c = s[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
        } else if (c == '#' || (c == '/' && i + 1 < n && s[i + 1] == '/')) {
            while (i < n && s[i] != '\n') ++i;
        } else if (c == '/' && i + 1 < n && s[i + 1] == '*') {
            const int close = s.indexOf("*/", i + 2);
            i = close < 0 ? n : close + 2;
        } else {
            break;
        }
    }
    if (i >= n) return {Kind::End, n, n};
    const char c = s[i];
    if (c == '"' || c == '\'') return {Kind::Text, i, text_end(s, i, false)};
    if (c == '@' && i + 1 < n && s[i + 1] == '"') return {Kind::Text, i, text_end(s, i + 1, true)};
    if (word_char(c)) {
        int end = i;
        while (end < n && word_char(s[end])) ++end;
        return {Kind::Word, i, end};
    }
    return {Kind::Punct, i, i + 1};
}

bool is_word(const QByteArray& s, const Token& t, const char* word) {
    const int length = int(std::strlen(word));
    return t.kind == Kind::Word && t.end - t.begin == length &&
           std::memcmp(s.constData() + t.begin, word, size_t(length)) == 0;
}

bool is_punct(const QByteArray& s, const Token& t, char c) {
    return t.kind == Kind::Punct && s[t.begin] == c;
}

struct Insertion {
    int at;
    QByteArray text;
};

// The header of a loop: where its parentheses open and close, and the
// top-level semicolons between them.
struct Header {
    int open = -1;
    int close = -1;
    std::vector<int> semicolons;
};

Header read_header(const QByteArray& s, int from) {
    Header h;
    Token t = next_token(s, from);
    if (!is_punct(s, t, '(')) return h;
    h.open = t.begin;
    int depth = 0;
    for (t = next_token(s, t.end); t.kind != Kind::End; t = next_token(s, t.end)) {
        if (t.kind != Kind::Punct) continue;
        const char c = s[t.begin];
        if (c == '(' || c == '[' || c == '{') {
            ++depth;
        } else if (c == ')' || c == ']' || c == '}') {
            if (depth == 0) {
                if (c == ')') h.close = t.begin;
                return h;
            }
            --depth;
        } else if (c == ';' && depth == 0) {
            h.semicolons.push_back(t.begin);
        }
    }
    return h;
}

bool blank(const QByteArray& s, int begin, int end) {
    return next_token(s, begin).begin >= end;
}

void wrap(const QByteArray& s, const QByteArray& tick, int begin, int end,
          std::vector<Insertion>* out) {
    const QByteArray call = tick + '(';
    if (blank(s, begin, end)) {
        out->push_back({begin, call + "true)"});
    } else {
        out->push_back({begin, call + '('});
        out->push_back({end, "))"});
    }
}

// Where the body of the function whose keyword ends at `from` opens, past its
// name ("a::b") and parameters; -1 when the text is no function definition.
int body_of(const QByteArray& s, int from) {
    Token t = next_token(s, from);
    while (t.kind == Kind::Word || is_punct(s, t, ':') || is_punct(s, t, '.'))
        t = next_token(s, t.end);
    if (!is_punct(s, t, '(')) return -1;
    const Header h = read_header(s, t.begin);
    if (h.close < 0) return -1;
    const Token body = next_token(s, h.close + 1);
    return is_punct(s, body, '{') ? body.end : -1;
}

}  // namespace

QByteArray guard_loops(const QByteArray& source, const QByteArray& tick) {
    std::vector<Insertion> insertions;
    for (Token t = next_token(source, 0); t.kind != Kind::End; t = next_token(source, t.end)) {
        if (is_word(source, t, "function") || is_word(source, t, "constructor")) {
            const int body = body_of(source, t.end);
            if (body >= 0) insertions.push_back({body, tick + "(0);"});
            continue;
        }
        if (is_punct(source, t, '@')) {
            // A lambda's body is one expression: the call goes before it, as
            // a condition that is never true.
            const Header h = read_header(source, t.end);
            if (h.close >= 0) insertions.push_back({h.close + 1, ' ' + tick + "(0) ? null :"});
            continue;
        }
        const bool isWhile = is_word(source, t, "while");
        if (!isWhile && !is_word(source, t, "for")) continue;
        const Header h = read_header(source, t.end);
        if (h.close < 0) continue;
        if (isWhile && h.semicolons.empty() && !blank(source, h.open + 1, h.close)) {
            wrap(source, tick, h.open + 1, h.close, &insertions);
        } else if (!isWhile && h.semicolons.size() == 2) {
            wrap(source, tick, h.semicolons[0] + 1, h.semicolons[1], &insertions);
        }
    }
    std::stable_sort(insertions.begin(), insertions.end(),
                     [](const Insertion& a, const Insertion& b) { return a.at < b.at; });
    QByteArray out;
    out.reserve(source.size() + int(insertions.size()) * 24);
    int copied = 0;
    for (const Insertion& i : insertions) {
        out.append(source.constData() + copied, i.at - copied);
        out.append(i.text);
        copied = i.at;
    }
    out.append(source.constData() + copied, source.size() - copied);
    return out;
}
