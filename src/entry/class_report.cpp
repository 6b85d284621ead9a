// SPDX-License-Identifier: GPL-3.0-or-later

#include "entry/class_report.h"

#include "core/limits.h"
#include "core/printed_page.h"
#include "core/text.h"

namespace tl {

std::string classReportHeading(const std::tm& when) {
    return std::string("Tallyleaf v") + kVersion + " ~ Class Report ~ " + printoutTimeStamp(when);
}

std::vector<std::string> studentReportLines(const StudentRecord& s, const DetailLines& d,
                                            bool showCourse) {
    const std::string three = "   ";
    const std::string indent(showCourse ? 32 : 25, ' ');
    std::vector<std::string> lines;
    lines.push_back(three + d.lines[0]);
    lines.push_back(three + d.lines[1] + " IEP ESL ELD");
    lines.push_back(three + d.lines[2] + three + padRight(s.iep, 1) + three + padRight(s.esl, 1) +
                    three + padRight(s.eld, 1));
    if (trimBlanks(d.lines[3]).size() > 1) lines.push_back(three + d.lines[3]);
    const std::string_view fifth = trimBlanks(d.lines[4]);
    if (fifth.size() > 1) {
        if (fifth.size() > 72) {
            const std::string& r = d.remainder;
            lines.push_back(indent + r.substr(0, 72));
            if (r.size() < 145) {
                lines.push_back(indent + r.substr(72));
            } else {
                lines.push_back(indent + r.substr(72, 72));
                lines.push_back(indent + r.substr(144));
            }
        } else {
            lines.push_back(three + d.lines[4]);
        }
    }
    lines.push_back(" ");
    return lines;
}

std::vector<ReportPage> classReportPages(const std::vector<StudentRecord>& students,
                                         const std::vector<Phrase>& phrases, bool showCourse) {
    std::vector<ReportPage> pages(1);
    std::string previousCode;
    int counter = 3;
    for (std::size_t i = 0; i < students.size(); ++i) {
        const StudentRecord& s = students[i];
        if (counter > kReportPageLines) {
            pages.push_back({ReportBlock{-1, {"", ""}}});
            counter = 2;
        }
        ReportBlock block{static_cast<int>(i), {}};
        if (s.classCode != previousCode) {
            previousCode = s.classCode;
            block.lines.push_back(s.classCode);
        }
        const auto lines =
            studentReportLines(s, buildDetailLines(s, phrases, showCourse), showCourse);
        block.lines.insert(block.lines.end(), lines.begin(), lines.end());
        counter += static_cast<int>(block.lines.size());
        pages.back().push_back(std::move(block));
    }
    return pages;
}

}  // namespace tl
