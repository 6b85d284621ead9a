// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/master_file.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/file_io.h"
#include "core/file_text.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/text.h"

namespace tl {

namespace fs = std::filesystem;

std::string dataRootFolder(const std::string& programFolder) {
    std::string folder = programFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const std::size_t slash = folder.find_last_of("/\\");
    if (slash == std::string::npos) return "";
    return folder.substr(0, slash);
}

namespace {
// The entry of folder whose name equals name without regard to letter case.
std::string findIgnoringCase(const fs::path& folder, const std::string& name, bool wantFolder) {
    std::error_code ec;
    const std::string wanted = toUpperCp1252(name);
    const fs::path exact = folder / name;
    if (wantFolder ? fs::is_directory(exact, ec) : fs::is_regular_file(exact, ec)) {
        return exact.string();
    }
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (toUpperCp1252(it->path().filename().string()) != wanted) continue;
        const bool ok = wantFolder ? it->is_directory(ec) : it->is_regular_file(ec);
        if (ok) return it->path().string();
    }
    return "";
}
}  // namespace

std::string findMasterFile(const std::string& dataRoot) {
    const fs::path fallback = fs::path(dataRoot) / kDataFolderName / kMasterFileName;
    const std::string data = findIgnoringCase(dataRoot, kDataFolderName, true);
    if (data.empty()) return fallback.string();
    const std::string file = findIgnoringCase(data, kMasterFileName, false);
    return file.empty() ? fallback.string() : file;
}

std::string timetableField(std::string line) {
    std::string_view rest = line;
    for (int i = 0; i < 14; ++i)
        nextCsvField(rest);
    return std::string(nextCsvField(rest));
}

int calendarDaysBetween(std::time_t from, std::time_t to) {
    using namespace std::chrono;
    auto localDay = [](std::time_t t) {
        std::tm parts{};
        localtime_r(&t, &parts);
        return sys_days(year{parts.tm_year + 1900} /
                        month{static_cast<unsigned>(parts.tm_mon + 1)} /
                        day{static_cast<unsigned>(parts.tm_mday)});
    };
    return static_cast<int>((localDay(to) - localDay(from)).count());
}

std::optional<int> masterFileAgeDays(const std::string& path, std::time_t now) {
    std::error_code ec;
    const fs::file_time_type written = fs::last_write_time(path, ec);
    if (ec) return std::nullopt;
    const auto sys = std::chrono::file_clock::to_sys(written);
    return calendarDaysBetween(std::chrono::system_clock::to_time_t(
                                   std::chrono::time_point_cast<std::chrono::seconds>(sys)),
                               now);
}

bool masterFileTooOld(int ageDays) {
    return ageDays > kMaxMasterAgeDays;
}

std::vector<std::string> masterStudentLines(std::string_view text) {
    const std::vector<std::string_view> lines = splitLines(text);
    std::vector<std::string> students;
    students.reserve(lines.empty() ? 0 : lines.size() - 1);
    for (std::size_t i = 1; i < lines.size(); ++i)
        students.emplace_back(lines[i]);
    return students;
}

std::optional<std::vector<std::string>> readMasterStudentLines(const std::string& path) {
    const std::optional<std::string> text = readDataFile(path);
    if (!text) return std::nullopt;
    return masterStudentLines(*text);
}

MasterStudent parseMasterLine(std::string_view line) {
    MasterStudent m;
    std::string_view rest = line;
    for (int column = 1; column <= 14; ++column) {
        const std::string_view field = nextCsvField(rest);
        switch (column) {
            case 1:
                m.lastName = std::string(field);
                break;
            case 2:
                m.firstName = std::string(field);
                break;
            case 3:
                m.gender = std::string(field);
                break;
            case 4:
                m.studentNumber = std::string(field);
                break;
            case 8:
                m.field8 = std::string(field);
                break;
            case 14:
                m.field14 = std::string(field);
                break;
            default:
                break;
        }
    }
    m.rest = std::string(rest);
    return m;
}

bool studentInSection(std::string_view rest, std::string_view code) {
    // An empty code would take in the whole school.
    return !code.empty() && rest.find(code) != std::string_view::npos;
}

bool isNonSectionWord(std::string_view word) {
    return word.starts_with("LUNCH") || word.starts_with("SH1") || word.starts_with("Z");
}

