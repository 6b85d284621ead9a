#include "core/test_support.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

namespace tl {

void PrintTo(const Notice& notice, std::ostream* out) {
    *out << "Notice{\"" << notice.text << "\", title \"" << notice.title << "\"}";
}

void PrintTo(const StudentRecord& s, std::ostream* out) {
    *out << "{";
    for (const std::string& field : {s.classCode, s.studentNumber, s.lastName, s.firstName, s.mark})
        *out << field << "|";
    for (const auto& field : s.comments)
        *out << "[" << field << "]";
    for (const auto& field : s.skills)
        *out << "(" << field << ")";
    for (const std::string& field :
         {s.iep, s.esl, s.eld, s.gender, s.trilliumField8, s.trilliumField14,
          std::string(s.freeFormUsed ? "used" : "-"), s.freeFormText, s.interview})
        *out << "|" << field;
    *out << "}";
}

}  // namespace tl

namespace tl::test {

void TempDirTest::SetUp() {
    std::string pattern = (fs::temp_directory_path() / "tl_core_XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create " + pattern);
    dir_ = pattern;
}

void TempDirTest::TearDown() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
}

std::size_t TempDirTest::entries() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
}

void writeBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path.string());
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void setFileAgeDays(const fs::path& path, int days) {
    // Counted back in local calendar days, so that a change of daylight saving time
    // in between does not move the file onto another day.
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    local.tm_mday -= days;
    local.tm_isdst = -1;
    const auto sys = std::chrono::system_clock::from_time_t(std::mktime(&local));
    fs::last_write_time(path, std::chrono::file_clock::from_sys(sys));
}

void withFileSizeLimit(unsigned long bytes, const std::function<void()>& write) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlim_t previous = limit.rlim_cur;
    auto* previousHandler = signal(SIGXFSZ, SIG_IGN);  // a too-long write fails with EFBIG instead
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    write();
    limit.rlim_cur = previous;
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, previousHandler);
}

std::string crlfLines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

std::string repeated(const std::string& text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i)
        result += text;
    return result;
}

std::vector<Phrase> phraseTable(std::initializer_list<Phrase> phrases) {
    std::vector<Phrase> table(phrases);
    std::stable_sort(table.begin(), table.end(),
                     [](const Phrase& a, const Phrase& b) { return a.code < b.code; });
    return table;
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
