// Writes the demo school: a master class data file with the enrolment of an
// invented secondary school, and a teacher's sample class file built from it.
//
//   tl_make_demo_school MASTER_FILE_PATH TEACHER_FOLDER
//
// Everything is invented and deterministic: a fixed-seed std::mt19937 drives
// our own small helpers (no standard distributions, whose results differ
// between library versions), so every run writes the same bytes.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/class_file.h"
#include "core/file_io.h"
#include "core/limits.h"
#include "core/master_file.h"
#include "core/sorting.h"
#include "core/student_record.h"
#include "core/text.h"

namespace {

constexpr std::uint32_t kSeed = 20240906;
constexpr int kStudentsPerGrade = 400;
constexpr int kGrades = 4;                     // grades 9 to 12
constexpr std::size_t kNormalSectionMax = 31;  // leaves room for the double enrolments
constexpr int kDoubleEnrolments = 12;
constexpr int kSampleClassTarget = 30;

class Random {
  public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}
    // A whole number from 0 to n - 1.
    int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }
    // A whole number from low to high inclusive.
    int between(int low, int high) { return low + below(high - low + 1); }
    bool percent(int p) { return below(100) < p; }
    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }
    // Fisher-Yates with our own index choice (std::shuffle is implementation-defined).
    template <typename T>
    void shuffle(std::vector<T>& items) {
        for (std::size_t i = items.size(); i > 1; --i) {
            std::size_t j = static_cast<std::size_t>(below(static_cast<int>(i)));
            std::swap(items[i - 1], items[j]);
        }
    }

  private:
    std::mt19937 engine_;
};

const std::vector<std::string> kMaleFirstNames = {
    "Aarav",   "Adebayo", "Alejandro", "Amir",    "Arjun",  "Bilal",   "Callum", "Chidi",
    "Daniel",  "Dmitri",  "Elias",     "Ethan",   "Farhan", "Gabriel", "Haruto", "Hamza",
    "Ibrahim", "Isaac",   "Jamal",     "Jaxon",   "Jin",    "Kai",     "Kwame",  "Liam",
    "Lucas",   "Mateo",   "Mohammed",  "Nikolai", "Noah",   "Omar",    "Owen",   "Rafael",
    "Rohan",   "Samuel",  "Santiago",  "Tariq",   "Thomas", "Tyrese",  "Wei",    "Yusuf",
};

const std::vector<std::string> kFemaleFirstNames = {
    "Aaliyah", "Abigail",   "Aiko",    "Amara",  "Ananya", "Beatriz", "Chloe",  "Daniela",
    "Eleni",   "Emily",     "Fatima",  "Freya",  "Grace",  "Hana",    "Imani",  "Isabella",
    "Jasmine", "Keira",     "Lakshmi", "Leila",  "Lucia",  "Maya",    "Mei",    "Nadia",
    "Naomi",   "Nia",       "Olivia",  "Priya",  "Rania",  "Sakura",  "Sofia",  "Tamar",
    "Tanvi",   "Valentina", "Wren",    "Ximena", "Yara",   "Yasmin",  "Zainab", "Zoe",
};

const std::vector<std::string> kLastNames = {
    "Abernathy", "Achebe",    "Alvarez",    "Anand",     "Andersen",  "Bakshi",     "Baptiste",
    "Bergstrom", "Bouchard",  "Castellano", "Chen",      "Chowdhury", "Costa",      "Dasilva",
    "Delacroix", "Deng",      "Dubois",     "Eriksen",   "Fernandes", "Fitzgerald", "Gallagher",
    "Gill",      "Goldberg",  "Gonzalez",   "Haddad",    "Hashemi",   "Hoang",      "Ivanova",
    "Jablonski", "Jovanovic", "Kaur",       "Kowalczyk", "Kumar",     "Lachance",   "Lam",
    "Larocque",  "Leblanc",   "MacDonald",  "Mahmoud",   "Mbeki",     "Mendoza",    "Moreau",
    "Murphy",    "Nakamura",  "Nguyen",     "Novak",     "Nwosu",     "O'Brien",    "Okonkwo",
    "Osei",      "Papadakis", "Patel",      "Pereira",   "Petrov",    "Quispe",     "Rahman",
    "Ramirez",   "Reyes",     "Rossi",      "Sandhu",    "Santos",    "Schneider",  "Sharma",
    "Singh",     "Sokolov",   "Tanaka",     "Thibodeau", "Tremblay",  "Umarov",     "Vasquez",
    "Vo",        "Wahid",     "Whitehorse", "Wong",      "Yamamoto",  "Yilmaz",     "Zhang",
    "Zielinski",
};

