// SPDX-License-Identifier: GPL-3.0-or-later

// Timings of the core procedures on data at the tables' full capacity: a library
// of 10000 phrases, a class of 501 students and a school of 5000 students.
//
// The data are generated once (deterministically) into a fresh folder under the
// system's temporary folder, which is removed when the program ends. Every
// benchmark checks through the core's own procedures that the operation did its
// work, so a failing operation is reported as an error instead of a fast time.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

#include "autofill/mark_ranges.h"
#include "core/class_document.h"
#include "core/class_file.h"
#include "core/comment_text.h"
#include "core/file_io.h"
#include "core/limits.h"
#include "core/master_file.h"
#include "core/phrase_library.h"
#include "core/sorting.h"
#include "core/student_record.h"
#include "core/text.h"
#include "export/efile.h"
#include "favourites/favourites_text.h"
#include "school_generator.h"
#include "selection/phrase_search.h"

namespace {

namespace fs = std::filesystem;

// 1250 students in each of four grades; the class of 501 records is the
// three sections of MCR3U1, one student in two of them.
constexpr int kStudentsPerGrade = 1250;
constexpr int kSchoolSize = 4 * kStudentsPerGrade;
const tl::demo::FixedCourse kClassCourse{
    .course = "MCR3U1", .sections = 3, .records = tl::kMaxStudents, .doubleEnrolments = 1};
constexpr std::size_t kLeftTheSchool = 2;  // class students gone since the class file was saved

void require(bool condition, const std::string& what) {
    if (!condition) throw std::runtime_error("benchmark data: " + what);
}

std::string code4(int number) {
    return tl::padLeftZeros(std::to_string(number), 4);
}

// ---- phrase library ----

const std::vector<std::string> kOpeners = {
    "@",
    "$",
    "% work",
    "% written work",
    "In group tasks @",
    "During lab activities @",
    "This term @",
    "Your ~",
    "In the culminating task @",
    "With regular practice @",
    "% notebook",
    "When working independently @",
};

const std::vector<std::string> kMiddles = {
    "consistently completes assigned tasks on time",
    "explains # reasoning clearly when solving multi-step problems",
    "asks thoughtful questions that move the class discussion forward",
    "organizes notes so that review before tests goes quickly",
    "uses class time well and seeks help when it is needed",
    "is encouraged to check answers against the success criteria",
    "shows growing confidence when presenting to the class",
    "has begun to connect new ideas to earlier units of study",
    "should review the written feedback on each assignment",
    "works well with others and shares the load in projects",
    "needs to submit missing work before the end of the term",
    "takes care to label diagrams and units accurately",
    "sets realistic goals and monitors progress toward them",
    "would benefit from reading the questions more carefully",
    "listens respectfully and builds on the ideas of peers",
    "has shown real perseverance with challenging problems",
};

const std::vector<std::string> kEndings = {
    "and takes pride in the result",
    "which has helped * improve steadily",
    "and is a positive influence on peers",
    "so that # understanding deepens",
    "especially in the final unit",
    "and this effort shows in # marks",
    "with very little prompting",
    "as the course moves forward",
    "to build on # strengths",
    "and should keep this up next year",
};

// A phrase text of 60 to 120 characters; a quoted text holds commas.
std::string makePhraseText(tl::demo::Random& rnd, bool quoted) {
    const std::size_t limit = quoted ? 116 : 118;  // room for the full stop and the quotes
    const std::string joint = quoted ? ", " : " ";
    std::string text;
    while (text.empty() || (quoted && text.find(',') == std::string::npos)) {
        text = rnd.pick(kOpeners) + " " + rnd.pick(kMiddles);
        while (text.size() < 60 || rnd.percent(30)) {
            const int start = rnd.below(static_cast<int>(kEndings.size()));
            bool added = false;
            for (std::size_t i = 0; i < kEndings.size() && !added; ++i) {
                const std::string& ending = kEndings[(start + i) % kEndings.size()];
                if (text.size() + joint.size() + ending.size() <= limit) {
                    text += joint + ending;
                    added = true;
                }
            }
            if (!added) break;
        }
    }
    text += rnd.percent(5) ? "!" : ".";
    return quoted ? "\"" + text + "\"" : text;
}

std::string makeCategory(tl::demo::Random& rnd) {
    static const std::string grades = "123456789";
    static const std::string kinds = "!^&(";
    static const std::string skills = ")=+:-?";
    static const std::string departments = "FXZJ<>OYABWKLUMHN{P}G[I]QDCR";
    auto one = [&rnd](const std::string& keys) {
        return keys[static_cast<std::size_t>(rnd.below(static_cast<int>(keys.size())))];
    };
    std::string category;
    for (char g : grades)
        if (rnd.percent(50)) category += g;
    category += one(kinds);
    if (rnd.percent(40)) category += one(skills);
    category += one(departments);
    return category;
}

// The library: codes 0000 to 9999 in groups of 500 under comment lines; older
// lines carry their code without the leading zeros.
void writePhraseLibrary(const fs::path& folder) {
    tl::demo::Random rnd(20240901);
    std::string bytes = "Code,Comment,Category\r\n";
    for (int code = 0; code < tl::kMaxPhrases; ++code) {
        if (code % 500 == 0) bytes += "# ---- group " + std::to_string(code / 500) + " ---- #\r\n";
        const std::string text = makePhraseText(rnd, rnd.percent(15));
        const std::string written =
            code < 1000 && rnd.percent(30) ? std::to_string(code) : code4(code);
        bytes += written + "," + text + "," + makeCategory(rnd) + "\r\n";
    }
    require(tl::writeFileAtomically((folder / tl::kPhraseLibraryName).string(), bytes),
            "phrase library not written");
}

// ---- the shared data set ----

struct BenchData {
    fs::path root;
    std::string programFolder;
    std::string masterPath;
    std::string classPath;  // read by BM_OpenClass, never overwritten
    std::string savePath;   // written by BM_SaveClass
    std::vector<tl::Phrase> phrases;
    std::vector<std::string> sections;              // every class section of the school
    std::vector<tl::StudentRecord> classStudents;   // as saved: sorted by name
    std::vector<tl::StudentRecord> openedClass;     // the class file as openClass reads it
    std::vector<tl::StudentRecord> reconcileClass;  // some students have since left
    std::vector<tl::StudentRecord> leftTheSchool;

