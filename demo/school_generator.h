// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// An invented secondary school for the demo and the benchmarks: its enrolment
// file and classes of its students with a teacher's entries. Everything is
// made from a seed and gives the same bytes on every run and platform.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/student_record.h"

namespace tl::demo {

// splitmix64 with our own helpers; no standard distributions, whose results
// differ between library versions.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // A whole number from 0 to n - 1 (n > 0).
    int below(int n);
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
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[static_cast<std::size_t>(below(static_cast<int>(i)))]);
    }

  private:
    std::uint64_t state_;
};

// A student as the enrolment file lists them.
struct EnrolledStudent {
    std::string lastName, firstName, gender, number;
    std::string grade, homeroom, birthDate, status, locker, bus, photoConsent, guardian, postalCode,
        entryDate;
    std::vector<std::string> courses;    // course groups, e.g. "ENG2D1"
    std::vector<std::string> sections;   // class section codes, e.g. "ENG2D1-03"
    std::vector<std::string> timetable;  // column 15: the sections among LUNCH, SH1 and Z words
};

// A course whose sections together hold exactly `records` class records: a
// teacher's class at the table's capacity.
struct FixedCourse {
    std::string course;        // course group; its sections are course-01, course-02, ...
    int sections = 3;          // 1 to 9
    int records = 501;         // class records over all its sections
    int doubleEnrolments = 1;  // students in two of its sections
};

struct SchoolPlan {
    std::uint64_t seed = 20240906;
    int studentsPerGrade = 400;  // grades 9 to 12
    std::optional<FixedCourse> fixedCourse;
};

struct School {
    std::vector<EnrolledStudent> students;
    // Every class section with its students (indices into students).
    std::map<std::string, std::vector<std::size_t>> sections;
    std::string fixedCourse;  // the plan's fixed course group, or ""

    // The enrolment file: a header line, then one CR LF line per student.
    std::string enrolmentText() const;
    // The section codes of the fixed course, in character order.
    std::vector<std::string> fixedSections() const;
};

// The school: four grades with their usual courses split into sections of up
// to 31 students, a few oversized sections, a few course groups with a
// section "-011" beside "-01" (a code that holds another), some students in
// two sections of one course, quoted surnames that hold a comma, and LUNCH,
// SH1 and Z words in the timetables.
School makeSchool(const SchoolPlan& plan);

// The class of the sections as the class picker builds it from the
// enrolment file, in file order; nothing when it would exceed 501 records.
std::optional<std::vector<StudentRecord>> classOfSections(const School& school,
                                                          const std::vector<std::string>& codes);

// Comment codes by the marks they suit.
struct CommentBands {
    std::vector<std::string> high;    // 80 and above
    std::vector<std::string> middle;  // 65 to 79
    std::vector<std::string> low;     // below 65, "I" and no mark
};

// Codes of demo/TLPhraseLibrary.csv by what they say.
CommentBands demoLibraryBands();

// Every code of a phrase table, in each band.
CommentBands everyCodeBands(const std::vector<std::string>& codes);

struct EntryPlan {
    CommentBands comments;
    int minComments = 2;  // distinct codes per student with entries, 1 to 5
    int maxComments = 3;
    int untouchedPercent = 0;  // students the teacher has not reached: no entries
    bool gaps = false;         // some "I" marks, missing marks and unrated skills
    int flagPercent = 0;       // of the students with entries, per flag; at least one each
    int freeFormPercent = 0;   // likewise, free-form comments in use
};

// Fills in a teacher's entries: a mark, comments of the mark's band, learning
// skills near the mark, the IEP, ESL, ELD and interview flags (never ESL and
// ELD together) and free-form comments.
void fillEntries(Random& rnd, std::vector<StudentRecord>& students, const EntryPlan& plan);

}  // namespace tl::demo
