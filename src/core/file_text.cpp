// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/file_text.h"

#include <iconv.h>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "core/file_io.h"

namespace tl {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// glibc's iconv, closed when done.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

// UTF-8 to code points (UTF-32LE bytes); nothing when the text is not UTF-8.
std::optional<std::string> utf8ToUtf32(std::string_view utf8) {
    Converter toUtf32("UTF-32LE", "UTF-8");
    if (!toUtf32.valid()) return std::nullopt;
    std::string out(utf8.size() * 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(toUtf32.get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        return std::nullopt;  // an invalid or incomplete sequence
    }
    out.resize(out.size() - outLeft);
    return out;
}

// Code points to Windows-1252; a character it lacks becomes "?".
std::optional<std::string> utf32ToCp1252(const std::string& utf32) {
    Converter toCp1252("WINDOWS-1252", "UTF-32LE");
    if (!toCp1252.valid()) return std::nullopt;
    std::string out(utf32.size() / 4, '\0');
    char* in = const_cast<char*>(utf32.data());
    std::size_t inLeft = utf32.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(toCp1252.get(), &in, &inLeft, &outPtr, &outLeft) !=
            static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno != EILSEQ || outLeft == 0) return std::nullopt;
        *outPtr++ = '?';
        --outLeft;
        in += 4;
        inLeft -= 4;
    }
    out.resize(out.size() - outLeft);
    return out;
}

// Drops the bytes EF BB BF from text, also where dropping one mark joins the
// bytes around it into another. A text without the three bytes in a row is
// left as it is: nothing is copied.
void dropMarks(std::string& text) {
    const std::size_t first = text.find(kUtf8Mark);
    if (first == std::string::npos) return;
    // Up to the first mark the text is kept as it stands: a mark is first
    // dropped where one ends. From there, each byte is kept after those kept
    // so far, and a mark that the kept bytes end with is taken off again. The
    // kept bytes never outrun the bytes read, so the text is its own buffer.
    std::size_t kept = first;
    for (std::size_t read = first; read < text.size(); ++read) {
        text[kept++] = text[read];
        if (kept >= kUtf8Mark.size() && std::string_view(text.data() + kept - kUtf8Mark.size(),
                                                         kUtf8Mark.size()) == kUtf8Mark) {
            kept -= kUtf8Mark.size();
        }
    }
    text.resize(kept);
}

// Code points without U+FEFF, a zero-width character with no place in the
// program's text.
std::string withoutZeroWidthMarks(const std::string& utf32) {
    constexpr std::string_view kMark("\xFF\xFE\x00\x00", 4);
    std::string out;
    out.reserve(utf32.size());
    for (std::size_t i = 0; i + 4 <= utf32.size(); i += 4) {
        const std::string_view c(utf32.data() + i, 4);
        if (c != kMark) out += c;
    }
    return out;
}

// decodeDataFile on bytes of its own, which a text that needs no conversion
// becomes without a copy.
std::optional<std::string> decodeOwnBytes(std::string bytes) {
    if (bytes.find('\0') != std::string::npos) return std::nullopt;
    if (!std::string_view(bytes).starts_with(kUtf8Mark)) {
        dropMarks(bytes);
        return bytes;
    }
    const std::optional<std::string> codePoints =
        utf8ToUtf32(std::string_view(bytes).substr(kUtf8Mark.size()));
    if (!codePoints) return std::nullopt;
    std::optional<std::string> text = utf32ToCp1252(withoutZeroWidthMarks(*codePoints));
    if (!text) return std::nullopt;
    // "ï»¿" in UTF-8 would be the mark's bytes in Windows-1252.
    dropMarks(*text);
    return text;
}

}  // namespace

std::optional<std::string> decodeDataFile(std::string_view bytes) {
    return decodeOwnBytes(std::string(bytes));
}

std::optional<std::string> readDataFile(const std::string& path) {
    std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) return std::nullopt;
    return decodeOwnBytes(std::move(*bytes));
}

}  // namespace tl
