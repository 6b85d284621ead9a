// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>
#include <vector>

#include "checks/completeness.h"
#include "core/file_io.h"
#include "core/notice.h"
#include "core/phrase_library.h"
#include "core/student_record.h"

// The export checks and the Trillium export file (.trc, the eFile), without Qt.
namespace tl {

// The fields of an eFile line, in file order. The learning skills stand in
// the office's order (IW, OR, IN, then RE, CO, SR), not the record's.
namespace efile {
enum Field {
    kClassCode,
    kLastName,
    kFirstName,
    kStudentNumber,
    kEmpty5,
    kGender,
    kField8,
    kIep,
    kLanguage,
    kMark,
    kZero11,
    kZero12,
    kSkillIW,
    kEmpty14,
    kSkillOR,
    kEmpty16,
    kSkillIN,
    kEmpty18,
    kComment,
    kSkillRE,
    kSkillCO,
    kSkillSR,
    kInterview,
    kZero24,
    kFieldCount
};
}  // namespace efile

// The columns of the export preview grid.
namespace preview {
inline constexpr int kCourse = 0;
inline constexpr int kStudentId = 1;
inline constexpr int kLastName = 2;
inline constexpr int kFirstName = 3;
inline constexpr int kMark = 4;
inline constexpr int kComments = 5;
inline constexpr int kFirstSkill = 6;  // RE to SR, second row only
inline constexpr int kIep = 12;
inline constexpr int kEsl = 13;
inline constexpr int kEld = 14;
inline constexpr int kInterview = 15;
inline constexpr int kColumnCount = 16;
inline constexpr int kIdentityColumns = 5;  // merged over a student's rows
inline constexpr int kFrozenColumns = 4;
}  // namespace preview
using PreviewRow = std::array<std::string, preview::kColumnCount>;

// The 24 fields of a student's eFile line, joined by commas, without the line end.
std::string eFileLine(const StudentRecord& student, const std::vector<Phrase>& phrases);

// The whole eFile: one line per student, each ended by CR LF.
std::string eFileText(const std::vector<StudentRecord>& students,
                      const std::vector<Phrase>& phrases);

// Writes the eFile atomically; TL20 when it cannot be written, TL25 when it
// was written but the disk did not confirm it.
SaveResult exportTrilliumClass(const std::string& path, const std::vector<StudentRecord>& students,
                               const std::vector<Phrase>& phrases);

// The lines of the problem report, or nothing when every student is complete.
std::vector<std::string> problemReport(const std::vector<StudentRecord>& students,
                                       const std::vector<Phrase>& phrases);
// The same with the class's comments composed already (classComments).
std::vector<std::string> problemReport(const std::vector<StudentRecord>& students,
                                       const std::vector<StudentComments>& comments);

// The lines of the report of students dropped from and added to the class.
std::vector<std::string> discrepancyReport(const std::vector<StudentRecord>& dropped,
                                           const std::vector<StudentRecord>& added);

// The comment column of a student's rows in the export preview, one line
// per row: three to five.
std::vector<std::string> previewCommentLines(const StudentRecord& student,
                                             const ComposedComments& composed);

// The rows of a student in the export preview: three to five.
std::vector<PreviewRow> previewRows(const StudentRecord& student,
                                    const std::vector<Phrase>& phrases);
// The same with the student's comments composed already (ignored for a
// free-form comment).
std::vector<PreviewRow> previewRows(const StudentRecord& student, const ComposedComments& composed);

}  // namespace tl
