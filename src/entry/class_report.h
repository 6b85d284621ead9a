#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "core/student_record.h"
#include "entry/detail_lines.h"

// The lines of the printed class report, without Qt.
namespace tl {

inline constexpr int kReportPageLines = 53;  // a new page starts above this count

// "Tallyleaf v3.3 Growing Success ~ Class Report ~ 12-07-2026 ~ 14:05:09"
std::string classReportHeading(const std::tm& when);

// The lines of one student's block, the blank line at its end included.
std::vector<std::string> studentReportLines(const StudentRecord& student,
                                            const DetailLines& details, bool showCourse);

}  // namespace tl
