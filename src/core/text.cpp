// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace tl {

std::string_view nextCsvField(std::string_view& line, bool* unterminated) {
    if (unterminated) *unterminated = false;
    if (!line.empty() && line.front() == '"') {
        const std::size_t close = line.find('"', 1);
        if (close == std::string_view::npos) {
            if (unterminated) *unterminated = true;
            std::string_view field = line.substr(1);
            line = {};
            return field;
        }
        std::string_view field = line.substr(1, close - 1);
        // The closing quote and the character after it (normally the comma) are dropped.
        line = close + 2 <= line.size() ? line.substr(close + 2) : std::string_view{};
        return field;
    }
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) {
        std::string_view field = line;
        line = {};
        return field;
    }
    std::string_view field = line.substr(0, comma);
    line = line.substr(comma + 1);
    return field;
}

std::string nextCsvField(std::string& line, bool* unterminated) {
    std::string_view view = line;
    std::string field(nextCsvField(view, unterminated));
    line = std::string(view);
    return field;
}

std::string unquotable(std::string_view value) {
    std::string out(value);
    for (char& ch : out) {
        if (ch == '"') {
            ch = '\'';
        } else if (ch == '\r' || ch == '\n') {
            ch = ' ';
        }
    }
    return out;
}

std::string csvField(std::string_view value) {
    std::string out = unquotable(value);
    if (out.find(',') != std::string::npos) out = "\"" + out + "\"";
    return out;
}

int countChar(std::string_view text, char c) {
    int n = 0;
    for (char ch : text)
        n += ch == c ? 1 : 0;
    return n;
}

std::string alphanumericOnly(std::string_view text) {
    std::string out;
    for (char ch : text) {
        if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9')) {
            out += ch;
        }
    }
    return out;
}

std::string padLeftZeros(std::string_view text, int width) {
    std::string out(text);
    if (static_cast<int>(out.size()) < width) out.insert(0, width - out.size(), '0');
    return out;
}

std::string padRight(std::string_view text, int width) {
    std::string out(text);
    if (static_cast<int>(out.size()) < width) out.append(width - out.size(), ' ');
    return out;
}

namespace {
char upperCp1252(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char>(c - 0x20);
    switch (c) {
        case 0x9A:
            return static_cast<char>(0x8A);  // s caron
        case 0x9C:
            return static_cast<char>(0x8C);  // oe
        case 0x9E:
            return static_cast<char>(0x8E);  // z caron
        case 0xFF:
            return static_cast<char>(0x9F);  // y diaeresis
        default:
            return ch;
    }
}
}  // namespace

std::string toUpperCp1252(std::string_view text) {
    std::string out(text);
    for (char& ch : out)
        ch = upperCp1252(ch);
    return out;
}

int findIgnoreCase(std::string_view text, std::string_view sought) {
    if (text.empty()) return 0;
    if (sought.empty()) return 1;
    const std::size_t pos = toUpperCp1252(text).find(toUpperCp1252(sought));
    return pos == std::string::npos ? 0 : static_cast<int>(pos) + 1;
}

std::string threePartNumber(const std::string& number, std::string_view separator) {
    const std::string first = number.substr(0, 3);
    const std::string middle = number.size() > 3 ? number.substr(3, 3) : std::string();
    const std::string last = number.size() <= 3 ? number : number.substr(number.size() - 3);
    return first + std::string(separator) + middle + std::string(separator) + last;
}

std::string_view trimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string nextWord(std::string& text) {
    text = std::string(trimBlanks(text));
    const std::size_t blank = text.find(' ');
    if (blank == std::string::npos) {
        std::string word = std::move(text);
        text.clear();
        return word;
    }
    std::string word = text.substr(0, blank);
    text.erase(0, blank + 1);
    return word;
}

std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    if (bytes.empty()) return lines;
    const char* const end = bytes.data() + bytes.size();
    // The next CR and the next LF, each searched for afresh only once passed.
    const auto next = [end](const char* from, char ch) {
        const void* found = std::memchr(from, ch, static_cast<std::size_t>(end - from));
        return found != nullptr ? static_cast<const char*>(found) : end;
    };
    const char* start = bytes.data();
    const char* cr = next(start, '\r');
    const char* lf = next(start, '\n');
    while (start < end) {
        const char* const stop = std::min(cr, lf);
        if (stop == end) break;
        lines.emplace_back(start, static_cast<std::size_t>(stop - start));
        start = stop + 1;
        if (*stop == '\r' && start < end && *start == '\n') ++start;
        if (cr < start) cr = next(start, '\r');
        if (lf < start) lf = next(start, '\n');
    }
    if (start < end) lines.emplace_back(start, static_cast<std::size_t>(end - start));
    return lines;
}

bool parseInt16(std::string_view text, int& value) {
    text = trimBlanks(text);
    // An optional sign, then digits only: "+-5" is not a number.
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    if (text.front() == '+') text.remove_prefix(1);
    int parsed = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    if (parsed < -32768 || parsed > 32767) return false;
    value = parsed;
    return true;
}

double leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    std::string digits;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) digits += text[i++];
    bool seenPoint = false;
    bool seenDigit = false;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch >= '0' && ch <= '9') {
            seenDigit = true;
        } else if (ch == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        digits += ch;
    }
    if (!seenDigit) return 0.0;
    // from_chars reads the same under every locale; it takes no "+".
    const char* first = digits.data();
    if (*first == '+') ++first;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(first, digits.data() + digits.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too large in magnitude, or too close to zero.
        const std::string_view whole(first, static_cast<std::size_t>(end - first));
        const std::string_view integer = whole.substr(0, whole.find('.'));
        const bool large = integer.find_first_not_of("-0") != std::string_view::npos;
        if (!large) return 0.0;
        return *first == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

}  // namespace tl