std::optional<std::vector<std::string>> collectClassSections(
    const std::vector<std::string>& studentLines) {
    std::vector<std::string> sections;
    std::unordered_set<std::string> seen;
    for (const std::string& line : studentLines) {
        std::string timetable = timetableField(line);
        while (!timetable.empty()) {
            std::string word = nextWord(timetable);
            if (word.empty() || isNonSectionWord(word)) continue;
            if (!seen.insert(word).second) continue;
            if (sections.size() >= static_cast<std::size_t>(kMaxSections)) return std::nullopt;
            sections.push_back(std::move(word));
        }
    }
    std::stable_sort(sections.begin(), sections.end());
    return sections;
}

StudentRecord newStudentFromMaster(const MasterStudent& master, const std::string& code) {
    StudentRecord s;
    s.classCode = code;
    s.studentNumber = master.studentNumber;
    s.lastName = master.lastName;
    s.firstName = master.firstName;
    s.gender = master.gender;
    s.trilliumField8 = master.field8;
    s.trilliumField14 = master.field14;
    s.skills.fill("3");
    s.interview = "0";
    return s;
}

namespace {

// The students of enrolment lines in the sections of codes, line by line.
class SectionMatcher {
  public:
    SectionMatcher(const std::vector<std::string>& codes, std::size_t capacity,
                   std::size_t expected)
        : codes_(codes), capacity_(capacity) {
        // The codes are looked for after the 14th field, part of the line: a line
        // that holds none of them anywhere is not parsed. The sections of a course
        // share the start of their codes, which rules most lines out at once.
        shared_ = codes.empty() ? std::string_view{} : std::string_view(codes[0]);
        for (const std::string& code : codes) {
            std::size_t n = 0;
            while (n < shared_.size() && n < code.size() && shared_[n] == code[n])
                ++n;
            shared_ = shared_.substr(0, n);
        }
        matched_.reserve(std::min(expected, capacity));
    }
    // The start the codes share; empty when they share none.
    std::string_view shared() const { return shared_; }
    // Takes the line's students; false when there are more than the capacity.
    bool take(std::string_view line) {
        if (!shared_.empty() && line.find(shared_) == std::string_view::npos) return true;
        if (std::none_of(codes_.begin(), codes_.end(),
                         [line](const std::string& code) { return studentInSection(line, code); }))
            return true;
        const MasterStudent master = parseMasterLine(line);
        for (const std::string& code : codes_) {
            if (!studentInSection(master.rest, code)) continue;
            if (matched_.size() >= capacity_) return false;
            matched_.push_back(newStudentFromMaster(master, code));
        }
        return true;
    }
    std::vector<StudentRecord> students() { return std::move(matched_); }

  private:
    const std::vector<std::string>& codes_;
    std::size_t capacity_;
    std::string_view shared_;
    std::vector<StudentRecord> matched_;
};

// The students of the enrolment lines from `first` on in the sections of codes.
template <typename Lines>
std::optional<std::vector<StudentRecord>> matchLines(const Lines& lines, std::size_t first,
                                                     const std::vector<std::string>& codes,
                                                     std::size_t capacity) {
    SectionMatcher matcher(codes, capacity, 0);
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (!matcher.take(lines[i])) return std::nullopt;
    }
    return matcher.students();
}

// Lines end at CR, LF or both, as splitLines has them.
bool isEnd(char c) {
    return c == '\r' || c == '\n';
}

// Gives the matcher the lines of text that hold the codes' shared start.
// The text holds whole lines; when it begins the file, its first line is the
// heading and is left out. False when there are more students than room.
bool takeHits(std::string_view text, bool beginsFile, SectionMatcher& matcher) {
    const std::string_view shared = matcher.shared();
    std::size_t from = 0;
    while (from < text.size()) {
        // The library's search skips ahead by pairs of bytes; a plain find
        // stops at every byte that starts the code, and the letters of codes
        // are common in enrolment lines.
        const void* found =
            memmem(text.data() + from, text.size() - from, shared.data(), shared.size());
        if (found == nullptr) break;
        const auto hit = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
        std::size_t start = hit;
        while (start > 0 && !isEnd(text[start - 1]))
            --start;
        std::size_t stop = hit;
        while (stop < text.size() && !isEnd(text[stop]))
            ++stop;
        if ((start > 0 || !beginsFile) && !matcher.take(text.substr(start, stop - start)))
            return false;
        from = stop;
    }
    return true;
}

// The same of the student lines of an enrolment file's text, the heading line
// left out. Where the codes share a start, only the lines holding it are
// visited: the text is searched for it, not split into its lines.
std::optional<std::vector<StudentRecord>> matchText(std::string_view text,
                                                    const std::vector<std::string>& codes,
                                                    std::size_t capacity, std::size_t expected) {
    SectionMatcher matcher(codes, capacity, expected);
    if (matcher.shared().empty()) return matchLines(splitLines(text), 1, codes, capacity);
    if (!takeHits(text, true, matcher)) return std::nullopt;
    return matcher.students();
}