    ~BenchData() {
        std::error_code ec;
        if (!root.empty()) fs::remove_all(root, ec);
    }
};

std::unique_ptr<BenchData> buildData() {
    auto data = std::make_unique<BenchData>();
    // A memory-backed folder where there is one: the timings then measure the
    // program's own work, not the disk's flush latency behind each atomic save.
    std::error_code shm;
    const fs::path base =
        fs::is_directory("/dev/shm", shm) ? fs::path("/dev/shm") : fs::temp_directory_path();
    for (int attempt = 0; data->root.empty(); ++attempt) {
        require(attempt < 100, "no fresh temporary folder");
        const fs::path candidate =
            base / ("tl_core_bench_" + std::to_string(::getpid()) + "_" + std::to_string(attempt));
        if (fs::create_directory(candidate)) data->root = candidate;
    }
    const fs::path program = data->root / "Tallyleaf";
    const fs::path dataFolder = data->root / tl::kDataFolderName;
    fs::create_directory(program);
    fs::create_directory(dataFolder);
    data->programFolder = program.string();

    writePhraseLibrary(program);
    require(tl::loadPhraseLibrary(data->programFolder, data->phrases).status ==
                    tl::LibraryStatus::Loaded &&
                data->phrases.size() == static_cast<std::size_t>(tl::kMaxPhrases),
            "the phrase library does not load");
    std::vector<std::string> codes;
    for (const tl::Phrase& p : data->phrases)
        codes.push_back(p.code);

    tl::demo::SchoolPlan plan;
    plan.seed = 7310;
    plan.studentsPerGrade = kStudentsPerGrade;
    plan.fixedCourse = kClassCourse;
    const tl::demo::School school = tl::demo::makeSchool(plan);
    for (const auto& [code, members] : school.sections)
        data->sections.push_back(code);
    const fs::path masterPath = dataFolder / tl::kMasterFileName;
    require(tl::writeFileAtomically(masterPath.string(), school.enrolmentText()),
            "enrolment file not written");
    data->masterPath = masterPath.string();

    // The class as the class picker builds it, with every entry a teacher makes.
    auto cls = tl::demo::classOfSections(school, school.fixedSections());
    require(cls && cls->size() == static_cast<std::size_t>(tl::kMaxStudents), "class size");
    tl::demo::Random rnd(7311);
    tl::demo::EntryPlan entries;
    entries.comments = tl::demo::everyCodeBands(codes);
    entries.minComments = 5;
    entries.maxComments = 5;
    entries.gaps = true;
    entries.flagPercent = 10;
    entries.freeFormPercent = 10;
    tl::demo::fillEntries(rnd, *cls, entries);
    tl::sortByName(*cls);
    data->classStudents = *cls;

    data->classPath = (data->root / "MCR3U1.tlc").string();
    data->savePath = (data->root / "MCR3U1saved.tlc").string();
    require(tl::saveClass(data->classPath, data->classStudents).written(), "class file not saved");
    require(!tl::openClass(data->classPath, data->openedClass) &&
                data->openedClass.size() == data->classStudents.size(),
            "the class file does not open");

    // The class as saved some weeks ago: two of its students have since left
    // the school, and two others have joined its sections in their places.
    data->reconcileClass = data->classStudents;
    for (std::size_t k = 0; k < kLeftTheSchool; ++k) {
        tl::StudentRecord& gone = data->reconcileClass[100 + 200 * k];
        gone.studentNumber = std::to_string(299000001 + k);
        gone.lastName = "Formerby";
        data->leftTheSchool.push_back(gone);
    }
    return data;
}

struct DataHolder {
    std::unique_ptr<BenchData> data;
    std::string error;
};

// Built on first use; a failure is reported by every benchmark that needs the data.
const BenchData* benchData(benchmark::State& state) {
    static const DataHolder holder = [] {
        DataHolder h;
        try {
            h.data = buildData();
        } catch (const std::exception& e) {
            h.error = e.what();
        }
        return h;
    }();
    if (!holder.data) state.SkipWithError(holder.error.c_str());
    return holder.data.get();
}

// ---- benchmarks ----

void BM_LoadPhraseLibrary(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    // Every code of the file is found, those written without leading zeros too.
    for (int code = 0; code < tl::kMaxPhrases; ++code) {
        if (tl::findPhrase(data.phrases, code4(code)) < 0) {
            state.SkipWithError(("code " + code4(code) + " not loaded").c_str());
            return;
        }
    }
    std::vector<tl::Phrase> last;
    for (auto _ : state) {
        std::vector<tl::Phrase> table;
        const tl::LibraryLoad load = tl::loadPhraseLibrary(data.programFolder, table);
        if (load.status != tl::LibraryStatus::Loaded || table.size() != data.phrases.size()) {
            state.SkipWithError("loadPhraseLibrary failed");
            break;
        }
        benchmark::DoNotOptimize(table.data());
        last.swap(table);
    }
    if (!state.error_occurred() && last != data.phrases)
        state.SkipWithError("loadPhraseLibrary gave another table");
}

// The floor under BM_LoadPhraseLibrary: the library's bytes read and split
// into lines and each line into the three texts a table of phrases holds,
// with no other work (no decoding, no check, no sort, no they-forms).
void BM_LoadPhraseLibraryRawFloor(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    const std::string path = (fs::path(data.programFolder) / tl::kPhraseLibraryName).string();
    struct Fields {
        std::string code, text, category;
    };
    std::size_t phrases = 0;
    for (auto _ : state) {
        const std::optional<std::string> bytes = tl::readWholeFile(path);
        if (!bytes) {
            state.SkipWithError("the phrase library could not be read");
            break;
        }
        const std::vector<std::string_view> lines = tl::splitLines(*bytes);
        std::vector<Fields> fields;
        fields.reserve(lines.size());
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::string_view line = lines[i];
            const std::size_t first = line.find(',');
            const std::size_t last = line.rfind(',');
            if (first == std::string_view::npos || last == first) continue;  // a comment line
            fields.push_back({std::string(line.substr(0, first)),
                              std::string(line.substr(first + 1, last - first - 1)),
                              std::string(line.substr(last + 1))});
        }
        benchmark::DoNotOptimize(fields.data());
        phrases = fields.size();
    }
    if (!state.error_occurred() && phrases != data.phrases.size())
        state.SkipWithError("the lines split into another number of phrases");
}

