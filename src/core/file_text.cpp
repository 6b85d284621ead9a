// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/file_text.h"

#include <iconv.h>
#include <cerrno>
#include <cstring>
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

// The text without the bytes EF BB BF, also where dropping one mark joins
// the bytes around it into another.
std::string withoutMarks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (out.ends_with(kUtf8Mark)) out.resize(out.size() - kUtf8Mark.size());
    }
    return out;
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

}  // namespace

std::optional<std::string> decodeDataFile(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
    if (!bytes.starts_with(kUtf8Mark)) return withoutMarks(bytes);
    bytes.remove_prefix(kUtf8Mark.size());
    const std::optional<std::string> codePoints = utf8ToUtf32(bytes);
    if (!codePoints) return std::nullopt;
    const std::optional<std::string> text = utf32ToCp1252(withoutZeroWidthMarks(*codePoints));
    if (!text) return std::nullopt;
    // "ï»¿" in UTF-8 would be the mark's bytes in Windows-1252.
    return withoutMarks(*text);
}

std::optional<std::string> readDataFile(const std::string& path) {
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) return std::nullopt;
    return decodeDataFile(*bytes);
}

}  // namespace tl
