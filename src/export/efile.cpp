// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/efile.h"

#include <algorithm>
#include <utility>

#include "checks/completeness.h"
#include "core/class_file.h"
#include "core/comment_text.h"
#include "core/editing_rules.h"
#include "core/file_io.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/text.h"

namespace tl {

std::string eFileLine(const StudentRecord& s, const std::vector<Phrase>& phrases) {
    using namespace efile;
    // A value holding a comma is quoted so that it cannot shift the fields the
    // office import reads; no value can carry a double quote into the file.
    std::array<std::string, kFieldCount> fields;
    fields[kClassCode] = csvField(s.classCode);
    fields[kLastName] = csvField(s.lastName);
    fields[kFirstName] = csvField(s.firstName);
    fields[kStudentNumber] = csvField(threePartNumber(s.studentNumber, ""));
    fields[kGender] = csvField(s.gender);
    fields[kField8] = csvField(s.trilliumField8);
    fields[kIep] = toFileCode(s.iep);
    if (s.esl == "Y") {
        fields[kLanguage] = "ESL";
    } else if (s.eld == "Y") {
        fields[kLanguage] = "ELD";
    }
    fields[kMark] = csvField(s.mark);
    fields[kZero11] = fields[kZero12] = fields[kZero24] = "0";
    fields[kSkillIW] = toFileCode(s.skills[kIW]);
    fields[kSkillOR] = toFileCode(s.skills[kOR]);
    fields[kSkillIN] = toFileCode(s.skills[kIN]);
    fields[kComment] = "\"" + unquotable(exportComment(s, phrases)) + "\"";
    fields[kSkillRE] = toFileCode(s.skills[kRE]);
    fields[kSkillCO] = toFileCode(s.skills[kCO]);
    fields[kSkillSR] = toFileCode(s.skills[kSR]);
    fields[kInterview] = s.interview == "Y" ? "1" : "0";
    std::string line;
    for (int i = 0; i < kFieldCount; ++i) {
        if (i > 0) line += ',';
        line += fields[i];
    }
    return line;
}

std::string eFileText(const std::vector<StudentRecord>& students,
                      const std::vector<Phrase>& phrases) {
    std::string text;
    for (const StudentRecord& s : students)
        text += eFileLine(s, phrases) + "\r\n";
    return text;
}

SaveResult exportTrilliumClass(const std::string& path, const std::vector<StudentRecord>& students,
                               const std::vector<Phrase>& phrases) {
    return saveBytes(path, eFileText(students, phrases), msg::tl20EFileNotSaved());
}

std::vector<std::string> problemReport(const std::vector<StudentRecord>& students,
                                       const std::vector<Phrase>& phrases) {
    return problemReport(students, classComments(students, phrases));
}

std::vector<std::string> problemReport(const std::vector<StudentRecord>& students,
                                       const std::vector<StudentComments>& comments) {
    std::vector<std::string> failing;
    for (std::size_t i = 0; i < students.size(); ++i) {
        const StudentRecord& s = students[i];
        const std::string problem = firstProblem(s, comments[i].composed);
        if (!problem.empty()) failing.push_back(s.lastName + " " + s.firstName + problem);
    }
    if (failing.empty()) return {};
    std::vector<std::string> lines = {"There are problems with your class.", "",
                                      "NO EXPORT FILE WILL BE CREATED!", ""};
    lines.insert(lines.end(), failing.begin(), failing.end());
    lines.push_back("");
    lines.push_back("Return to Mark / Comment Entry and check things again.");
    lines.push_back("Everyone MUST have a mark, at least one comment and all 6 learning skills.");
    return lines;
}

std::vector<std::string> discrepancyReport(const std::vector<StudentRecord>& dropped,
                                           const std::vector<StudentRecord>& added) {
    std::vector<std::string> lines = {"There is a discrepancy between your file",
                                      "and the current master class list.",
                                      "",
                                      "NO EXPORT FILE WILL BE CREATED!",
                                      "",
                                      ""};
    if (!dropped.empty()) {
        lines.push_back("The following students are no longer enrolled in your class(s):");
        lines.push_back("");
        for (const StudentRecord& s : dropped)
            lines.push_back(s.lastName + " " + s.firstName);
    }
    if (!added.empty()) {
        lines.push_back("");
        lines.push_back("");
        lines.push_back("The following students have been added to your class(s):");
        lines.push_back("");
        for (const StudentRecord& s : added)
            lines.push_back(s.lastName + " " + s.firstName);
    }
    lines.push_back("");
    lines.push_back("Your classes HAVE been updated.");
    lines.push_back("Return to Mark / Comment Entry and check things again");
    lines.push_back("and save this new and accurate class.");
    return lines;
}

std::vector<PreviewRow> previewRows(const StudentRecord& s, const std::vector<Phrase>& phrases) {
    return previewRows(s, s.freeFormUsed ? ComposedComments{} : composeComments(s, phrases));
}

std::vector<std::string> previewCommentLines(const StudentRecord& s,
                                             const ComposedComments& composed) {
    const std::string display = s.freeFormUsed ? "[FreeFormComment] " + s.freeFormText
                                               : bracketedComments(s, composed).text;
    WrappedText wrapped = wrapText(display, kDetailWidth);
    std::vector<std::string> lines;
    lines.reserve(5);
    for (std::string& line : wrapped.lines) {
        // The fourth row only when it holds text.
        if (lines.size() < 3 || !line.empty()) lines.push_back(std::move(line));
    }
    if (!wrapped.remainder.empty()) lines.push_back(std::move(wrapped.remainder));
    return lines;
}

std::vector<PreviewRow> previewRows(const StudentRecord& s, const ComposedComments& composed) {
    using namespace preview;
    std::vector<std::string> lines = previewCommentLines(s, composed);
    std::vector<PreviewRow> rows;
    rows.reserve(lines.size());
    for (std::size_t r = 0; r < lines.size(); ++r) {
        PreviewRow row;
        row[kCourse] = s.classCode;
        row[kStudentId] = s.studentNumber;
        row[kLastName] = s.lastName;
        row[kFirstName] = s.firstName;
        row[kMark] = s.mark;
        row[kComments] = std::move(lines[r]);
        // The second row carries the skills, flags and interview.
        if (r == 1) {
            std::copy(s.skills.begin(), s.skills.end(), row.begin() + kFirstSkill);
            row[kIep] = s.iep;
            row[kEsl] = s.esl;
            row[kEld] = s.eld;
            row[kInterview] = s.interview;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace tl