void BM_OpenClass(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    // Each line of the file is the line of the student read from it.
    const auto bytes = tl::readWholeFile(data.classPath);
    const auto lines = bytes ? tl::splitLines(*bytes) : std::vector<std::string_view>{};
    bool same = lines.size() == data.openedClass.size();
    for (std::size_t i = 0; same && i < lines.size(); ++i)
        same = lines[i] == tl::classFileLine(data.openedClass[i]);
    if (!same) {
        state.SkipWithError("the class file does not read back as saved");
        return;
    }
    std::vector<tl::StudentRecord> last;
    for (auto _ : state) {
        std::vector<tl::StudentRecord> table;
        if (tl::openClass(data.classPath, table) || table.size() != data.openedClass.size()) {
            state.SkipWithError("openClass failed");
            break;
        }
        benchmark::DoNotOptimize(table.data());
        last.swap(table);
    }
    if (!state.error_occurred() && last != data.openedClass)
        state.SkipWithError("openClass gave another class");
}

// A fresh folder on the disk of the system's temporary folder, where each
// atomic write waits for its flush as a teacher's save does.
struct DiskFolder {
    fs::path path =
        fs::temp_directory_path() / ("tl_core_bench_disk_" + std::to_string(::getpid()));
    DiskFolder() {
        std::error_code ec;
        fs::create_directories(path, ec);
    }
    ~DiskFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

void saveClassBench(benchmark::State& state, const BenchData& data, const std::string& path) {
    for (auto _ : state) {
        if (!tl::saveClass(path, data.classStudents).written()) {
            state.SkipWithError("saveClass failed");
            break;
        }
    }
    std::vector<tl::StudentRecord> reread;
    if (!state.error_occurred() && (tl::openClass(path, reread) || reread != data.openedClass)) {
        state.SkipWithError("the saved class file does not read back as the class");
    }
}

void BM_SaveClass(benchmark::State& state) {
    if (const BenchData* data = benchData(state)) saveClassBench(state, *data, data->savePath);
}

void BM_SaveClassOnDisk(benchmark::State& state) {
    const DiskFolder disk;
    if (const BenchData* data = benchData(state))
        saveClassBench(state, *data, (disk.path / "MCR3U1saved.tlc").string());
}

void BM_ComposeAllComments(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    // Every code of the class is in the library: each slot with a code composes a text.
    long expectedTotal = 0;
    for (const tl::StudentRecord& s : data.classStudents) {
        const tl::ComposedComments c = tl::composeComments(s, data.phrases);
        for (std::size_t k = 0; k < c.texts.size(); ++k) {
            if (c.texts[k].empty() != tl::isEmptyCode(s.comments[k])) {
                state.SkipWithError("a comment was not composed");
                return;
            }
        }
        expectedTotal += c.totalLength;
    }
    for (auto _ : state) {
        long total = 0;
        for (const tl::StudentRecord& s : data.classStudents) {
            const tl::ComposedComments c = tl::composeComments(s, data.phrases);
            total += c.totalLength;
            benchmark::DoNotOptimize(c.texts.data());
        }
        if (total != expectedTotal) {
            state.SkipWithError("composeComments gave other texts");
            break;
        }
    }
    state.counters["students"] = static_cast<double>(data.classStudents.size());
}

// Timed: reconcileWithMaster alone, which reads the enrolment file (from the
// page cache), matches it and replaces the table. The copy of the class that
// each update starts from is made with the timer paused.
void BM_ReconcileWithMaster(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    {
        // The two who left are dropped as they were, the two who joined are
        // added, and every student still enrolled keeps every teacher entry.
        std::vector<tl::StudentRecord> students = data.reconcileClass;
        const tl::ReconcileResult r = tl::reconcileWithMaster(
            students, data.masterPath, std::time(nullptr), tl::kMaxStudents, tl::kMaxStudents);
        const std::size_t kept = static_cast<std::size_t>(
            std::count_if(students.begin(), students.end(), [&](const tl::StudentRecord& s) {
                return std::find(data.reconcileClass.begin(), data.reconcileClass.end(), s) !=
                       data.reconcileClass.end();
            }));
        if (r.refused || r.dropped != data.leftTheSchool || r.added.size() != kLeftTheSchool ||
            students.size() != data.reconcileClass.size() ||
            kept != students.size() - kLeftTheSchool) {
            state.SkipWithError("reconcileWithMaster did not update the class");
            return;
        }
    }
    std::vector<tl::StudentRecord> students;
    for (auto _ : state) {
        state.PauseTiming();
        students = data.reconcileClass;
        state.ResumeTiming();
        const tl::ReconcileResult r = tl::reconcileWithMaster(
            students, data.masterPath, std::time(nullptr), tl::kMaxStudents, tl::kMaxStudents);
        if (r.refused || r.added.size() != kLeftTheSchool ||
            students.size() != data.reconcileClass.size()) {
            state.SkipWithError("reconcileWithMaster refused or lost students");
            break;
        }
    }
}

void BM_CollectClassSections(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    for (auto _ : state) {
        const auto lines = tl::readMasterStudentLines(data.masterPath);
        if (!lines || lines->size() != static_cast<std::size_t>(kSchoolSize)) {
            state.SkipWithError("readMasterStudentLines failed");
            break;
        }
        // The sections the school was given, in character order.
        const auto sections = tl::collectClassSections(*lines);
        if (!sections || *sections != data.sections) {
            state.SkipWithError("collectClassSections gave other sections");
            break;
        }
        benchmark::DoNotOptimize(sections->data());
    }
}

void writeEFileBench(benchmark::State& state, const BenchData& data, const std::string& path) {
    for (auto _ : state) {
        if (!tl::exportTrilliumClass(path, data.classStudents, data.phrases).written()) {
            state.SkipWithError("exportTrilliumClass failed");
            break;
        }
    }
    const auto written = tl::readWholeFile(path);
    if (!state.error_occurred() &&
        (!written || *written != tl::eFileText(data.classStudents, data.phrases) ||
         tl::splitLines(*written).size() != data.classStudents.size())) {
        state.SkipWithError("the eFile does not hold one line per student");
    }
}

void BM_WriteEFile(benchmark::State& state) {
    if (const BenchData* data = benchData(state))
        writeEFileBench(state, *data, (data->root / "class.trc").string());
}

void BM_WriteEFileOnDisk(benchmark::State& state) {
    const DiskFolder disk;
    if (const BenchData* data = benchData(state))
        writeEFileBench(state, *data, (disk.path / "class.trc").string());
}

// The Search button with every list on "All" and no words: the whole library,
// with the item texts of the result list.
void BM_SearchListEveryPhrase(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    for (auto _ : state) {
        const std::vector<int> results = tl::search(data.phrases, tl::SearchCriteria{});
        std::vector<std::string> items;
        items.reserve(results.size());
        for (const int position : results)
            items.push_back(tl::searchResultItemText(data.phrases[position - 1]));
        if (results.size() != data.phrases.size() || results.back() != tl::kMaxPhrases) {
            state.SkipWithError("the search did not list every phrase");
            break;
        }
        benchmark::DoNotOptimize(items.data());
    }
}

// (A1 AND A2) OR O and NOT, in mixed letter case, against the whole library.
void BM_SearchByWords(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    tl::SearchCriteria criteria;
    criteria.and1 = "REASON";
    criteria.and2 = "steadily";
    criteria.orText = "Real Perseverance";
    criteria.notText = "lab";
    // The same phrases as findIgnoreCase finds one by one.
    std::vector<int> expected;
    for (std::size_t i = 0; i < data.phrases.size(); ++i) {
        const std::string& text = data.phrases[i].text;
        const auto has = [&text](const std::string& word) {
            return tl::findIgnoreCase(text, word) > 0;
        };
        if (!has(criteria.notText) &&
            ((has(criteria.and1) && has(criteria.and2)) || has(criteria.orText))) {
            expected.push_back(static_cast<int>(i) + 1);
        }
    }
    if (expected.size() < 400) {
        state.SkipWithError("the words find too few phrases to time");
        return;
    }
    for (auto _ : state) {
        const std::vector<int> results = tl::search(data.phrases, criteria);
        if (results != expected) {
            state.SkipWithError("the search found other phrases");
            break;
        }
    }
    state.counters["found"] = static_cast<double>(expected.size());
}

// ---- the initial-values ranges ----

// A full table of 100 ranges, each with three codes of the library.
std::vector<tl::InitialValueRange> fullRangeTable(const BenchData& data, int count) {
    std::vector<tl::InitialValueRange> ranges;
    for (int k = 0; k < count; ++k) {
        tl::InitialValueRange r;
        r.lowMark = (count - 1 - k) * 10;
        r.highMark = r.lowMark + 9;
        for (std::size_t c = 0; c < r.codes.size(); ++c)
            r.codes[c] = data.phrases[(k * 97 + static_cast<int>(c) * 31) % tl::kMaxPhrases].code;
        r.skills.fill(std::to_string(1 + k % 4));
        ranges.push_back(r);
    }
    return ranges;
}

// The grid rows and the three detail lines of every range, as the window
// fills its grid and prints the table.
void BM_RangeGridAndDetails(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    const auto ranges = fullRangeTable(data, tl::kMaxRanges);
    for (const tl::InitialValueRange& r : ranges) {
        const auto lines = tl::rangeDetailLines(r, data.phrases);
        for (std::size_t c = 0; c < r.codes.size(); ++c) {
            if (lines[c].find(tl::lookupPhrase(data.phrases, r.codes[c])) == std::string::npos ||
                tl::lookupPhrase(data.phrases, r.codes[c]).empty()) {
                state.SkipWithError("a detail line lacks its phrase");
                return;
            }
        }
    }
    for (auto _ : state) {
        std::size_t characters = 0;
        for (const tl::InitialValueRange& r : ranges) {
            const auto cells = tl::rangeRowTexts(r);
            const auto lines = tl::rangeDetailLines(r, data.phrases);
            characters += cells[tl::rangegrid::kFirstCode].size() + lines[0].size();
            benchmark::DoNotOptimize(lines.data());
        }
        if (characters < ranges.size() * (4 + 8 + 75 + 15)) {
            state.SkipWithError("the lines are too short");
            break;
        }
    }
}

// A code stamped into a range while the undo stack is full, so that each push
// also drops the oldest entry.
void BM_RangeStamp(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    tl::ClassDocument doc;
    doc.replaceRanges(fullRangeTable(data, tl::kMaxRanges));
    const std::string code = doc.ranges()[49].codes[0];
    for (int i = 0; i < tl::kMaxUndo; ++i)
        doc.stampRangeCode(0, 0, doc.ranges()[0].codes[0]);
    std::size_t slot = 0;
    for (auto _ : state) {
        slot = (slot + 1) % 3;
        if (!doc.stampRangeCode(49, slot, code).undoAdded) {
            state.SkipWithError("stampRangeCode refused the cell");
            break;
        }
    }
    // The code moved from cell to cell and stands once, in the last cell stamped.
    const auto& codes = doc.ranges()[49].codes;
    if (!state.error_occurred() &&
        (std::count(codes.begin(), codes.end(), code) != 1 || codes[slot] != code)) {
        state.SkipWithError("the stamped code did not move within the range");
    }
}

// Split Range in a table of 99, which makes it full, and Delete Range on the
// upper half, which makes the table what it was.
void BM_RangeSplitAndDelete(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    const auto original = fullRangeTable(data, tl::kMaxRanges - 1);
    tl::ClassDocument doc;
    doc.replaceRanges(original);
    for (auto _ : state) {
        if (!doc.splitRange(49).concernsRanges() || doc.rangeCount() != tl::kMaxRanges) {
            state.SkipWithError("splitRange refused the range");
            break;
        }
        if (!doc.deleteRange(49).concernsRanges()) {
            state.SkipWithError("deleteRange refused the range");
            break;
        }
    }
    if (!state.error_occurred() && doc.ranges() != original)
        state.SkipWithError("split and delete did not give the table back");
}

// A skill click and its undo, with 499 older entries on the stack.
void BM_RangeSkillClickAndUndo(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    const auto original = fullRangeTable(data, tl::kMaxRanges);
    tl::ClassDocument doc;
    doc.replaceRanges(original);
    for (int i = 0; i < tl::kMaxUndo - 1; ++i)
        doc.setRangeSkill(99, 0, doc.ranges()[99].skills[0]);
    for (auto _ : state) {
        doc.clickRangeSkill(49, 2, tl::ClassDocument::Button::Left);
        const tl::Edit undone = doc.undoRange();
        if (undone.items != std::vector<int>{49}) {
            state.SkipWithError("undoRange restored another range");
            break;
        }
    }
    if (!state.error_occurred() && doc.ranges() != original)
        state.SkipWithError("the undo did not restore the range");
}

// Wall-clock time, since the writer waits for the disk and the readers for the file system.
#define TL_BENCH(name)                  \
    BENCHMARK(name)                     \
        ->Unit(benchmark::kMillisecond) \
        ->UseRealTime()                 \
        ->Repetitions(10)               \
        ->ReportAggregatesOnly(true)

TL_BENCH(BM_LoadPhraseLibrary);
TL_BENCH(BM_LoadPhraseLibraryRawFloor);
TL_BENCH(BM_OpenClass);
TL_BENCH(BM_SaveClass);
TL_BENCH(BM_SaveClassOnDisk);
TL_BENCH(BM_ComposeAllComments);
TL_BENCH(BM_ReconcileWithMaster);
TL_BENCH(BM_CollectClassSections);
TL_BENCH(BM_WriteEFile);
TL_BENCH(BM_WriteEFileOnDisk);
TL_BENCH(BM_SearchListEveryPhrase);
TL_BENCH(BM_SearchByWords);

// The ranges' edits take microseconds.
#define TL_BENCH_US(name) TL_BENCH(name)->Unit(benchmark::kMicrosecond)

TL_BENCH_US(BM_RangeGridAndDetails);
TL_BENCH_US(BM_RangeStamp);
TL_BENCH_US(BM_RangeSplitAndDelete);
TL_BENCH_US(BM_RangeSkillClickAndUndo);

}  // namespace

