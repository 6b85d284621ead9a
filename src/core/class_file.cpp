// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/class_file.h"

#include <algorithm>

#include "core/file_io.h"
#include "core/file_text.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/pronouns.h"
#include "core/text.h"

namespace tl {

std::string toFileCode(std::string_view value) {
    if (value == "1") return "N";
    if (value == "2") return "S";
    if (value == "3") return "G";
    if (value == "4") return "E";
    if (value.empty()) return "0";
    if (value == "Y") return "1";
    return "";
}

std::string fromFileCode(std::string_view value) {
    if (value == "N") return "1";
    if (value == "S") return "2";
    if (value == "G") return "3";
    if (value == "E") return "4";
    if (value == "0") return "";
    if (value == "1") return "Y";
    return "";
}

namespace {

// Column 26: "True"/"False" in any letter case, or a number (0 is false).
bool parseBoolean(std::string_view text, bool& value) {
    const std::string upper = toUpperCp1252(trimBlanks(text));
    if (upper == "TRUE") {
        value = true;
        return true;
    }
    if (upper == "FALSE") {
        value = false;
        return true;
    }
    std::string_view t = trimBlanks(text);
    if (t.empty()) return false;
    std::size_t i = (t.front() == '-' || t.front() == '+') ? 1 : 0;
    bool digit = false;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9') {
            digit = true;
        } else if (t[i] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (!digit) return false;
    value = leadingNumber(t) != 0.0;
    return true;
}

bool parseClassLine(std::string_view line, StudentRecord& s) {
    if (countChar(line, ',') < 23) return false;
    bool open = false;
    bool anyOpen = false;
    auto field = [&]() {
        std::string value(nextCsvField(line, &open));
        anyOpen = anyOpen || open;
        return value;
    };
    s.classCode = field();
    s.lastName = field();
    s.firstName = field();
    s.studentNumber = field();
    s.gender = field();
    s.trilliumField8 = field();
    s.iep = fromFileCode(field());
    s.esl = field();
    s.eld = field();
    s.mark = field();
    field();
    field();
    for (auto& skill : s.skills)
        skill = fromFileCode(field());
    // A pronoun choice; any other text is no choice.
    s.pronouns = field();
    if (!pronounChoice(s.pronouns)) s.pronouns.clear();
    for (auto& code : s.comments)
        code = field();
    s.interview = field();
    const std::string freeForm = field();
    if (anyOpen) return false;
    if (!parseBoolean(freeForm, s.freeFormUsed)) return false;
    s.freeFormText = std::string(line);
    s.trilliumField14.clear();
    return true;
}

}  // namespace

std::string classFileLine(const StudentRecord& s) {
    std::string line;
    line.reserve(160 + s.freeFormText.size());
    auto add = [&line](const std::string& value) {
        line += value;
        line += ',';
    };
    add(csvField(s.classCode));
    add(csvField(s.lastName));
    add(csvField(s.firstName));
    // The student number is written as stored, so that a number of any length
    // reads back unchanged.
    add(csvField(s.studentNumber));
    add(csvField(s.gender));
    add(csvField(s.trilliumField8));
    add(toFileCode(s.iep));
    add(csvField(s.esl));
    add(csvField(s.eld));
    add(csvField(s.mark));
    add("");
    add("");
    for (const auto& skill : s.skills)
        add(toFileCode(skill));
    add(s.pronouns);
    for (const auto& code : s.comments)
        add(csvField(code));
    add(csvField(s.interview));
    add(s.freeFormUsed ? "True" : "False");
    // The rest of the line: commas stay.
    line += unquotable(s.freeFormText);
    return line;
}

Failure openClass(const std::string& path, std::vector<StudentRecord>& students) {
    if (path.size() < 3 || path.compare(path.size() - 3, 3, "tlc") != 0) {
        return msg::tl7ClassFileType();
    }
    const std::optional<std::string> text = readDataFile(path);
    if (!text) return msg::tl8ClassFileInvalid();
    const std::vector<std::string_view> lines = splitLines(*text);
    if (lines.empty() || lines.size() > static_cast<std::size_t>(kMaxStudents)) {
        return msg::tl8ClassFileInvalid();
    }
    std::vector<StudentRecord> read;
    read.reserve(lines.size());
    for (std::string_view line : lines) {
        StudentRecord s;
        if (!parseClassLine(line, s)) return msg::tl8ClassFileInvalid();
        read.push_back(std::move(s));
    }
    students = std::move(read);
    return std::nullopt;
}

std::string classFileText(const std::vector<StudentRecord>& students) {
    std::string bytes;
    bytes.reserve(students.size() * 200);
    for (const StudentRecord& s : students) {
        bytes += classFileLine(s);
        bytes += "\r\n";
    }
    return bytes;
}

bool classFileTextDiffers(const std::vector<StudentRecord>& before,
                          const std::vector<StudentRecord>& after) {
    // Equal records write equal lines.
    if (before == after) return false;
    // Every field but the pronoun choice is written without CR and LF, so
    // that each LF of the text ends a line: two texts are then the same
    // exactly when they hold as many lines and each line is the same, and
    // only the lines of records that differ need to be written out. A choice
    // holding a line feed (never one the program sets) is compared in the
    // whole texts.
    const auto lineFeedInside = [](const StudentRecord& s) {
        return s.pronouns.find('\n') != std::string::npos;
    };
    if (std::any_of(before.begin(), before.end(), lineFeedInside) ||
        std::any_of(after.begin(), after.end(), lineFeedInside)) {
        return classFileText(before) != classFileText(after);
    }
    if (before.size() != after.size()) return true;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i] && classFileLine(before[i]) != classFileLine(after[i]))
            return true;
    }
    return false;
}

SaveResult saveClass(const std::string& path, const std::vector<StudentRecord>& students) {
    return saveBytes(path, classFileText(students), msg::tl19ClassNotSaved());
}

}  // namespace tl
