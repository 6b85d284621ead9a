// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/phrase_library.h"
#include "core/student_record.h"

// Reading a written eFile back and comparing it with the class it came from.
namespace tl {

// The fields of an eFile line: commas inside double quotes do not separate.
// wellFormed is false when a quote opens or closes anywhere but at a field's edge.
std::vector<std::string_view> splitEFileLine(std::string_view line, bool& wellFormed);

// The first way in which the eFile text differs from what the class gives
// ("line 3 (Oduya Tamsin): the mark reads ..."), or "" when it reads back as
// the class: one CR LF line per student in order, 24 well-quoted fields, and
// every field as the class gives it.
std::string eFileDifference(std::string_view text, const std::vector<StudentRecord>& students,
                            const std::vector<Phrase>& phrases);

// The same for the file at path; a file that cannot be read differs.
std::string writtenEFileDifference(const std::string& path,
                                   const std::vector<StudentRecord>& students,
                                   const std::vector<Phrase>& phrases);

}  // namespace tl