// Surnames with a comma: written in the master file in double quotes.
const std::vector<std::string> kCommaLastNames = {
    "Ashworth, Jr.", "Okafor, Jr.", "Lindqvist, Sr.",
    "Beaumont, III", "Mensah, II",  "Castillo, Jr.",
};

struct Course {
    std::string code;            // five characters and "1": the course group, e.g. ENG2D1
    bool big = false;            // its first section is an oversized one (36 to 39 students)
    bool prefixSection = false;  // its last section is numbered "011" beside "01"
};

struct Weighted {
    std::string code;
    int weight;
};

struct GradePlan {
    std::string grade;  // "09" to "12"
    std::vector<Weighted> english;
    std::vector<Weighted> math;
    std::vector<Weighted> science;  // empty in grades 11 and 12
    std::vector<std::string> electives;
};

const std::vector<GradePlan> kPlans = {
    {"09",
     {{"ENG1D1", 60}, {"ENG1P1", 30}, {"ENG1L1", 10}},
     {{"MPM1D1", 60}, {"MFM1P1", 32}, {"MAT1L1", 8}},
     {{"SNC1D1", 62}, {"SNC1P1", 38}},
     {"CGC1D1", "FSF1D1", "AVI1O1", "AMU1O1", "PPL1O1", "BTT1O1", "TIJ1O1", "GLS1O1", "ADA1O1"}},
    {"10",
     {{"ENG2D1", 62}, {"ENG2P1", 38}},
     {{"MPM2D1", 58}, {"MFM2P1", 42}},
     {{"SNC2D1", 60}, {"SNC2P1", 40}},
     {"CHC2D1", "CHV2O1", "GLC2O1", "FSF2D1", "PPL2O1", "ICS2O1", "TDJ2O1", "HFN2O1", "AVI2O1"}},
    {"11",
     {{"ENG3U1", 55}, {"ENG3C1", 35}, {"ENG3E1", 10}},
     {{"MCR3U1", 45}, {"MCF3M1", 25}, {"MBF3C1", 20}, {"MEL3E1", 10}},
     {},
     {"SBI3U1", "SCH3U1", "SPH3U1", "CLU3M1", "HSP3U1", "BAF3M1", "ICS3U1", "TGJ3M1", "TCJ3C1",
      "PPL3O1", "AVI3M1", "FSF3U1", "LWSBU1", "TFJ3C1"}},
    {"12",
     {{"ENG4U1", 55}, {"ENG4C1", 35}, {"ENG4E1", 10}},
     {{"MHF4U1", 40}, {"MAP4C1", 30}, {"MDM4U1", 20}, {"MEL4E1", 10}},
     {},
     {"MCV4U1", "SBI4U1", "SCH4U1", "SPH4U1", "CHY4U1", "CLN4U1", "HZT4U1", "HSB4U1", "ICS4U1",
      "BOH4M1", "PSE4U1", "AVI4M1", "AMU4M1", "CGW4U1", "NBE3U1"}},
};

// Course groups with one oversized section, and those with a "-011" section.
const std::set<std::string> kBigCourses = {"PPL1O1", "AMU1O1", "PSE4U1", "CHV2O1"};
const std::set<std::string> kPrefixCourses = {"AVI1O1", "TIJ1O1", "HFN2O1",
                                              "SNC2P1", "ICS3U1", "MDM4U1"};

