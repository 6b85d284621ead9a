// Timings of the core procedures on data at the tables' full capacity: a library
// of 10000 phrases, a class of 501 students and a school of 5000 students.
//
// The data are generated once (deterministically) into a fresh folder under the
// system's temporary folder, which is removed when the program ends. Every
// benchmark checks that the operation did its work, so a failing operation is
// reported as an error instead of a fast time.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/class_file.h"
#include "core/comment_text.h"
#include "core/file_io.h"
#include "core/limits.h"
#include "core/master_file.h"
#include "core/phrase_library.h"
#include "core/student_record.h"
#include "export/efile.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSchoolSize = 5000;
constexpr int kClassSections = 3;
constexpr std::size_t kAddedToClass = 2;      // enrolled since the class file was saved
constexpr std::size_t kDroppedFromClass = 2;  // left since the class file was saved

// splitmix64: the same data on every run and every platform.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <class T>
    const T& pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }

  private:
    std::uint64_t state_;
};

void require(bool condition, const std::string& what) {
    if (!condition) throw std::runtime_error("benchmark data: " + what);
}

std::string pad4(int number) {
    std::string s = std::to_string(number);
    return std::string(4 - std::min<std::size_t>(4, s.size()), '0') + s;
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    require(static_cast<bool>(out), "could not write " + path.string());
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
std::string makePhraseText(Rng& rng, bool quoted) {
    const std::size_t limit = quoted ? 116 : 118;  // room for the full stop and the quotes
    const std::string joint = quoted ? ", " : " ";
    std::string text;
    while (text.empty() || (quoted && text.find(',') == std::string::npos)) {
        text = rng.pick(kOpeners) + " " + rng.pick(kMiddles);
        while (text.size() < 60 || rng.chance(30)) {
            const int start = rng.below(static_cast<int>(kEndings.size()));
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
    text += rng.chance(5) ? "!" : ".";
    if (quoted) text = "\"" + text + "\"";
    require(text.size() >= 60 && text.size() <= 120, "phrase length " + text);
    return text;
}

std::string makeCategory(Rng& rng) {
    static const std::string grades = "123456789";
    static const std::string kinds = "!^&(";
    static const std::string skills = ")=+:-?";
    static const std::string departments = "FXZJ<>OYABWKLUMHN{P}G[I]QDCR";
    std::string category;
    for (char g : grades)
        if (rng.chance(50)) category += g;
    category += kinds[static_cast<std::size_t>(rng.below(static_cast<int>(kinds.size())))];
    if (rng.chance(40)) {
        category += skills[static_cast<std::size_t>(rng.below(static_cast<int>(skills.size())))];
    }
    category +=
        departments[static_cast<std::size_t>(rng.below(static_cast<int>(departments.size())))];
    return category;
}

// Writes the library and returns the table it must load into (sorted by code).
std::vector<tl::Phrase> writePhraseLibrary(const fs::path& folder) {
    Rng rng(20240901);
    std::vector<tl::Phrase> expected;
    std::string bytes = "Code,Comment,Category\r\n";
    for (int code = 0; code < tl::kMaxPhrases; ++code) {
        if (code % 500 == 0) bytes += "# ---- group " + std::to_string(code / 500) + " ---- #\r\n";
        tl::Phrase p;
        p.code = pad4(code);
        p.text = makePhraseText(rng, rng.chance(15));
        p.category = makeCategory(rng);
        // Older lines carry their code without the leading zeros.
        const std::string written = code < 1000 && rng.chance(30) ? std::to_string(code) : p.code;
        bytes += written + "," + p.text + "," + p.category + "\r\n";
        expected.push_back(std::move(p));
    }
    writeBytes(folder / tl::kPhraseLibraryName, bytes);
    return expected;
}

// ---- master file and class ----

const std::vector<std::string> kFemaleNames = {
    "Amara", "Brielle", "Cassia", "Delphine", "Elowen", "Fenna", "Galina", "Halle",
    "Isela", "Juno",    "Kesia",  "Liora",    "Maren",  "Nerys", "Odalys", "Perrin",
    "Rosa",  "Sabine",  "Tamsin", "Verity",   "Wren",   "Yara",  "Zinnia", "Oriane",
};
const std::vector<std::string> kMaleNames = {
    "Anselm", "Bastian", "Caspian", "Dorian", "Emrys", "Falk",  "Gideon", "Hollis",
    "Idris",  "Jasper",  "Kellan",  "Lorcan", "Matti", "Nico",  "Osric",  "Pascal",
    "Quill",  "Rafe",    "Soren",   "Teodor", "Ulric", "Vance", "Wystan", "Anatol",
};
const std::vector<std::string> kSurnameStarts = {
    "Ash", "Bram", "Cor", "Del",  "Elm",  "Fen",  "Gar", "Hollo", "Ivy",  "Kess", "Lind",
    "Mor", "Nett", "Orr", "Pell", "Quar", "Rook", "Sel", "Thorn", "Vell", "Wick", "Yarr",
};
const std::vector<std::string> kSurnameEnds = {
    "ford",  "well",  "ley",  "ston",  "mere",  "dale",
    "brook", "field", "holt", "ridge", "combe", "ton",
};
const std::vector<std::string> kSubjects = {
    "ENG", "MPM", "MFM", "MHF", "SNC", "SCH", "SPH", "SBI", "CGC", "CHC",
    "FSF", "AVI", "AMU", "PPL", "BAF", "ICS", "TEJ", "HFN", "GLC", "CHV",
};
const std::vector<std::string> kStreams = {"1D", "1P", "2D", "2P", "3U",
                                           "3C", "3M", "4U", "4C", "4E"};
const std::vector<std::string> kNonSectionWords = {
    "LUNCH", "LUNCH-B", "LUNCH2", "SH1HR12", "SH1-204", "ZSPARE", "ZSTUDY3", "ZLIB",
};
const std::vector<std::string> kFreeForms = {
    "Tomorrow's goals, as discussed at the interview, are steady homework and earlier "
    "questions.",
    "Has worked hard all term, and the last two tests show it; keep reviewing each week.",
    "Missed several weeks for health reasons, so the mark reflects the work completed since "
    "March.",
    "Strong in the labs, less so on tests: practise the review questions, one unit at a time.",
};
const std::string kClassCourse = "MCR3U1";

struct MasterRow {
    std::string lastName, firstName, gender, studentNumber, field8, field14;
    std::vector<std::string> sections;   // class sections in the timetable
    std::vector<std::string> timetable;  // every word, in order
};

std::string surname(Rng& rng) {
    std::string name = rng.pick(kSurnameStarts) + rng.pick(kSurnameEnds);
    if (rng.chance(5)) name += "-" + rng.pick(kSurnameStarts) + rng.pick(kSurnameEnds);
    if (rng.chance(1)) name += ", Jr.";
    return name;
}

std::string csv(const std::string& value) {
    return value.find(',') == std::string::npos ? value : "\"" + value + "\"";
}

std::string masterLine(const MasterRow& r, int index) {
    std::string timetable;
    for (const std::string& word : r.timetable)
        timetable += (timetable.empty() ? "" : " ") + word;
    const std::string birth = std::to_string(2006 + index % 4) + "-" +
                              pad4(1 + index % 12).substr(2) + "-" + pad4(1 + index % 28).substr(2);
    return csv(r.lastName) + "," + csv(r.firstName) + "," + r.gender + "," + r.studentNumber + "," +
           birth + "," + std::to_string(9 + index % 4) + ",H" + std::to_string(100 + index % 250) +
           "," + r.field8 + ",ON,555-" + pad4(index % 10000) + "," +
           csv(r.lastName + " Household") + ",EN,Y," + r.field14 + "," + timetable;
}

struct SchoolData {
    std::vector<MasterRow> rows;
    std::vector<tl::StudentRecord> classRecords;  // the class in master order, teacher data filled
    std::size_t distinctSections = 0;
};

SchoolData makeSchool() {
    Rng rng(7310);
    SchoolData school;
    std::set<std::string> sections;
    std::vector<std::string> pool;
    for (const std::string& subject : kSubjects)
        for (const std::string& stream : kStreams)
            for (int n = 1; n <= 6; ++n) {
                const std::string course = subject + stream + "1";
                if (course != kClassCourse) pool.push_back(course + "-0" + std::to_string(n));
            }

    for (int i = 0; i < kSchoolSize; ++i) {
        MasterRow r;
        r.gender = rng.chance(50) ? "M" : "F";
        r.firstName = rng.pick(r.gender == "M" ? kMaleNames : kFemaleNames);
        r.lastName = surname(rng);
        r.studentNumber = std::to_string(310000000 + i * 17 + rng.below(17));
        r.field8 = "S" + std::to_string(440 + i % 7);
        r.field14 = rng.chance(90) ? "R" : "N";
        // Every tenth student takes the class: 500 students, one of them in two of
        // its sections, 501 records.
        if (i % 10 == 3) {
            const int k = i / 10;
            r.sections.push_back(kClassCourse + "-0" + std::to_string(1 + k % kClassSections));
            if (k == 7) {
                r.sections.push_back(kClassCourse + "-0" +
                                     std::to_string(1 + (k + 1) % kClassSections));
            }
        }
        const int words = 6 + rng.below(3);
        const int nonSection = 1 + rng.below(3);
        std::vector<std::string> timetable = r.sections;
        for (int w = 0; w < nonSection; ++w)
            timetable.push_back(rng.pick(kNonSectionWords));
        while (static_cast<int>(timetable.size()) < words) {
            const std::string& word = rng.pick(pool);
            if (std::find(timetable.begin(), timetable.end(), word) == timetable.end()) {
                timetable.push_back(word);
            }
        }
        for (std::size_t w = timetable.size(); w > 1; --w)
            std::swap(timetable[w - 1],
                      timetable[static_cast<std::size_t>(rng.below(static_cast<int>(w)))]);
        for (const std::string& word : timetable)
            if (!word.starts_with("LUNCH") && !word.starts_with("SH1") && !word.starts_with("Z")) {
                sections.insert(word);
            }
        r.timetable = std::move(timetable);
        school.rows.push_back(std::move(r));
    }
    school.distinctSections = sections.size();

    // The teacher's entries for every record of the class.
    for (const MasterRow& r : school.rows)
        for (const std::string& code : r.sections) {
            tl::StudentRecord s = tl::newStudentFromMaster(
                {r.lastName, r.firstName, r.gender, r.studentNumber, r.field8, r.field14, ""},
                code);
            s.trilliumField14.clear();  // not kept in class files
            const int roll = rng.below(100);
            s.mark = roll < 3 ? "I" : roll < 5 ? "" : std::to_string(38 + rng.below(63));
            std::set<int> used;
            for (std::string& cm : s.comments) {
                int code4 = rng.below(tl::kMaxPhrases);
                while (!used.insert(code4).second)
                    code4 = rng.below(tl::kMaxPhrases);
                cm = pad4(code4);
            }
            for (std::string& skill : s.skills)
                skill = rng.chance(2) ? "" : std::to_string(1 + rng.below(4));
            s.iep = rng.chance(10) ? "Y" : "";
            const int lang = rng.below(100);
            s.esl = lang < 5 ? "Y" : "";
            s.eld = lang >= 5 && lang < 8 ? "Y" : "";
            s.interview = rng.chance(10) ? "Y" : "0";
            if (rng.chance(10)) {
                s.freeFormUsed = rng.chance(80);
                s.freeFormText = rng.pick(kFreeForms);
            }
            school.classRecords.push_back(std::move(s));
        }
    require(school.classRecords.size() == static_cast<std::size_t>(tl::kMaxStudents), "class size");
    return school;
}

// ---- the shared data set ----

struct BenchData {
    fs::path root;
    std::string programFolder;
    std::string masterPath;
    std::string classPath;  // read by BM_OpenClass, never overwritten
    std::string savePath;   // written by BM_SaveClass
    std::vector<tl::Phrase> expectedPhrases;
    std::vector<tl::StudentRecord> classStudents;   // as saved: sorted by name
    std::vector<tl::StudentRecord> reconcileClass;  // some students have since left
    std::size_t distinctSections = 0;

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

    data->expectedPhrases = writePhraseLibrary(program);

    SchoolData school = makeSchool();
    data->distinctSections = school.distinctSections;
    std::string master =
        "Surname,Given,Sex,StudentNo,Birth,Grade,Homeroom,Board,Prov,Phone,Guardian,Lang,Active,"
        "Status,Timetable\r\n";
    for (std::size_t i = 0; i < school.rows.size(); ++i)
        master += masterLine(school.rows[i], static_cast<int>(i)) + "\r\n";
    const fs::path masterPath = dataFolder / tl::kMasterFileName;
    writeBytes(masterPath, master);
    fs::last_write_time(masterPath, fs::file_time_type::clock::now());
    data->masterPath = masterPath.string();

    auto byName = [](const tl::StudentRecord& a, const tl::StudentRecord& b) {
        return a.lastName != b.lastName ? a.lastName < b.lastName : a.firstName < b.firstName;
    };
    data->classStudents = school.classRecords;
    std::stable_sort(data->classStudents.begin(), data->classStudents.end(), byName);
    data->classPath = (data->root / "MCR3U1.tlc").string();
    data->savePath = (data->root / "MCR3U1saved.tlc").string();
    require(!tl::saveClass(data->classPath, data->classStudents), "class file not saved");

    // The class as saved some weeks ago: two of its students have since left the
    // school and two others have joined its sections.
    data->reconcileClass = school.classRecords;
    for (std::size_t k = 0; k < kDroppedFromClass; ++k) {
        tl::StudentRecord& gone = data->reconcileClass[100 + 200 * k];
        require(std::count_if(data->reconcileClass.begin(), data->reconcileClass.end(),
                              [&gone](const tl::StudentRecord& s) {
                                  return s.studentNumber == gone.studentNumber;
                              }) == 1,
                "a student who left was in one section only");
        gone.studentNumber = std::to_string(299000001 + k);
        gone.lastName = "Formerby";
    }
    std::stable_sort(data->reconcileClass.begin(), data->reconcileClass.end(), byName);
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
    std::vector<tl::Phrase> phrases;
    const tl::LibraryLoad first = tl::loadPhraseLibrary(data.programFolder, phrases);
    if (first.status != tl::LibraryStatus::Loaded || phrases != data.expectedPhrases) {
        state.SkipWithError("the library did not load as written");
        return;
    }
    for (auto _ : state) {
        std::vector<tl::Phrase> table;
        const tl::LibraryLoad load = tl::loadPhraseLibrary(data.programFolder, table);
        if (load.status != tl::LibraryStatus::Loaded ||
            table.size() != static_cast<std::size_t>(tl::kMaxPhrases)) {
            state.SkipWithError("loadPhraseLibrary failed");
            break;
        }
        benchmark::DoNotOptimize(table.data());
    }
}

void BM_OpenClass(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    std::vector<tl::StudentRecord> students;
    if (tl::openClass(data.classPath, students) || students != data.classStudents) {
        state.SkipWithError("the class file did not read back as saved");
        return;
    }
    for (auto _ : state) {
        std::vector<tl::StudentRecord> table;
        if (tl::openClass(data.classPath, table) ||
            table.size() != static_cast<std::size_t>(tl::kMaxStudents)) {
            state.SkipWithError("openClass failed");
            break;
        }
        benchmark::DoNotOptimize(table.data());
    }
}

void BM_SaveClass(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    for (auto _ : state) {
        if (tl::saveClass(data.savePath, data.classStudents)) {
            state.SkipWithError("saveClass failed");
            break;
        }
    }
    std::vector<tl::StudentRecord> reread;
    if (!state.error_occurred() &&
        (tl::openClass(data.savePath, reread) || reread != data.classStudents)) {
        state.SkipWithError("the saved class file does not read back as the class");
    }
}

void BM_ComposeAllComments(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    std::vector<tl::Phrase> phrases;
    if (tl::loadPhraseLibrary(data.programFolder, phrases).status != tl::LibraryStatus::Loaded) {
        state.SkipWithError("loadPhraseLibrary failed");
        return;
    }
    // Every code of the class is in the library: every text is found and personalised.
    long expectedTotal = 0;
    for (const tl::StudentRecord& s : data.classStudents) {
        const tl::ComposedComments c = tl::composeComments(s, phrases);
        for (const std::string& text : c.texts) {
            if (text.size() < 40 || !text.ends_with(". ") ||
                text.find_first_of("$@%#*~") != std::string::npos) {
                state.SkipWithError("a comment was not composed");
                return;
            }
        }
        expectedTotal += c.totalLength;
    }
    for (auto _ : state) {
        long total = 0;
        for (const tl::StudentRecord& s : data.classStudents) {
            const tl::ComposedComments c = tl::composeComments(s, phrases);
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

// Timed: reconcileWithMaster alone, which reads the master file (from the page
// cache), matches it and replaces the table. The copy of the class that each
// update starts from is made with the timer paused.
void BM_ReconcileWithMaster(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    const std::time_t now = std::time(nullptr);
    const std::optional<int> age = tl::masterFileAgeDays(data.masterPath, now);
    if (!age || tl::masterFileTooOld(*age)) {
        state.SkipWithError("the master file is missing or too old");
        return;
    }
    {
        // The students still enrolled keep every teacher entry.
        std::vector<tl::StudentRecord> students = data.reconcileClass;
        const tl::ReconcileResult r = tl::reconcileWithMaster(students, data.masterPath, now,
                                                              tl::kMaxStudents, tl::kMaxStudents);
        std::size_t kept = 0;
        for (const tl::StudentRecord& s : students)
            for (const tl::StudentRecord& old : data.reconcileClass)
                if (old.classCode == s.classCode && old.studentNumber == s.studentNumber &&
                    old.mark == s.mark && old.comments == s.comments && old.skills == s.skills &&
                    old.freeFormText == s.freeFormText) {
                    ++kept;
                    break;
                }
        if (r.refused || r.added.size() != kAddedToClass || r.dropped.size() != kDroppedFromClass ||
            students.size() != static_cast<std::size_t>(tl::kMaxStudents) ||
            kept != students.size() - kAddedToClass) {
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
        if (r.refused || r.added.size() != kAddedToClass ||
            students.size() != static_cast<std::size_t>(tl::kMaxStudents)) {
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
        const auto sections = tl::collectClassSections(*lines);
        if (!sections || sections->size() != data.distinctSections ||
            !std::is_sorted(sections->begin(), sections->end())) {
            state.SkipWithError("collectClassSections gave other sections");
            break;
        }
        benchmark::DoNotOptimize(sections->data());
    }
}

void BM_WriteEFile(benchmark::State& state) {
    const BenchData* found = benchData(state);
    if (!found) return;
    const BenchData& data = *found;
    const std::string path = (data.root / "class.trc").string();
    for (auto _ : state) {
        if (tl::exportTrilliumClass(path, data.classStudents, data.expectedPhrases)) {
            state.SkipWithError("exportTrilliumClass failed");
            break;
        }
    }
    const auto written = tl::readWholeFile(path);
    if (!state.error_occurred() &&
        (!written || *written != tl::eFileText(data.classStudents, data.expectedPhrases) ||
         std::count(written->begin(), written->end(), '\n') != 501)) {
        state.SkipWithError("the eFile does not hold one line per student");
    }
}

// Wall-clock time, since the writer waits for the disk and the readers for the file system.
#define TL_BENCH(name)                  \
    BENCHMARK(name)                     \
        ->Unit(benchmark::kMillisecond) \
        ->UseRealTime()                 \
        ->Repetitions(10)               \
        ->ReportAggregatesOnly(true)

TL_BENCH(BM_LoadPhraseLibrary);
TL_BENCH(BM_OpenClass);
TL_BENCH(BM_SaveClass);
TL_BENCH(BM_ComposeAllComments);
TL_BENCH(BM_ReconcileWithMaster);
TL_BENCH(BM_CollectClassSections);
TL_BENCH(BM_WriteEFile);

}  // namespace