// The export window's checks: the written eFile read back and compared with
// the class, and the search of every comment for another student's name (a
// few comments copied from a neighbour in the list).
#include "checks/class_advice.h"
#include "checks/class_problems.h"
#include "checks/name_check.h"
#include "export/efile_check.h"

namespace {

void BM_ReadBackEFile(benchmark::State& state) {
    const BenchData* data = benchData(state);
    if (!data) return;
    const std::string path = (data->root / "read-back.trc").string();
    if (!tl::exportTrilliumClass(path, data->classStudents, data->phrases).written()) {
        state.SkipWithError("exportTrilliumClass failed");
        return;
    }
    for (auto _ : state) {
        if (!tl::writtenEFileDifference(path, data->classStudents, data->phrases).empty()) {
            state.SkipWithError("the written eFile does not read back as the class");
            break;
        }
    }
}

void BM_NameCheck(benchmark::State& state) {
    const BenchData* data = benchData(state);
    if (!data) return;
    std::vector<tl::StudentRecord> students = data->classStudents;
    constexpr std::size_t kCopied = 10;
    for (std::size_t n = 1; n <= kCopied; ++n) {
        students[n * 40].freeFormUsed = true;
        students[n * 40].freeFormText = students[n * 40 + 1].firstName + " " +
                                        students[n * 40 + 1].lastName + " works with care.";
    }
    for (auto _ : state) {
        const std::vector<tl::NameWarning> warnings = tl::nameWarnings(students, data->phrases);
        if (warnings.size() < kCopied) {
            state.SkipWithError("the copied comments were not all found");
            break;
        }
        benchmark::DoNotOptimize(warnings.data());
    }
}

// The Ready for the Office list rebuilt after a change: the whole class with
// the full library against 100 one-mark ranges, so that codes meant for other
// marks are looked up too.
void BM_ClassProblems(benchmark::State& state) {
    const BenchData* data = benchData(state);
    if (!data) return;
    std::vector<tl::InitialValueRange> ranges(100);
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        ranges[i].lowMark = ranges[i].highMark = static_cast<int>(i);
        for (std::size_t k = 0; k < 3; ++k)
            ranges[i].codes[k] = data->phrases[(i * 3 + k) % data->phrases.size()].code;
    }
    for (auto _ : state) {
        const auto problems = tl::classProblems(data->classStudents, data->phrases, ranges);
        benchmark::DoNotOptimize(problems.data());
    }
}

