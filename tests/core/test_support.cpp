#include "core/test_support.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <stdexcept>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

namespace tl {

void PrintTo(const Notice& notice, std::ostream* out) {
    *out << "Notice{\"" << notice.text << "\", title \"" << notice.title << "\"}";
}

void PrintTo(const StudentRecord& s, std::ostream* out) {
    *out << "{" << s.classCode << "|" << s.studentNumber << "|" << s.lastName << "|" << s.firstName
         << "|mark " << s.mark << "|cm";
    for (const auto& c : s.comments)
        *out << " [" << c << "]";
    *out << "|skills";
    for (const auto& k : s.skills)
        *out << " [" << k << "]";
    *out << "|" << s.iep << "|" << s.esl << "|" << s.eld << "|" << s.gender << "|"
         << s.trilliumField8 << "|" << s.trilliumField14 << "|" << s.freeFormUsed << "|"
         << s.freeFormText << "|" << s.interview << "}";
}

}  // namespace tl

namespace tl::test {

namespace fs = std::filesystem;

void TempDirTest::SetUp() {
    static std::atomic<int> counter{0};
    std::random_device random;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "tl_core_" + std::string(info ? info->name() : "test") + "_" +
                       std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" +
                       std::to_string(random());
    std::replace(name.begin(), name.end(), '/', '_');
    dir_ = fs::temp_directory_path() / name;
    fs::create_directories(dir_);
}

void TempDirTest::TearDown() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
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
    const std::time_t then = std::mktime(&local);
    const auto sys = std::chrono::system_clock::from_time_t(then);
    fs::last_write_time(path, std::chrono::file_clock::from_sys(sys));
}

FileSizeLimit::FileSizeLimit(unsigned long bytes) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    previous_ = limit.rlim_cur;
    previousHandler_ = signal(SIGXFSZ, SIG_IGN);  // a too-long write fails with EFBIG instead
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = previous_;
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, previousHandler_);
}

std::string crlfLines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
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
    s.iep = "Y";
    s.eld = "Y";
    s.trilliumField8 = "K7";
    s.freeFormUsed = true;
    s.freeFormText = "Reads widely, writes with care, asks good questions.";
    s.interview = "Y";
    return s;
}

}  // namespace tl::test
