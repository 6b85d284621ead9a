// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "checks/completeness.h"
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
// without the punctuation around them, lowered; parts of fewer than three
// letters left out.
std::vector<std::string> namePartsOf(const std::string& name);

// The name parts of a class with the spelling of the first name holding each,
// and those of them that are words of the library: built once and used for
// the check of any student of the class while the names and the library stay
// as they were.
class NameIndex {
  public:
    NameIndex(const std::vector<StudentRecord>& students, const std::vector<Phrase>& phrases);
    struct Data;  // known to the name check alone
    const Data& data() const { return *data_; }

  private:
    std::shared_ptr<const Data> data_;
};

// The warnings of the comment of students[index], in the order the names
// stand in it. Without an index, only the library words among the names the
// comment holds are looked for.
std::vector<NameWarning> studentNameWarnings(const std::vector<StudentRecord>& students,
                                             std::size_t index, const std::vector<Phrase>& phrases,
                                             const NameIndex& names);
std::vector<NameWarning> studentNameWarnings(const std::vector<StudentRecord>& students,
                                             std::size_t index, const std::vector<Phrase>& phrases);

// Every comment (as exported) holding, as a whole word in any letter case, a
// first or last name part of another student and not one of the student's
// own; parts that are a word of some phrase of the library are left out. In
// class order, then in the order the names stand in the comment.
std::vector<NameWarning> nameWarnings(const std::vector<StudentRecord>& students,
                                      const std::vector<Phrase>& phrases);
// The same with the class's comments composed already (classComments).
std::vector<NameWarning> nameWarnings(const std::vector<StudentRecord>& students,
                                      const std::vector<Phrase>& phrases,
                                      const std::vector<StudentComments>& comments);

// The line the export window shows for a warning.
std::string nameWarningLine(const NameWarning& warning);

}  // namespace tl
