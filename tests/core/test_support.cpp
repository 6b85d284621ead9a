#include "core/test_support.h"

#include <fstream>
#include <stdexcept>

#include <stdlib.h>

#include "core/class_file.h"
#include "core/file_io.h"

namespace tl {

void PrintTo(const Notice& notice, std::ostream* out) {
    *out << "Notice{\"" << notice.text << "\", title \"" << notice.title << "\"}";
}

// The class-file line, and field 14, which the file leaves out.
void PrintTo(const StudentRecord& s, std::ostream* out) {
    *out << classFileLine(s) << " (field 14 \"" << s.trilliumField14 << "\")";
}

}  // namespace tl

namespace tl::test {

void TempDirTest::SetUp() {
    std::string pattern = (fs::temp_directory_path() / "tl_core_XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create " + pattern);
    dir_ = pattern;
}

void writeBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot write " + path.string());
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Failure saveWhileWritesFail(const fs::path& path, const std::function<Failure()>& save) {
    writeBytes(path, "earlier\r\n");
    auto entries = [&] { return std::distance(fs::directory_iterator(path.parent_path()), {}); };
    const auto before = entries();
    const WriteCall real = writeCall;
    writeCall = [](int, const void*, std::size_t) -> long { return 0; };
    const Failure failure = save();
    writeCall = real;
    EXPECT_EQ(readBytes(path), "earlier\r\n");
    EXPECT_EQ(entries(), before) << "a temporary file was left behind";
    return failure;
}

std::string crlfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

std::string repeated(const std::string& text, int count) {
    std::string result;
    while (count-- > 0)
        result += text;
    return result;
}

StudentRecord makeStudent(const std::string& classCode, const std::string& lastName,
                          const std::string& firstName, const std::string& number) {
    StudentRecord s;
    s.classCode = classCode;
    s.studentNumber = number;
    s.lastName = lastName;
    s.firstName = firstName;
    s.skills.fill("3");
    s.gender = "F";
    s.interview = "0";
    return s;
}

StudentRecord makeMarkedStudent(const std::string& classCode, const std::string& lastName,
                                const std::string& firstName, const std::string& number) {
    StudentRecord s = makeStudent(classCode, lastName, firstName, number);
    s.mark = "78";
    s.comments = {"0012", "0034", "    ", "", "0056"};
    s.skills = {"4", "3", "2", "1", "", "4"};
    s.iep = s.eld = s.interview = "Y";
    s.trilliumField8 = "K7";
    s.freeFormUsed = true;
    s.freeFormText = "Reads widely, writes with care, asks good questions.";
    return s;
}

}  // namespace tl::test
