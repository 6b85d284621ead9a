// SPDX-License-Identifier: GPL-3.0-or-later

#include "school_generator.h"

#include <algorithm>
#include <array>
#include <set>
#include <stdexcept>

#include "core/limits.h"
#include "core/master_file.h"
#include "core/text.h"

namespace tl::demo {

std::uint64_t Random::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int Random::below(int n) {
    return static_cast<int>(next() % static_cast<std::uint64_t>(n));
}

namespace {

constexpr std::size_t kNormalSectionMax = 31;  // leaves room for the double enrolments
constexpr int kStudentsPerDoubleEnrolment = 133;

const std::vector<std::string> kMaleFirstNames = {
    "Aarav",   "Adebayo", "Alejandro", "Amir",    "Anselm", "Arjun", "Bilal",  "Callum",
    "Caspian", "Chidi",   "Daniel",    "Dmitri",  "Elias",  "Ethan", "Farhan", "Gabriel",
    "Gideon",  "Haruto",  "Hamza",     "Ibrahim", "Isaac",  "Jamal", "Jasper", "Jaxon",
    "Jin",     "Kai",     "Kwame",     "Liam",    "Lorcan", "Lucas", "Mateo",  "Mohammed",
    "Nikolai", "Noah",    "Omar",      "Owen",    "Rafael", "Rohan", "Samuel", "Santiago",
    "Soren",   "Tariq",   "Teodor",    "Thomas",  "Tyrese", "Wei",   "Yusuf",  "Idris",
};

const std::vector<std::string> kFemaleFirstNames = {
    "Aaliyah",   "Abigail", "Aiko",     "Amara",   "Ananya", "Beatriz", "Brielle", "Cassia",
    "Chloe",     "Daniela", "Delphine", "Eleni",   "Emily",  "Fatima",  "Freya",   "Grace",
    "Hana",      "Imani",   "Isabella", "Jasmine", "Juno",   "Keira",   "Lakshmi", "Leila",
    "Liora",     "Lucia",   "Maren",    "Maya",    "Mei",    "Nadia",   "Naomi",   "Nia",
    "Olivia",    "Priya",   "Rania",    "Sabine",  "Sakura", "Sofia",   "Tamar",   "Tanvi",
    "Valentina", "Verity",  "Wren",     "Ximena",  "Yara",   "Yasmin",  "Zainab",  "Zoe",
};

const std::vector<std::string> kLastNames = {
    "Abernathy", "Achebe",    "Alvarez",   "Anand",     "Andersen",   "Ashford",    "Bakshi",
    "Baptiste",  "Bergstrom", "Bouchard",  "Brambrook", "Castellano", "Chen",       "Chowdhury",
    "Corley",    "Costa",     "Dasilva",   "Delacroix", "Dellmere",   "Deng",       "Dubois",
    "Elmridge",  "Eriksen",   "Fenwell",   "Fernandes", "Fitzgerald", "Gallagher",  "Gill",
    "Goldberg",  "Gonzalez",  "Haddad",    "Hashemi",   "Hoang",      "Holloway",   "Ivanova",
    "Jablonski", "Jovanovic", "Kaur",      "Kesston",   "Kowalczyk",  "Kumar",      "Lachance",
    "Lam",       "Larocque",  "Leblanc",   "Lindholt",  "MacDonald",  "Mahmoud",    "Mbeki",
    "Mendoza",   "Moreau",    "Morcombe",  "Murphy",    "Nakamura",   "Nettleford", "Nguyen",
    "Novak",     "Nwosu",     "O'Brien",   "Okonkwo",   "Orrdale",    "Osei",       "Papadakis",
    "Patel",     "Pellston",  "Pereira",   "Petrov",    "Quispe",     "Rahman",     "Ramirez",
    "Reyes",     "Rookfield", "Rossi",     "Sandhu",    "Santos",     "Schneider",  "Selwood",
    "Sharma",    "Singh",     "Sokolov",   "Tanaka",    "Thibodeau",  "Thornley",   "Tremblay",
    "Umarov",    "Vasquez",   "Vellridge", "Vo",        "Wahid",      "Whitehorse", "Wickham",
    "Wong",      "Yamamoto",  "Yilmaz",    "Zhang",     "Zielinski",
};

// Surnames with a comma: written in the enrolment file in double quotes.
const std::vector<std::string> kCommaLastNames = {
    "Ashworth, Jr.", "Okafor, Jr.", "Lindqvist, Sr.",
    "Beaumont, III", "Mensah, II",  "Castillo, Jr.",
};

// Timetable words that are no class section.
const std::vector<std::string> kLunchWords = {"LUNCH-A", "LUNCH-B", "LUNCH-A", "LUNCH-B", "LUNCH"};
const std::vector<std::string> kStudyWords = {"SH1-STUDY", "SH1-STUDY", "SH1HR12"};
const std::vector<std::string> kZWords = {"ZHOMEROOM", "ZHOMEROOM", "ZATHLETICS", "ZLIB"};

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

// A weighted choice among the options other than `except`.
std::string weightedPick(Random& rnd, const std::vector<Weighted>& options,
                         const std::string& except) {
    int total = 0;
    for (const auto& o : options)
        if (o.code != except) total += o.weight;
    int r = rnd.below(total);
    for (const auto& o : options) {
        if (o.code == except) continue;
        if (r < o.weight) return o.code;
        r -= o.weight;
    }
    return options.back().code;
}

std::string postalCode(Random& rnd) {
    static const std::string letters = "ABCEGHJKLMNPRSTVXY";
    auto letter = [&] {
        return letters[static_cast<std::size_t>(rnd.below(static_cast<int>(letters.size())))];
    };
    auto digit = [&] { return static_cast<char>('0' + rnd.below(10)); };
    std::string s = "L";
    s += digit();
    s += letter();
    s += ' ';
    s += digit();
    s += letter();
    s += digit();
    return s;
}

std::string surname(Random& rnd) {
    std::string name = rnd.pick(kLastNames);
    if (rnd.percent(4)) {
        std::string second = rnd.pick(kLastNames);
        if (second != name && second.find('\'') == std::string::npos) name += "-" + second;
    }
    return name;
}

std::vector<EnrolledStudent> makeStudents(Random& rnd, int perGrade, const std::string& fixed) {
    std::vector<EnrolledStudent> students;
    long number = 312004117;
    std::set<std::string> usedNames;
    for (std::size_t g = 0; g < kPlans.size(); ++g) {
        const GradePlan& plan = kPlans[g];
        const int gradeIndex = static_cast<int>(g);
        const int birthYear = 2010 - gradeIndex;
        for (int i = 0; i < perGrade; ++i) {
            EnrolledStudent s;
            s.gender = rnd.percent(50) ? "M" : "F";
            // Few exact duplicate names, so that a class reads well.
            for (int attempt = 0; attempt < 20; ++attempt) {
                s.firstName = rnd.pick(s.gender == "M" ? kMaleFirstNames : kFemaleFirstNames);
                s.lastName = surname(rnd);
                if (usedNames.insert(s.lastName + "," + s.firstName).second) break;
            }
            s.guardian = s.lastName;
            number += 1 + rnd.below(613);
            s.number = std::to_string(number);
            s.grade = plan.grade;
            s.homeroom = std::to_string(100 + (gradeIndex + 1) * 100 + rnd.below(30));
            const int month = rnd.between(1, 12);
            const int day = rnd.between(1, 28);
            const int year = rnd.percent(8) ? birthYear - 1 : birthYear;
            s.birthDate = std::to_string(year) + "-" + pad2(month) + "-" + pad2(day);
            const int st = rnd.below(100);
            s.status = st < 80 ? "REG" : st < 90 ? "OEN1" : st < 95 ? "ELL" : "SPED";
            s.locker = "L" + std::to_string(1000 + rnd.below(9000));
            s.bus = rnd.percent(45) ? "B" + pad2(rnd.between(1, 38)) : "";
            s.photoConsent = rnd.percent(88) ? "Y" : "N";
            s.postalCode = postalCode(rnd);
            const int entryYear =
                2024 - gradeIndex - (rnd.percent(85) ? 0 : rnd.between(0, gradeIndex));
            s.entryDate = std::to_string(entryYear) + "-09-0" + std::to_string(rnd.between(3, 6));

            // Four courses this semester for most; three or five for some.
            const int r = rnd.below(100);
            const int count = r < 15 ? 3 : r < 85 ? 4 : 5;
            s.courses.push_back(weightedPick(rnd, plan.english, fixed));
            s.courses.push_back(weightedPick(rnd, plan.math, fixed));
            if (!plan.science.empty()) s.courses.push_back(weightedPick(rnd, plan.science, fixed));
            // Electives without repetition; those with an oversized section
            // are chosen more often.
            std::vector<Weighted> electives;
            for (const auto& e : plan.electives)
                if (e != fixed) electives.push_back({e, kBigCourses.count(e) ? 5 : 2});
            while (static_cast<int>(s.courses.size()) < count) {
                const std::string e = weightedPick(rnd, electives, fixed);
                s.courses.push_back(e);
                std::erase_if(electives, [&](const Weighted& w) { return w.code == e; });
            }
            students.push_back(std::move(s));
        }
    }
    // A handful of surnames with a comma, on male students spread over the school.
    for (const std::string& name : kCommaLastNames) {
        for (std::size_t tries = 0; tries < 10 * students.size(); ++tries) {
            EnrolledStudent& s =
                students[static_cast<std::size_t>(rnd.below(static_cast<int>(students.size())))];
            if (s.gender != "M" || s.lastName.find(',') != std::string::npos) continue;
            s.lastName = name;
            s.guardian = name.substr(0, name.find(','));
            break;
        }
    }
    return students;
}

// Gives the fixed course to records - doubleEnrolments students, from its own
// grade when the grade has enough of them.
void enrolInFixedCourse(Random& rnd, std::vector<EnrolledStudent>& students,
                        const FixedCourse& fixed) {
    const int wanted = fixed.records - fixed.doubleEnrolments;
    if (fixed.sections < 1 || fixed.sections > 9 || fixed.doubleEnrolments < 0 || wanted < 1 ||
        (fixed.doubleEnrolments > 0 && fixed.sections < 2) || fixed.doubleEnrolments > wanted) {
        throw std::invalid_argument("fixed course: impossible sections or records");
    }
    std::vector<std::size_t> candidates;
    const char level = fixed.course.size() > 3 ? fixed.course[3] : '0';
    for (std::size_t i = 0; i < students.size(); ++i)
        if (level >= '1' && level <= '4' && students[i].grade == pad2(8 + (level - '0')))
            candidates.push_back(i);
    if (static_cast<int>(candidates.size()) < wanted) {
        candidates.clear();
        for (std::size_t i = 0; i < students.size(); ++i)
            candidates.push_back(i);
    }
    if (static_cast<int>(candidates.size()) < wanted)
        throw std::invalid_argument("fixed course: more records than students");
    rnd.shuffle(candidates);
    candidates.resize(static_cast<std::size_t>(wanted));
    std::sort(candidates.begin(), candidates.end());
    for (std::size_t i : candidates)
        students[i].courses.push_back(fixed.course);
}

// Section sizes for n students of a course group.
std::vector<std::size_t> sectionSizes(Random& rnd, const std::string& course, std::size_t n,
                                      const std::optional<FixedCourse>& fixed) {
    std::vector<std::size_t> sizes;
    std::size_t rest = n;
    std::size_t k = (rest + kNormalSectionMax - 1) / kNormalSectionMax;
    if (fixed && course == fixed->course) {
        k = static_cast<std::size_t>(fixed->sections);
    } else if (kBigCourses.count(course) && n >= 36 + 15) {
        const auto big = static_cast<std::size_t>(rnd.between(36, 39));
        sizes.push_back(big);
        rest -= big;
        k = (rest + kNormalSectionMax - 1) / kNormalSectionMax;
    }
    for (std::size_t j = 0; j < k; ++j)
        sizes.push_back(rest / k + (j < rest % k ? 1 : 0));
    return sizes;
}

// Splits each course group's students into sections and fills in the section codes.
void assignSections(Random& rnd, School& school, const std::optional<FixedCourse>& fixed) {
    std::vector<EnrolledStudent>& students = school.students;
    std::map<std::string, std::vector<std::pair<std::size_t, std::size_t>>> byCourse;
    for (std::size_t i = 0; i < students.size(); ++i) {
        students[i].sections.assign(students[i].courses.size(), "");
        for (std::size_t c = 0; c < students[i].courses.size(); ++c)
            byCourse[students[i].courses[c]].push_back({i, c});
    }
    for (auto& [course, members] : byCourse) {
        rnd.shuffle(members);
        const std::vector<std::size_t> sizes = sectionSizes(rnd, course, members.size(), fixed);
        std::size_t next = 0;
        for (std::size_t j = 0; j < sizes.size(); ++j) {
            std::string number = pad2(static_cast<int>(j + 1));
            const bool isFixed = fixed && course == fixed->course;
            if (!isFixed && kPrefixCourses.count(course) && sizes.size() >= 2 &&
                j + 1 == sizes.size())
                number = "011";  // beside "01": a code that holds another
            const std::string code = course + "-" + number;
            for (std::size_t m = 0; m < sizes[j]; ++m, ++next) {
                auto [student, slot] = members[next];
                students[student].sections[slot] = code;
                school.sections[code].push_back(student);
            }
        }
    }
}

// Gives a student a second section of a course group the student already takes.
void addSecondSection(School& school, std::size_t student, const std::string& code) {
    school.students[student].sections.push_back(code);
    school.sections[code].push_back(student);
}

// Some students in two sections of one course group: the smallest other
// section of a course without an oversized or "-011" section; in the fixed
// course, exactly its double enrolments.
void addDoubleEnrolments(Random& rnd, School& school, const std::optional<FixedCourse>& fixed) {
    std::vector<EnrolledStudent>& students = school.students;
    const int wanted = std::max(1, static_cast<int>(students.size()) / kStudentsPerDoubleEnrolment);
    const std::string fixedCourse = fixed ? fixed->course : "";
    for (int added = 0, tries = 0; added < wanted && tries < 1000 * wanted; ++tries) {
        const auto i = static_cast<std::size_t>(rnd.below(static_cast<int>(students.size())));
        EnrolledStudent& s = students[i];
        if (s.sections.size() != s.courses.size()) continue;  // already has one
        const auto slot = static_cast<std::size_t>(rnd.below(static_cast<int>(s.courses.size())));
        const std::string course = s.courses[slot];
        if (course == fixedCourse || kBigCourses.count(course) || kPrefixCourses.count(course))
            continue;
        std::string best;
        for (const auto& [code, members] : school.sections) {
            if (code.compare(0, course.size(), course) != 0 || code == s.sections[slot]) continue;
            if (best.empty() || members.size() < school.sections[best].size()) best = code;
        }
        if (best.empty()) continue;
        addSecondSection(school, i, best);
        ++added;
    }
    if (!fixed || fixed->doubleEnrolments == 0) return;
    const std::vector<std::string> codes = school.fixedSections();
    std::vector<std::pair<std::size_t, std::size_t>> members;  // student, its section
    for (std::size_t c = 0; c < codes.size(); ++c)
        for (std::size_t i : school.sections[codes[c]])
            members.push_back({i, c});
    rnd.shuffle(members);
    members.resize(static_cast<std::size_t>(fixed->doubleEnrolments));
    for (auto [student, c] : members)
        addSecondSection(school, student, codes[(c + 1) % codes.size()]);
}

void makeTimetables(Random& rnd, School& school) {
    for (EnrolledStudent& s : school.students) {
        std::vector<std::string> words = s.sections;
        rnd.shuffle(words);
        const std::size_t lunchAt = std::min<std::size_t>(2, words.size());
        words.insert(words.begin() + static_cast<std::ptrdiff_t>(lunchAt), rnd.pick(kLunchWords));
        if (s.courses.size() == 3 && rnd.percent(70)) words.push_back(rnd.pick(kStudyWords));
        if (rnd.percent(40)) words.push_back(rnd.pick(kZWords));
        s.timetable = std::move(words);
    }
}

// A free-form comment in the teacher's words; {name}, {his} and {he} are the student's.
const std::vector<std::string> kFreeForms = {
    "{name} has worked steadily this term, and {his} essays show real insight; {he} should "
    "keep reading widely: novels, poetry and the news. Well done!",
    "{name} missed several weeks for health reasons, so the mark reflects the work completed "
    "since March; {he} has caught up with real care.",
    "Strong in the labs, less so on tests: {name} should practise the review questions, one "
    "unit at a time.",
    "As discussed at the interview, {name} will hand in homework on time and ask questions "
    "earlier; {his} progress since then is encouraging.",
};

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string freeFormText(Random& rnd, const StudentRecord& s) {
    const bool male = s.gender == "M";
    std::string text = rnd.pick(kFreeForms);
    text = replaceAll(text, "{name}", s.firstName);
    text = replaceAll(text, "{his}", male ? "his" : "her");
    return replaceAll(text, "{he}", male ? "he" : "she");
}

// Up to count distinct codes of the band, ascending.
std::vector<std::string> pickCodes(Random& rnd, const std::vector<std::string>& band, int count) {
    std::vector<std::string> codes;
    const std::size_t wanted = std::min(band.size(), static_cast<std::size_t>(count));
    while (codes.size() < wanted) {
        const std::string& code = rnd.pick(band);
        if (std::find(codes.begin(), codes.end(), code) == codes.end()) codes.push_back(code);
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

// `count` distinct students of the pool, excluding those `skip` holds.
std::vector<std::size_t> chooseStudents(Random& rnd, std::vector<std::size_t> pool, int count,
                                        const std::set<std::size_t>& skip = {}) {
    std::erase_if(pool, [&](std::size_t i) { return skip.count(i) > 0; });
    rnd.shuffle(pool);
    pool.resize(std::min(pool.size(), static_cast<std::size_t>(std::max(count, 0))));
    return pool;
}

}  // namespace

std::string School::enrolmentText() const {
    std::string out =
        "Surname,Given Name,Gender,Student No,Grade,Homeroom,Birth Date,Status,Locker,Bus Route,"
        "Photo Consent,Guardian Surname,Postal Code,Entry Date,Timetable\r\n";
    for (const EnrolledStudent& s : students) {
        std::string timetable;
        for (const std::string& word : s.timetable)
            timetable += (timetable.empty() ? "" : " ") + word;
        const std::array<std::string, 15> fields = {
            csvField(s.lastName), csvField(s.firstName), s.gender,     s.number,    s.grade,
            s.homeroom,           s.birthDate,           s.status,     s.locker,    s.bus,
            s.photoConsent,       csvField(s.guardian),  s.postalCode, s.entryDate, timetable};
        for (std::size_t f = 0; f < fields.size(); ++f)
            out += (f ? "," : "") + fields[f];
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> School::fixedSections() const {
    std::vector<std::string> codes;
    if (fixedCourse.empty()) return codes;
    for (const auto& [code, members] : sections)
        if (code.compare(0, fixedCourse.size() + 1, fixedCourse + "-") == 0) codes.push_back(code);
    return codes;
}

School makeSchool(const SchoolPlan& plan) {
    Random rnd(plan.seed);
    School school;
    if (plan.fixedCourse) school.fixedCourse = plan.fixedCourse->course;
    school.students = makeStudents(rnd, plan.studentsPerGrade, school.fixedCourse);
    if (plan.fixedCourse) enrolInFixedCourse(rnd, school.students, *plan.fixedCourse);
    assignSections(rnd, school, plan.fixedCourse);
    addDoubleEnrolments(rnd, school, plan.fixedCourse);
    makeTimetables(rnd, school);
    return school;
}

std::optional<std::vector<StudentRecord>> classOfSections(const School& school,
                                                          const std::vector<std::string>& codes) {
    const std::string text = school.enrolmentText();
    return matchStudentsToSections(masterStudentLines(text), codes, kMaxStudents);
}

CommentBands demoLibraryBands() {
    return {
        {"0004", "2101", "2107", "2117", "0100", "0145", "2133", "0138"},
        {"0005", "2103", "2113", "2123", "0116", "0160", "2105", "0151"},
        {"0006", "0007", "2109", "2111", "2119", "0104", "0162", "0016", "0018"},
    };
}

CommentBands everyCodeBands(const std::vector<std::string>& codes) {
    return {codes, codes, codes};
}

void fillEntries(Random& rnd, std::vector<StudentRecord>& students, const EntryPlan& plan) {
    std::vector<std::size_t> reached;
    for (std::size_t i = 0; i < students.size(); ++i)
        if (!rnd.percent(plan.untouchedPercent)) reached.push_back(i);

    for (std::size_t i : reached) {
        StudentRecord& s = students[i];
        const int value = rnd.between(38, 99);
        const int roll = plan.gaps ? rnd.below(100) : 100;
        s.mark = roll < 3 ? "I" : roll < 5 ? "" : std::to_string(value);
        const bool numeric = roll >= 5;
        const auto& band = !numeric      ? plan.comments.low
                           : value >= 80 ? plan.comments.high
                           : value >= 65 ? plan.comments.middle
                                         : plan.comments.low;
        const int fewest = std::clamp(plan.minComments, 0, 5);
        const std::vector<std::string> codes =
            pickCodes(rnd, band, rnd.between(fewest, std::clamp(plan.maxComments, fewest, 5)));
        for (std::size_t c = 0; c < codes.size(); ++c)
            s.comments[c] = codes[c];
        const int centre = !numeric ? 2 : value >= 80 ? 4 : value >= 65 ? 3 : value >= 55 ? 2 : 1;
        for (std::string& skill : s.skills) {
            skill = std::to_string(std::clamp(centre + rnd.between(-1, 1), 1, 4));
            if (plan.gaps && rnd.percent(2)) skill = "";
        }
    }

    auto share = [&](int percent) {
        if (percent <= 0 || reached.empty()) return 0;
        return std::max(1, static_cast<int>(reached.size()) * percent / 100);
    };
    const int flagged = share(plan.flagPercent);
    for (std::size_t i : chooseStudents(rnd, reached, flagged))
        students[i].iep = "Y";
    std::set<std::size_t> esl;
    for (std::size_t i : chooseStudents(rnd, reached, flagged)) {
        students[i].esl = "Y";
        esl.insert(i);
    }
    for (std::size_t i : chooseStudents(rnd, reached, flagged, esl))
        students[i].eld = "Y";
    for (std::size_t i : chooseStudents(rnd, reached, flagged))
        students[i].interview = "Y";
    for (std::size_t i : chooseStudents(rnd, reached, share(plan.freeFormPercent))) {
        students[i].freeFormUsed = true;
        students[i].freeFormText = freeFormText(rnd, students[i]);
    }
}

}  // namespace tl::demo
