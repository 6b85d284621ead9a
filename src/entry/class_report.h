// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "core/student_record.h"
#include "entry/detail_lines.h"

// The lines of the printed class report, without Qt.
namespace tl {

inline constexpr int kReportPageLines = 53;  // a new page starts above this count
// The longest block: a class code line, five detail lines of which the fifth
// becomes three remainder lines, and the blank line.
inline constexpr int kLongestReportBlock = 9;

// "Tallyleaf v3.3 Growing Success ~ Class Report ~ 12-07-2026 ~ 14:05:09"
std::string classReportHeading(const std::tm& when);

// The lines of one student's block, the blank line at its end included.
std::vector<std::string> studentReportLines(const StudentRecord& student,
                                            const DetailLines& details, bool showCourse);

// A student's block on a page (the class code line first when the code
// changes), or the two empty lines that open a later page (student -1).
struct ReportBlock {
    int student = -1;
    std::vector<std::string> lines;
};
using ReportPage = std::vector<ReportBlock>;

// The students' part of the report, page by page. The line counter starts at
// 3 on the first page (below the heading) and at 2 on a later page; a new
// page starts before a student once the counter is above 53, so a block is
// never split.
std::vector<ReportPage> classReportPages(const std::vector<StudentRecord>& students,
                                         const std::vector<Phrase>& phrases, bool showCourse);

}  // namespace tl
