// SPDX-License-Identifier: GPL-3.0-or-later

// What follows reading, under arbitrary files: sorting, comment composition,
// the detail panel, the export checks, the eFile and the enrolment
// reconciliation, with their invariants checked. Built for libFuzzer with
// clang (-DTL_FUZZ=ON), and otherwise as a test that runs mutations of seed
// files.
//
// Input: a phrase library, a class file and an enrolment file joined by NUL
// bytes ("phrases\0class\0enrolment"). The first two parts cannot hold a NUL
// (their readers refuse one anyway); everything after the second NUL is the
// enrolment file. A missing part is empty. The update's lists of added and
// dropped students hold 2 entries for an input whose length is a multiple of 3
// (so that they overflow), and 501 otherwise.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "checks/name_check.h"
#include "core/class_file.h"
#include "core/comment_text.h"
#include "core/master_file.h"
#include "core/phrase_library.h"
#include "core/sorting.h"
#include "entry/class_report.h"
#include "entry/detail_lines.h"
#include "export/efile.h"
#include "export/efile_check.h"
#include "fuzz_support.h"

namespace fs = std::filesystem;
using tl::StudentRecord;
using tl::fuzz::scratch;

namespace {

// An invariant that does not hold is reported and ends the run as a crash.
[[noreturn]] void broken(const char* what, int line) {
    std::fprintf(stderr, "pipeline_fuzz.cpp:%d: invariant broken: %s\n", line, what);
    std::abort();
}
#define CHECK(holds) ((holds) ? void() : broken(#holds, __LINE__))

// The eFile reads back as the class through the same check the export
// window runs on the written file; the name check names only other students.
void checkEFile(const std::vector<StudentRecord>& students,
                const std::vector<tl::Phrase>& phrases) {
    const std::string difference =
        tl::eFileDifference(tl::eFileText(students, phrases), students, phrases);
    if (!difference.empty()) std::fprintf(stderr, "%s\n", difference.c_str());
    CHECK(difference.empty());
    const auto parts = [](const StudentRecord& s) {
        std::vector<std::string> all = tl::namePartsOf(s.firstName);
        for (std::string& part : tl::namePartsOf(s.lastName))
            all.push_back(std::move(part));
        return all;
    };
    std::vector<std::vector<std::string>> owned;
    for (const StudentRecord& s : students)
        owned.push_back(parts(s));
    for (const tl::NameWarning& w : tl::nameWarnings(students, phrases)) {
        const std::string found = tl::namePartsOf(w.name).at(0);
        bool someoneElse = false;
        bool notOwn = false;  // the comment's student, or one of the same label, lacks the part
        for (std::size_t n = 0; n < students.size(); ++n) {
            const StudentRecord& s = students[n];
            const std::vector<std::string>& own = owned[n];
            const bool holds = std::find(own.begin(), own.end(), found) != own.end();
            notOwn = notOwn || (!holds && s.lastName + " " + s.firstName == w.student);
            someoneElse = someoneElse || holds;
        }
        CHECK(notOwn);
        CHECK(someoneElse);
    }
}

std::vector<StudentRecord> sortedCopy(std::vector<StudentRecord> students,
                                      void (*sort)(std::vector<StudentRecord>&)) {
    sort(students);
    return students;
}

bool sameRecords(std::vector<StudentRecord> a, std::vector<StudentRecord> b) {
    if (a.size() != b.size()) return false;
    auto key = [](const StudentRecord& s) {
        return std::tie(s.classCode, s.studentNumber, s.lastName, s.firstName, s.mark, s.comments,
                        s.skills, s.iep, s.esl, s.eld, s.gender, s.trilliumField8,
                        s.trilliumField14, s.freeFormUsed, s.freeFormText, s.interview, s.pronouns);
    };
    auto less = [&key](const StudentRecord& x, const StudentRecord& y) { return key(x) < key(y); };
    std::sort(a.begin(), a.end(), less);
    std::sort(b.begin(), b.end(), less);
    return a == b;
}

// A sort keeps every record, and a stable sort of its own result changes nothing.
void checkSorts(const std::vector<StudentRecord>& students) {
    for (auto sort : {&tl::sortByName, &tl::sortByMark, &tl::sortByClass}) {
        const std::vector<StudentRecord> once = sortedCopy(students, sort);
        CHECK(sameRecords(once, students));
        CHECK(sortedCopy(once, sort) == once);
    }
}

void showEverything(const std::vector<StudentRecord>& students,
                    const std::vector<tl::Phrase>& phrases) {
    for (const StudentRecord& s : students) {
        tl::composeComments(s, phrases);
        tl::bracketedComments(s, phrases);
        for (bool course : {false, true}) {
            const tl::DetailLines details = tl::buildDetailLines(s, phrases, course);
            tl::studentReportLines(s, details, course);
            tl::gridRowTexts(s, course);
        }
        const auto rows = tl::previewRows(s, phrases);
        CHECK(rows.size() >= 3 && rows.size() <= 5);
        tl::firstProblem(s, phrases);
    }
    tl::problemReport(students, phrases);
}

// The class file keeps every record, up to what the format cannot carry:
// double quotes become apostrophes, and the master's field 14 stays in memory.
void checkClassFileRoundTrip(const std::vector<StudentRecord>& students) {
    if (students.empty()) return;
    const std::string path = (scratch() / "saved.tlc").string();
    if (!tl::saveClass(path, students).written()) return;
    std::vector<StudentRecord> again;
    CHECK(!tl::openClass(path, again));
    CHECK(again == tl::fuzz::asReadBack(students));
}

// The class after an update against the same file: in the same order, but
// for students of the same name, whose order the sort by name does not fix.
bool sameAfterSortByName(const std::vector<StudentRecord>& a, const std::vector<StudentRecord>& b) {
    if (a.size() != b.size()) return false;
    std::size_t start = 0;
    while (start < a.size()) {
        std::size_t end = start + 1;
        while (end < a.size() && a[end].lastName == a[start].lastName &&
               a[end].firstName == a[start].firstName) {
            ++end;
        }
        const auto from = static_cast<std::ptrdiff_t>(start);
        const auto to = static_cast<std::ptrdiff_t>(end);
        if (!sameRecords({a.begin() + from, a.begin() + to}, {b.begin() + from, b.begin() + to}))
            return false;
        start = end;
    }
    return true;
}

// The class list update as the Update command runs it, on a class sorted by
// name, which it sorts by name again afterwards.
void checkReconciliation(std::vector<StudentRecord>& students, std::string_view enrolment,
                         std::size_t capacity) {
    const std::vector<StudentRecord> before = students;
    const tl::ReconcileResult result =
        tl::reconcileWithMasterText(students, enrolment, capacity, capacity);
    if (result.refused) {
        CHECK(result.notice.has_value());
        CHECK(students == before);
        return;
    }
    CHECK(result.added.size() <= capacity && result.dropped.size() <= capacity);
    CHECK(students.size() + result.dropped.size() == before.size() + result.added.size());
    for (const StudentRecord& gone : result.dropped)
        CHECK(std::find(before.begin(), before.end(), gone) != before.end());
    for (const StudentRecord& s : students) {
        const bool known = std::any_of(before.begin(), before.end(), [&](const StudentRecord& b) {
            return b.classCode == s.classCode;
        });
        CHECK(known);
    }
    tl::sortByName(students);
    // A second update against the same file finds nothing new and changes
    // nothing. A student in two of the class's sections appears twice under
    // one name, and the update may give those two records in either order.
    std::vector<StudentRecord> again = students;
    const tl::ReconcileResult second =
        tl::reconcileWithMasterText(again, enrolment, tl::kMaxStudents, tl::kMaxStudents);
    tl::sortByName(again);
    CHECK(students.empty() || (!second.refused && second.added.empty() && second.dropped.empty() &&
                               sameAfterSortByName(again, students)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t first = std::min(input.find('\0'), size);
    const std::size_t classStart = std::min(first + 1, size);
    const std::size_t second = std::min(input.find('\0', classStart), size);
    const std::string_view libraryBytes = input.substr(0, first);
    const std::string_view classBytes = input.substr(classStart, second - classStart);
    const std::string_view enrolment = input.substr(std::min(second + 1, size));

    // The phrase library; a refused one leaves a small table of our own.
    const fs::path dir = scratch();
    tl::fuzz::writeBytes(dir / tl::kPhraseLibraryName, libraryBytes);
    std::vector<tl::Phrase> phrases;
    if (tl::loadPhraseLibrary(dir.string(), phrases).status != tl::LibraryStatus::Loaded) {
        phrases = {{"0001", "@ reads widely.", "1"},
                   {"0002", "\"% work is neat, and # asks good questions.\"", "2"},
                   {"0003", "$ can ~ * #.", "3"}};
    }
    // Every code of the table is found, however the file ordered it; four
    // blanks mean no comment and find nothing.
    for (const tl::Phrase& p : phrases) {
        if (tl::isEmptyCode(p.code)) continue;
        const int at = tl::findPhrase(phrases, p.code);
        CHECK(at >= 0 && phrases[static_cast<std::size_t>(at)].code == p.code);
    }

    // The class file; a refused one leaves the class that was open.
    std::vector<StudentRecord> students(2);
    students[0].classCode = "ENG2D1-04";
    students[0].studentNumber = "312138747";
    students[0].lastName = "Abernathy";
    students[1] = students[0];
    students[1].studentNumber = "312299002";
    students[1].mark = "71";
    students[1].comments[0] = "0002";
    const std::vector<StudentRecord> open = students;
    tl::fuzz::writeBytes(dir / "class.tlc", classBytes);
    if (tl::openClass((dir / "class.tlc").string(), students)) CHECK(students == open);

    checkSorts(students);
    tl::sortByName(students);
    showEverything(students, phrases);
    checkEFile(students, phrases);

    // The class list update, then everything again on the updated class.
    const std::size_t capacity = size % 3 == 0 ? 2 : static_cast<std::size_t>(tl::kMaxStudents);
    checkReconciliation(students, enrolment, capacity);
    showEverything(students, phrases);
    checkEFile(students, phrases);
    checkClassFileRoundTrip(students);
    return 0;
}

#ifndef TL_LIBFUZZER
#include <random>

#include "core/file_io.h"

namespace {

// A phrase library, a class file and an enrolment file.
struct Parts {
    std::string library, cls, enrolment;
};

int runs = 0;

void run(const Parts& parts) {
    const std::string input = parts.library + '\0' + parts.cls + '\0' + parts.enrolment;
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    ++runs;
}

// The parts as they are, then rounds - 1 times with one to six edits.
void runMutations(const Parts& seed, int rounds, std::mt19937& rng) {
    using namespace std::string_literals;
    const std::vector<std::string> pieces = {",",     "\"",        "\r\n",         "\n", "\r", "#",
                                             " ",     "-1",        "99",           "I",  "Y",  "Z",
                                             "LUNCH", "ENG2D1-04", "\xef\xbb\xbf", "\0"s};
    for (int round = 0; round < rounds; ++round) {
        Parts parts = seed;
        std::string* each[] = {&parts.library, &parts.cls, &parts.enrolment};
        const int edits = round == 0 ? 0 : 1 + static_cast<int>(rng() % 6);
        for (int k = 0; k < edits; ++k) {
            std::string& part = *each[rng() % 3];
            const std::size_t at = part.empty() ? 0 : rng() % (part.size() + 1);
            switch (rng() % 4) {
                case 0:
                    part.insert(at, pieces[rng() % pieces.size()]);
                    break;
                case 1:
                    if (!part.empty()) part.erase(at % part.size(), 1 + rng() % 60);
                    break;
                case 2:
                    if (!part.empty()) part[at % part.size()] = static_cast<char>(rng());
                    break;
                default: {
                    // A copy of one of the part's lines, elsewhere in it.
                    const std::size_t from = part.empty() ? 0 : rng() % part.size();
                    const std::size_t lineStart = part.rfind('\n', from);
                    const std::size_t begin = lineStart == std::string::npos ? 0 : lineStart + 1;
                    const std::size_t lineEnd = part.find('\n', from);
                    part.insert(
                        at, part.substr(begin, lineEnd == std::string::npos ? std::string::npos
                                                                            : lineEnd + 1 - begin));
                    break;
                }
            }
        }
        run(parts);
    }
}

}  // namespace

// Without libFuzzer: mutations of a phrase library, a class file and one or
// more enrolment files named on the command line, one part changed at a time;
// then of each case folder given with --case (its class.tlc, and its own
// TLPhraseLibrary.csv and TLStudentInfo.txt where it has them).
int main(int argc, char** argv) {
    std::vector<std::string> files;
    std::vector<std::string> cases;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--case" && i + 1 < argc) {
            cases.push_back(argv[++i]);
            continue;
        }
        const auto bytes = tl::readWholeFile(arg);
        if (!bytes) {
            std::fprintf(stderr, "cannot read %s\n", arg.c_str());
            return 2;
        }
        files.push_back(*bytes);
    }
    if (files.size() < 3) {
        std::fprintf(stderr, "usage: %s PHRASES CLASS ENROLMENT... [--case FOLDER]...\n", argv[0]);
        return 2;
    }
    std::mt19937 rng(20261208);
    for (std::size_t e = 2; e < files.size(); ++e)
        runMutations({files[0], files[1], files[e]}, 60, rng);
    for (const std::string& folder : cases) {
        const fs::path dir(folder);
        const auto cls = tl::readWholeFile((dir / "class.tlc").string());
        if (!cls) {
            std::fprintf(stderr, "cannot read %s/class.tlc\n", folder.c_str());
            return 2;
        }
        const auto library = tl::readWholeFile((dir / tl::kPhraseLibraryName).string());
        const auto enrolment = tl::readWholeFile((dir / tl::kMasterFileName).string());
        runMutations({library.value_or(files[0]), *cls, enrolment.value_or(files[2])}, 20, rng);
    }
    std::printf("%d class pipelines run without a fault\n", runs);
    return 0;
}
#endif
