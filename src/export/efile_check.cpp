// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/efile_check.h"

#include "core/file_io.h"
#include "export/efile.h"

namespace tl {

namespace {

// What a field is called in a difference.
std::string fieldName(int field) {
    using namespace efile;
    switch (field) {
        case kStudentNumber:
            return "the student number";
        case kLastName:
            return "the last name";
        case kFirstName:
            return "the first name";
        case kMark:
            return "the mark";
        case kComment:
            return "the comment";
        case kSkillIW:
            return "the IW skill";
        case kSkillOR:
            return "the OR skill";
        case kSkillIN:
            return "the IN skill";
        case kSkillRE:
            return "the RE skill";
        case kSkillCO:
            return "the CO skill";
        case kSkillSR:
            return "the SR skill";
        default:
            return "field " + std::to_string(field + 1);
    }
}

// A field as a difference shows it: at most 40 characters.
std::string shown(std::string_view field) {
    constexpr std::size_t kShown = 40;
    if (field.size() <= kShown) return "\"" + std::string(field) + "\"";
    return "\"" + std::string(field.substr(0, kShown)) + "...\"";
}

std::string lineDifference(std::string_view line, const std::string& expected) {
    bool wellFormed = false;
    const std::vector<std::string_view> fields = splitEFileLine(line, wellFormed);
    if (!wellFormed) return "a double quote stands inside a field";
    if (fields.size() != efile::kFieldCount) {
        return std::to_string(fields.size()) + " fields instead of " +
               std::to_string(efile::kFieldCount);
    }
    const std::vector<std::string_view> wanted = splitEFileLine(expected, wellFormed);
    const std::string_view comment = fields[efile::kComment];
    if (comment.size() < 2 || comment.front() != '"' || comment.back() != '"')
        return "the comment is not in double quotes";
    for (int f = 0; f < efile::kFieldCount; ++f) {
        if (fields[f] != wanted[f])
            return fieldName(f) + " reads " + shown(fields[f]) + " instead of " + shown(wanted[f]);
    }
    return "";
}

}  // namespace

std::vector<std::string_view> splitEFileLine(std::string_view line, bool& wellFormed) {
    std::vector<std::string_view> fields;
    wellFormed = true;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        const bool end = i == line.size();
        if (!end && line[i] == '"') {
            const bool opens = !quoted && i == start;
            const bool closes = quoted && (i + 1 == line.size() || line[i + 1] == ',');
            if (!opens && !closes) wellFormed = false;
            quoted = !quoted;
        } else if (end || (line[i] == ',' && !quoted)) {
            fields.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    if (quoted) wellFormed = false;
    return fields;
}

std::string eFileDifference(std::string_view text, const std::vector<StudentRecord>& students,
                            const std::vector<Phrase>& phrases) {
    std::size_t at = 0;
    for (std::size_t n = 0; n < students.size(); ++n) {
        const StudentRecord& s = students[n];
        const std::string where =
            "line " + std::to_string(n + 1) + " (" + s.lastName + " " + s.firstName + "): ";
        if (at >= text.size()) return where + "missing";
        const std::size_t crlf = text.find("\r\n", at);
        if (crlf == std::string_view::npos) return where + "has no line end";
        const std::string_view line = text.substr(at, crlf - at);
        if (line.find_first_of("\r\n") != std::string_view::npos)
            return where + "holds a line break";
        const std::string difference = lineDifference(line, eFileLine(s, phrases));
        if (!difference.empty()) return where + difference;
        at = crlf + 2;
    }
    if (at < text.size())
        return "the file goes on after the class's " + std::to_string(students.size()) + " lines";
    return "";
}

std::string writtenEFileDifference(const std::string& path,
                                   const std::vector<StudentRecord>& students,
                                   const std::vector<Phrase>& phrases) {
    const std::optional<std::string> text = readWholeFile(path);
    if (!text) return "the file cannot be read";
    return eFileDifference(*text, students, phrases);
}

}  // namespace tl