std::string pad2(int n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

std::string weightedPick(Random& rnd, const std::vector<Weighted>& options) {
    int total = 0;
    for (const auto& o : options)
        total += o.weight;
    int r = rnd.below(total);
    for (const auto& o : options) {
        if (r < o.weight) return o.code;
        r -= o.weight;
    }
    return options.back().code;
}

struct Student {
    std::string lastName, firstName, gender, number, grade, homeroom, birthDate, status;
    std::string locker, bus, photoConsent, guardian, postalCode, entryDate;
    std::vector<std::string> courses;   // course groups
    std::vector<std::string> sections;  // section codes, parallel to courses at first
    bool zWord = false;
    bool spare = false;  // a study period in the timetable
    std::string lunch;
};

std::string postalCode(Random& rnd) {
    static const std::string letters = "ABCEGHJKLMNPRSTVXY";
    auto letter = [&] {
        return letters[static_cast<std::size_t>(rnd.below(static_cast<int>(letters.size())))];
    };
    auto digit = [&] { return static_cast<char>('0' + rnd.below(10)); };
    std::string s;
    s += 'L';
    s += digit();
    s += letter();
    s += ' ';
    s += digit();
    s += letter();
    s += digit();
    return s;
}

std::vector<Student> makeStudents(Random& rnd) {
    std::vector<Student> students;
    long number = 312004117;
    std::set<std::string> usedNames;
    for (int g = 0; g < kGrades; ++g) {
        const GradePlan& plan = kPlans[static_cast<std::size_t>(g)];
        const int birthYear = 2010 - g;
        for (int i = 0; i < kStudentsPerGrade; ++i) {
            Student s;
            s.gender = rnd.percent(50) ? "M" : "F";
            // Avoid exact duplicate names so that the sample class reads well.
            for (int attempt = 0; attempt < 20; ++attempt) {
                s.firstName = rnd.pick(s.gender == "M" ? kMaleFirstNames : kFemaleFirstNames);
                s.lastName = rnd.pick(kLastNames);
                if (usedNames.insert(s.lastName + "," + s.firstName).second) break;
            }
            s.guardian = s.lastName;
            number += 1 + rnd.below(613);
            s.number = std::to_string(number);
            s.grade = plan.grade;
            s.homeroom = std::to_string(100 + (g + 1) * 100 + rnd.below(30));
            int month = rnd.between(1, 12);
            int day = rnd.between(1, 28);
            int year = rnd.percent(8) ? birthYear - 1 : birthYear;
            s.birthDate = std::to_string(year) + "-" + pad2(month) + "-" + pad2(day);
            int st = rnd.below(100);
            s.status = st < 80 ? "REG" : st < 90 ? "OEN1" : st < 95 ? "ELL" : "SPED";
            s.locker = "L" + std::to_string(1000 + rnd.below(9000));
            s.bus = rnd.percent(45) ? "B" + pad2(rnd.between(1, 38)) : "";
            s.photoConsent = rnd.percent(88) ? "Y" : "N";
            s.postalCode = postalCode(rnd);
            int entryYear = 2024 - g - (rnd.percent(85) ? 0 : rnd.between(0, g));
            s.entryDate = std::to_string(entryYear) + "-09-0" + std::to_string(rnd.between(3, 6));
            s.lunch = rnd.percent(50) ? "LUNCH-A" : "LUNCH-B";
            s.zWord = rnd.percent(40);
            s.spare = rnd.percent(70);

            // Four courses this semester for most; three (often with a study period) or five for
            // some.
            int r = rnd.below(100);
            int count = r < 15 ? 3 : r < 85 ? 4 : 5;
            s.courses.push_back(weightedPick(rnd, plan.english));
            s.courses.push_back(weightedPick(rnd, plan.math));
            if (!plan.science.empty()) s.courses.push_back(weightedPick(rnd, plan.science));
            // Electives without repetition; the courses with an oversized
            // section are chosen more often.
            std::vector<Weighted> electives;
            for (const auto& e : plan.electives)
                electives.push_back({e, kBigCourses.count(e) ? 5 : 2});
            while (static_cast<int>(s.courses.size()) < count) {
                std::string e = weightedPick(rnd, electives);
                s.courses.push_back(e);
                std::erase_if(electives, [&](const Weighted& w) { return w.code == e; });
            }
            students.push_back(std::move(s));
        }
    }
    // A handful of surnames with a comma, on male students spread over the school.
    for (std::size_t k = 0; k < kCommaLastNames.size(); ++k) {
        Student* s = nullptr;
        do {
            s = &students[static_cast<std::size_t>(rnd.below(static_cast<int>(students.size())))];
        } while (s->gender != "M" || s->lastName.find(',') != std::string::npos);
        s->lastName = kCommaLastNames[k];
        s->guardian = kCommaLastNames[k].substr(0, kCommaLastNames[k].find(','));
    }
    return students;
}

// Splits each course group's students into sections and fills in the section codes.
// Returns every section code with its students (indices into students).
std::map<std::string, std::vector<std::size_t>> assignSections(Random& rnd,
                                                               std::vector<Student>& students) {
    std::map<std::string, std::vector<std::pair<std::size_t, std::size_t>>> byCourse;
    for (std::size_t i = 0; i < students.size(); ++i) {
        students[i].sections.assign(students[i].courses.size(), "");
        for (std::size_t c = 0; c < students[i].courses.size(); ++c)
            byCourse[students[i].courses[c]].push_back({i, c});
    }
    std::map<std::string, std::vector<std::size_t>> sections;
    for (auto& [course, members] : byCourse) {
        rnd.shuffle(members);
        const std::size_t n = members.size();
        std::vector<std::size_t> sizes;
        std::size_t rest = n;
        if (kBigCourses.count(course) && n >= 36 + 15) {
            std::size_t big = static_cast<std::size_t>(rnd.between(36, 39));
            sizes.push_back(big);
            rest -= big;
        }
        if (rest > 0) {
            std::size_t k = (rest + kNormalSectionMax - 1) / kNormalSectionMax;
            for (std::size_t j = 0; j < k; ++j)
                sizes.push_back(rest / k + (j < rest % k ? 1 : 0));
        }
        std::size_t next = 0;
        for (std::size_t j = 0; j < sizes.size(); ++j) {
            std::string number = pad2(static_cast<int>(j + 1));
            if (kPrefixCourses.count(course) && sizes.size() >= 2 && j + 1 == sizes.size())
                number = "011";  // beside "01": a code that is a prefix of another
            const std::string code = course + "-" + number;
            for (std::size_t m = 0; m < sizes[j]; ++m, ++next) {
                auto [student, slot] = members[next];
                students[student].sections[slot] = code;
                sections[code].push_back(student);
            }
        }
    }
    return sections;
}

// Gives some students a second section of a course group they already take.
void addDoubleEnrolments(Random& rnd, std::vector<Student>& students,
                         std::map<std::string, std::vector<std::size_t>>& sections) {
    int added = 0;
    while (added < kDoubleEnrolments) {
        std::size_t i = static_cast<std::size_t>(rnd.below(static_cast<int>(students.size())));
        Student& s = students[i];
        if (s.sections.size() != s.courses.size()) continue;  // already has one
        std::size_t slot = static_cast<std::size_t>(rnd.below(static_cast<int>(s.courses.size())));
        const std::string& course = s.courses[slot];
        if (kBigCourses.count(course) || kPrefixCourses.count(course)) continue;
        // The smallest other section of the same course group.
        std::string best;
        for (const auto& [code, members] : sections) {
            if (code.compare(0, course.size(), course) != 0 || code == s.sections[slot]) continue;
            if (best.empty() || members.size() < sections[best].size()) best = code;
        }
        if (best.empty()) continue;
        s.sections.push_back(best);
        sections[best].push_back(i);
        ++added;
    }
}

std::string timetable(Random& rnd, const Student& s) {
    std::vector<std::string> words = s.sections;
    rnd.shuffle(words);
    std::size_t lunchAt = std::min<std::size_t>(2, words.size());
    words.insert(words.begin() + static_cast<std::ptrdiff_t>(lunchAt), s.lunch);
    if (s.courses.size() == 3 && s.spare) words.push_back("SH1-STUDY");
    if (s.zWord) words.push_back(rnd.percent(70) ? "ZHOMEROOM" : "ZATHLETICS");
    std::string text;
    for (const auto& w : words)
        text += (text.empty() ? "" : " ") + w;
    return text;
}

std::string masterFileBytes(Random& rnd, const std::vector<Student>& students) {
    std::string out =
        "Surname,Given Name,Gender,Student No,Grade,Homeroom,Birth Date,Status,Locker,Bus Route,"
        "Photo Consent,Guardian Surname,Postal Code,Entry Date,Timetable\r\n";
    for (const auto& s : students) {
        const bool quote = s.lastName.find(',') != std::string::npos;
        const std::array<std::string, 15> fields = {quote ? "\"" + s.lastName + "\"" : s.lastName,
                                                    s.firstName,
                                                    s.gender,
                                                    s.number,
                                                    s.grade,
                                                    s.homeroom,
                                                    s.birthDate,
                                                    s.status,
                                                    s.locker,
                                                    s.bus,
                                                    s.photoConsent,
                                                    s.guardian,
                                                    s.postalCode,
                                                    s.entryDate,
                                                    timetable(rnd, s)};
        for (std::size_t f = 0; f < fields.size(); ++f)
            out += (f ? "," : "") + fields[f];
        out += "\r\n";
    }
    return out;
}

// The records of the students of section code, in file order, built the way
// the class picker builds a class.
std::vector<tl::StudentRecord> sectionStudents(const std::vector<std::string>& lines,
                                               const std::string& code) {
    std::vector<tl::StudentRecord> records;
    for (const auto& line : lines) {
        tl::MasterStudent m = tl::parseMasterLine(line);
        if (tl::studentInSection(m.rest, code))
            records.push_back(tl::newStudentFromMaster(m, code));
    }
    return records;
}

// The section of the sample class: an English section of about 30 students in
// which no code is a prefix of another and no surname holds a comma.
std::string chooseSampleSection(const std::vector<std::string>& lines,
                                const std::vector<std::string>& codes) {
    std::string best;
    int bestDistance = 1000;
    for (const auto& code : codes) {
        if (code.rfind("ENG", 0) != 0) continue;
        bool prefix = false;
        for (const auto& other : codes)
            if (other != code && other.find(code) != std::string::npos) prefix = true;
        if (prefix) continue;
        const auto records = sectionStudents(lines, code);
        bool comma = false;
        for (const auto& r : records)
            if (r.lastName.find(',') != std::string::npos) comma = true;
        if (comma) continue;
        int distance = std::abs(static_cast<int>(records.size()) - kSampleClassTarget);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = code;
        }
    }
    return best;
}

