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

}  // namespace

std::optional<std::string> decodeDataFile(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
    if (!bytes.starts_with(kUtf8Mark)) return std::string(bytes);
    bytes.remove_prefix(kUtf8Mark.size());
    const std::optional<std::string> codePoints = utf8ToUtf32(bytes);
    if (!codePoints) return std::nullopt;
    return utf32ToCp1252(*codePoints);
}

std::optional<std::string> readDataFile(const std::string& path) {
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) return std::nullopt;
    return decodeDataFile(*bytes);
}

}  // namespace tl
