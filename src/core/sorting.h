// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

#include "core/student_record.h"

// Stable reorderings of the class; equal keys keep their relative order.
namespace tl {

// By last name, then first name, by character code.
void sortByName(std::vector<StudentRecord>& students);
// By the numeric value of the mark, highest first; no mark counts as 0.
void sortByMark(std::vector<StudentRecord>& students);
// By class code, then by name.
void sortByClass(std::vector<StudentRecord>& students);

}  // namespace tl
