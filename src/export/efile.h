#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/notice.h"
#include "core/phrase_library.h"
#include "core/student_record.h"

// The export checks and the Trillium export file (.trc, the eFile), without Qt.
namespace tl {

// The comment of a student as exported: the five composed texts joined, or
// the free-form text.
std::string exportComment(const StudentRecord& student, const std::vector<Phrase>& phrases);

// The 24 fields of a student's eFile line, joined by commas, without the line end.
std::string eFileLine(const StudentRecord& student, const std::vector<Phrase>& phrases);

// The whole eFile: one line per student, each ended by CR LF.
std::string eFileText(const std::vector<StudentRecord>& students,
                      const std::vector<Phrase>& phrases);

// Writes the eFile atomically; TL20 when it cannot be written.
Failure exportTrilliumClass(const std::string& path, const std::vector<StudentRecord>& students,
                            const std::vector<Phrase>& phrases);

// The first failing completeness test of a student ("  has no mark", ...), or
// "" when the student is complete.
std::string firstProblem(const StudentRecord& student, const std::vector<Phrase>& phrases);

// The lines of the problem report, or nothing when every student is complete.
std::vector<std::string> problemReport(const std::vector<StudentRecord>& students,
                                       const std::vector<Phrase>& phrases);

// The lines of the report of students dropped from and added to the class.
std::vector<std::string> discrepancyReport(const std::vector<StudentRecord>& dropped,
                                           const std::vector<StudentRecord>& added);

// The rows (16 cells each) of a student in the export preview: three to five.
std::vector<std::array<std::string, 16>> previewRows(const StudentRecord& student,
                                                     const std::vector<Phrase>& phrases);

// The notices before and after the eFile is saved.
Notice tl15AboutToSave();
Notice eFileSaved();

}  // namespace tl
