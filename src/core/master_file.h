// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/notice.h"
#include "core/student_record.h"

// The school's master class data file, data/TLStudentInfo.txt beside the
// program folder: a header line, then one comma-separated line per student.
namespace tl {

// The program folder without its last path component.
std::string dataRootFolder(const std::string& programFolder);

// The master file under dataRoot, "data" and "TLStudentInfo.txt" matched without
// regard to letter case; dataRoot/data/TLStudentInfo.txt when no such file exists.
std::string findMasterFile(const std::string& dataRoot);

// Column 15 (the timetable) of a master line.
std::string timetableField(std::string line);

// Whole calendar days, in local time, from `from` to `to`.
int calendarDaysBetween(std::time_t from, std::time_t to);

// Age in days of the file at path (from its last modification), or nothing when
// it does not exist.
std::optional<int> masterFileAgeDays(const std::string& path, std::time_t now);

// An enrolment file older than 30 days is refused; 30 days is still accepted.
bool masterFileTooOld(int ageDays);

// The student lines of the file's text (header skipped).
std::vector<std::string> masterStudentLines(std::string_view text);

// The student lines of the file (header skipped), or nothing when it cannot be
// read or decoded (a NUL byte, a byte-order mark before bytes that are not UTF-8).
std::optional<std::vector<std::string>> readMasterStudentLines(const std::string& path);

// A student line split into its first 14 columns and the rest of the line.
struct MasterStudent {
    std::string lastName, firstName, gender, studentNumber, field8, field14;
    std::string rest;  // column 15 and anything after it
};
MasterStudent parseMasterLine(std::string_view line);

// True when the student's timetable rest holds the section code (plain
// substring); an empty code is no section.
bool studentInSection(std::string_view rest, std::string_view code);

// A word of a timetable that is not a class section (LUNCH..., SH1..., Z...).
bool isNonSectionWord(std::string_view word);

// The distinct class sections of the student lines in ascending character
// order; nothing when there are more than 2001.
std::optional<std::vector<std::string>> collectClassSections(
    const std::vector<std::string>& studentLines);

// A new record for a student taken into section code: no mark, no comments,
// every skill "3", interview "0".
StudentRecord newStudentFromMaster(const MasterStudent& master, const std::string& code);

// The records of every student line (in file order) whose timetable holds one
// of the codes, one record per matching code. Nothing when more than capacity.
std::optional<std::vector<StudentRecord>> matchStudentsToSections(
    const std::vector<std::string>& studentLines, const std::vector<std::string>& codes,
    std::size_t capacity);

struct ReconcileResult {
    bool refused = false;
    std::vector<StudentRecord> added;    // new to the class
    std::vector<StudentRecord> dropped;  // no longer enrolled, as they were
    Failure notice;                      // TL4 or TL5 when refused
};

// Rebuilds the class from the enrolment file's bytes, keeping every teacher
// entry of the students still enrolled. Refused (the table unchanged) with TL5
// when the bytes cannot be read or the lists would overflow, and with TL21 when
// none of the class's students is in the file.
ReconcileResult reconcileWithMasterText(std::vector<StudentRecord>& students,
                                        std::string_view masterBytes, std::size_t addedCapacity,
                                        std::size_t droppedCapacity);

// The age test (TL4), then reconcileWithMasterText on the file at masterPath,
// which is searched as it is read, chunkBytes at a time.
inline constexpr std::size_t kEnrolmentChunkBytes = 64 * 1024;
ReconcileResult reconcileWithMaster(std::vector<StudentRecord>& students,
                                    const std::string& masterPath, std::time_t now,
                                    std::size_t addedCapacity, std::size_t droppedCapacity,
                                    std::size_t chunkBytes = kEnrolmentChunkBytes);

}  // namespace tl