// Comment codes of demo/TLPhraseLibrary.csv by what they say.
const std::vector<std::string> kStrongComments = {"0004", "2101", "2107", "2117",
                                                  "0100", "0145", "2133", "0138"};
const std::vector<std::string> kMiddleComments = {"0005", "2103", "2113", "2123",
                                                  "0116", "0160", "2105", "0151"};
const std::vector<std::string> kWeakComments = {"0006", "0007", "2109", "2111", "2119",
                                                "0104", "0162", "0016", "0018"};

// Gives about two thirds of the class a teacher's entries.
void fillSampleEntries(Random& rnd, std::vector<tl::StudentRecord>& cls) {
    const std::size_t n = cls.size();
    std::vector<std::size_t> marked;
    for (std::size_t i = 0; i < n; ++i)
        if (i % 3 != 2) marked.push_back(i);

    for (std::size_t i : marked) {
        tl::StudentRecord& s = cls[i];
        int mark = rnd.between(42, 97);
        s.mark = std::to_string(mark);
        const auto& pool = mark >= 80   ? kStrongComments
                           : mark >= 65 ? kMiddleComments
                                        : kWeakComments;
        int count = rnd.between(2, 3);
        std::vector<std::string> codes = pool;
        rnd.shuffle(codes);
        std::sort(codes.begin(), codes.begin() + count);
        for (int c = 0; c < count; ++c)
            s.comments[static_cast<std::size_t>(c)] = codes[static_cast<std::size_t>(c)];
        int centre = mark >= 80 ? 4 : mark >= 65 ? 3 : mark >= 55 ? 2 : 1;
        for (auto& skill : s.skills) {
            int v = std::clamp(centre + rnd.between(-1, 1), 1, 4);
            skill = std::to_string(v);
        }
    }
    // Flags on a few of the marked students; ESL and ELD never together.
    auto at = [&](std::size_t k) -> tl::StudentRecord& { return cls[marked[k % marked.size()]]; };
    at(1).iep = "Y";
    at(6).iep = "Y";
    at(3).esl = "Y";
    at(9).esl = "Y";
    at(12).eld = "Y";
    at(4).interview = "Y";

    tl::StudentRecord& ff = at(7);
    const bool male = ff.gender == "M";
    ff.freeFormUsed = true;
    ff.freeFormText = ff.firstName + " has worked steadily this term, and " +
                      (male ? "his" : "her") + " essays show real insight; " +
                      (male ? "he" : "she") +
                      " should keep reading widely: novels, poetry and the news. Well done!";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tl_make_demo_school MASTER_FILE_PATH TEACHER_FOLDER\n";
        return 2;
    }
    const std::string masterPath = argv[1];
    const std::string teacherFolder = argv[2];

    Random rnd(kSeed);
    std::vector<Student> students = makeStudents(rnd);
    auto sections = assignSections(rnd, students);
    addDoubleEnrolments(rnd, students, sections);
    const std::string bytes = masterFileBytes(rnd, students);

    std::error_code ec;
    const auto masterFolder = std::filesystem::path(masterPath).parent_path();
    if (!masterFolder.empty()) std::filesystem::create_directories(masterFolder, ec);
    if (!tl::writeFileAtomically(masterPath, bytes)) {
        std::cerr << "tl_make_demo_school: cannot write the master file " << masterPath << "\n";
        return 1;
    }

    // The sample class, built the way the class picker builds one.
    auto lines = tl::readMasterStudentLines(masterPath);
    if (!lines) {
        std::cerr << "tl_make_demo_school: cannot read back the master file " << masterPath << "\n";
        return 1;
    }
    auto codes = tl::collectClassSections(*lines);
    if (!codes || codes->empty()) {
        std::cerr << "tl_make_demo_school: the master file has no class sections\n";
        return 1;
    }
    const std::string code = chooseSampleSection(*lines, *codes);
    if (code.empty()) {
        std::cerr << "tl_make_demo_school: no section fits the sample class\n";
        return 1;
    }
    auto cls = tl::matchStudentsToSections(*lines, {code}, tl::kMaxStudents);
    if (!cls) {
        std::cerr << "tl_make_demo_school: the sample section has too many students\n";
        return 1;
    }
    if (*cls != sectionStudents(*lines, code))
        std::cerr << "tl_make_demo_school: warning: matchStudentsToSections and "
                     "newStudentFromMaster disagree about section "
                  << code << "\n";
    tl::sortByName(*cls);
    fillSampleEntries(rnd, *cls);

    std::filesystem::create_directories(teacherFolder, ec);
    const std::string classPath =
        (std::filesystem::path(teacherFolder) / (tl::alphanumericOnly(code) + ".tlc")).string();
    if (auto failure = tl::saveClass(classPath, *cls)) {
        std::cerr << "tl_make_demo_school: cannot write the class file " << classPath << ": "
                  << failure->text << "\n";
        return 1;
    }
    std::cout << "Master file: " << masterPath << " (" << students.size() << " students, "
              << codes->size() << " class sections)\n"
              << "Sample class: " << classPath << " (section " << code << ", " << cls->size()
              << " students)\n";
    return 0;
}