enum class ChunkedMatch { Matched, TooMany, Unreadable, WholeFileNeeded };

// The enrolment file matched chunk by chunk as it is read, so that its bytes
// are searched while the processor still holds them rather than gathered
// first. Only plain text is matched this way: a file holding a byte-order
// mark's first byte (0xEF) is decoded whole, and one holding a NUL byte is
// no text at all.
ChunkedMatch matchFileInChunks(const std::string& path, SectionMatcher& matcher,
                               std::size_t chunkBytes) {
    if (matcher.shared().empty() || chunkBytes == 0) return ChunkedMatch::WholeFileNeeded;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return ChunkedMatch::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return ChunkedMatch::Unreadable;
    // A line not yet ended, then the chunk read after it.
    std::string buffer;
    bool beginsFile = true;
    while (true) {
        const std::size_t kept = buffer.size();
        buffer.resize(kept + chunkBytes);
        in.read(buffer.data() + kept, static_cast<std::streamsize>(chunkBytes));
        const auto got = static_cast<std::size_t>(in.gcount());
        buffer.resize(kept + got);
        if (in.bad()) return ChunkedMatch::Unreadable;
        const std::string_view read(buffer.data() + kept, got);
        if (read.find('\0') != std::string_view::npos) return ChunkedMatch::Unreadable;
        if (read.find('\xEF') != std::string_view::npos) return ChunkedMatch::WholeFileNeeded;
        const bool atEnd = got < chunkBytes;
        // Whole lines only, but for the last at the file's end. The line
        // carried over has no end, so only the new bytes are looked through.
        std::size_t whole = buffer.size();
        if (!atEnd) {
            while (whole > kept && !isEnd(buffer[whole - 1]))
                --whole;
            if (whole == kept) whole = 0;
        }
        if (whole > 0) {
            if (!takeHits(std::string_view(buffer).substr(0, whole), beginsFile, matcher))
                return ChunkedMatch::TooMany;
            beginsFile = false;
            buffer.erase(0, whole);
        }
        if (atEnd) return ChunkedMatch::Matched;
    }
}

}  // namespace

std::optional<std::vector<StudentRecord>> matchStudentsToSections(
    const std::vector<std::string>& studentLines, const std::vector<std::string>& codes,
    std::size_t capacity) {
    return matchLines(studentLines, 0, codes, capacity);
}

