// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/phrase_library.h"
#include "core/student_record.h"

// Comments that name another student of the class: a comment copied from one
// student to another. Advisory only; nothing is changed.
namespace tl {

struct NameWarning {
    std::string student;    // "Last First" of the student whose comment it is
    std::string name;       // the other student's name part, as that student's record spells it
    std::size_t index = 0;  // the student's index in the class
    std::string written;    // the name as it stands in the comment
    std::string context;    // the comment around it, the name between guillemets
    bool operator==(const NameWarning&) const = default;
};

// The parts of a name that the check looks for: split at blanks and hyphens,
// lowered, parts shorter than three letters left out.
std::vector<std::string> namePartsOf(const std::string& name);

// Every comment (as exported) holding, as a whole word in any letter case, a
// first or last name part of another student and not one of the student's
// own; parts that are a word of some phrase of the library are left out. In
// class order, then in the order the names stand in the comment.
std::vector<NameWarning> nameWarnings(const std::vector<StudentRecord>& students,
                                      const std::vector<Phrase>& phrases);

// The line the export window shows for a warning.
std::string nameWarningLine(const NameWarning& warning);

}  // namespace tl