// The advice of the whole class, as Ready for the Office lists it when it
// opens: the class grouped by its comments, every student's notes.
void BM_ClassAdvice(benchmark::State& state) {
    const BenchData* data = benchData(state);
    if (!data) return;
    for (auto _ : state) {
        const auto notes = tl::classAdvice(data->classStudents, data->phrases);
        if (notes.empty()) {
            state.SkipWithError("the class has no advice");
            break;
        }
        benchmark::DoNotOptimize(notes.data());
    }
}

// One stamp with the advice kept up to date: a student's first comment
// changed back and forth between its own and that of 100 students with the
// same comments, whose notes all change with it.
void BM_ClassAdviceAfterStamp(benchmark::State& state) {
    const BenchData* data = benchData(state);
    if (!data) return;
    std::vector<tl::StudentRecord> students = data->classStudents;
    for (std::size_t n = 100; n < 200; ++n) {
        students[n].freeFormUsed = false;
        students[n].comments = students[100].comments;
    }
    constexpr int kStamped = 300;
    students[kStamped].freeFormUsed = false;
    students[kStamped].comments = students[100].comments;
    const std::string own = students[100].comments[0];
    const std::string codes[] = {own, data->phrases[own == data->phrases[17].code ? 18 : 17].code};
    tl::ClassAdvice advice(students, data->phrases);
    std::size_t stamp = 0;
    for (auto _ : state) {
        students[kStamped].comments[0] = codes[++stamp % 2];
        const std::vector<int> changed =
            advice.commentsChanged(students, data->phrases, {kStamped});
        if (changed.size() < 101) {
            state.SkipWithError("the students with the same comments were not all named");
            break;
        }
        for (const int student : changed)
            benchmark::DoNotOptimize(advice.notesOf(students, data->phrases, student).data());
    }
}

TL_BENCH(BM_ReadBackEFile);
TL_BENCH(BM_NameCheck);
TL_BENCH(BM_ClassProblems);
TL_BENCH(BM_ClassAdvice);
TL_BENCH_US(BM_ClassAdviceAfterStamp);

}  // namespace