namespace {

ReconcileResult refusal(Notice notice) {
    ReconcileResult result;
    result.refused = true;
    result.notice = std::move(notice);
    return result;
}

// The distinct section codes of the class in order of first occurrence, or
// nothing when there are more than can be chosen.
std::optional<std::vector<std::string>> classSectionCodes(
    const std::vector<StudentRecord>& students) {
    std::vector<std::string> codes;
    for (const StudentRecord& s : students) {
        if (std::find(codes.begin(), codes.end(), s.classCode) != codes.end()) continue;
        if (codes.size() >= static_cast<std::size_t>(kMaxChosenCodes)) return std::nullopt;
        codes.push_back(s.classCode);
    }
    return codes;
}

// Rebuilds the class from the enrolment's records of its sections, which
// match(codes, expected) gives: nothing when the file cannot be read or
// decoded, or holds more students than can be taken.
template <typename Match>
ReconcileResult reconcileWithMatched(std::vector<StudentRecord>& students, Match match,
                                     std::size_t addedCapacity, std::size_t droppedCapacity) {
    ReconcileResult result;
    if (students.empty()) return result;
    const auto codes = classSectionCodes(students);
    if (!codes) return refusal(msg::tl5NoStudentInfo());
    // Room for the class as it is and a few who joined.
    std::optional<std::vector<StudentRecord>> updated = match(*codes, students.size() + 8);
    if (!updated) return refusal(msg::tl5NoStudentInfo());

    // The class's entries by section and student number, in class order.
    struct KeyHash {
        std::size_t operator()(const std::pair<std::string_view, std::string_view>& key) const {
            const std::hash<std::string_view> hash;
            return hash(key.first) * 31 + hash(key.second);
        }
    };
    std::unordered_map<std::pair<std::string_view, std::string_view>, std::vector<std::size_t>,
                       KeyHash>
        entries;
    entries.reserve(students.size());
    for (std::size_t i = 0; i < students.size(); ++i)
        entries[{students[i].classCode, students[i].studentNumber}].push_back(i);
    // A class entry matches one new record only. An entry of the same name is
    // taken first, so that two enrolment lines of one student number under
    // two names keep their own marks whatever order the class is in; then
    // any entry left of that section and number; a line left over is added.
    const std::size_t none = students.size();
    std::vector<std::size_t> source(updated->size(), none);
    std::vector<bool> matched(students.size(), false);
    for (const bool byName : {true, false}) {
        for (std::size_t k = 0; k < updated->size(); ++k) {
            const StudentRecord& fresh = (*updated)[k];
            const auto same = entries.find({fresh.classCode, fresh.studentNumber});
            if (source[k] != none || same == entries.end()) continue;
            for (const std::size_t i : same->second) {
                if (matched[i] || (byName && (students[i].lastName != fresh.lastName ||
                                              students[i].firstName != fresh.firstName)))
                    continue;
                source[k] = i;
                matched[i] = true;
                break;
            }
        }
    }
    // Too many who joined or left for the lists; an enrolment file that holds
    // none of the class (a wrong file, lines without a timetable) would empty
    // the class: refused instead.
    const auto found = static_cast<std::size_t>(std::count(matched.begin(), matched.end(), true));
    if (updated->size() - found > addedCapacity) return refusal(msg::tl5NoStudentInfo());
    if (found == 0) return refusal(msg::tl21NoneEnrolled());
    if (students.size() - found > droppedCapacity) return refusal(msg::tl5NoStudentInfo());
    // Nothing is refused from here on: the class's entries move to their new records.
    for (std::size_t k = 0; k < updated->size(); ++k) {
        StudentRecord& fresh = (*updated)[k];
        if (source[k] == none) {
            result.added.push_back(fresh);
            continue;
        }
        StudentRecord& old = students[source[k]];
        fresh.mark = std::move(old.mark);
        fresh.comments = std::move(old.comments);
        fresh.skills = std::move(old.skills);
        fresh.iep = std::move(old.iep);
        fresh.esl = std::move(old.esl);
        fresh.eld = std::move(old.eld);
        fresh.freeFormUsed = old.freeFormUsed;
        fresh.freeFormText = std::move(old.freeFormText);
        fresh.gender = std::move(old.gender);
        fresh.pronouns = std::move(old.pronouns);
        fresh.trilliumField8 = std::move(old.trilliumField8);
        fresh.interview = std::move(old.interview);
    }
    for (std::size_t i = 0; i < students.size(); ++i) {
        if (!matched[i]) result.dropped.push_back(std::move(students[i]));
    }
    students = std::move(*updated);
    result.refused = false;
    return result;
}

}  // namespace

ReconcileResult reconcileWithMasterText(std::vector<StudentRecord>& students,
                                        std::string_view masterBytes, std::size_t addedCapacity,
                                        std::size_t droppedCapacity) {
    const auto match = [masterBytes](
                           const std::vector<std::string>& codes,
                           std::size_t expected) -> std::optional<std::vector<StudentRecord>> {
        const std::optional<std::string> text = decodeDataFile(masterBytes);
        if (!text) return std::nullopt;
        return matchText(*text, codes, kMaxStudents, expected);
    };
    return reconcileWithMatched(students, match, addedCapacity, droppedCapacity);
}

ReconcileResult reconcileWithMaster(std::vector<StudentRecord>& students,
                                    const std::string& masterPath, std::time_t now,
                                    std::size_t addedCapacity, std::size_t droppedCapacity,
                                    std::size_t chunkBytes) {
    if (students.empty()) return ReconcileResult{};
    if (!classSectionCodes(students)) return refusal(msg::tl5NoStudentInfo());
    const std::optional<int> age = masterFileAgeDays(masterPath, now);
    if (age && masterFileTooOld(*age)) return refusal(msg::tl4MasterTooOld(*age));
    const auto match = [&masterPath, chunkBytes](
                           const std::vector<std::string>& codes,
                           std::size_t expected) -> std::optional<std::vector<StudentRecord>> {
        SectionMatcher matcher(codes, kMaxStudents, expected);
        switch (matchFileInChunks(masterPath, matcher, chunkBytes)) {
            case ChunkedMatch::Matched:
                return matcher.students();
            case ChunkedMatch::TooMany:
            case ChunkedMatch::Unreadable:
                return std::nullopt;
            case ChunkedMatch::WholeFileNeeded:
                break;
        }
        // The file's bytes become its text without a copy.
        const std::optional<std::string> text = readDataFile(masterPath);
        if (!text) return std::nullopt;
        return matchText(*text, codes, kMaxStudents, expected);
    };
    return reconcileWithMatched(students, match, addedCapacity, droppedCapacity);
}

}  // namespace tl
