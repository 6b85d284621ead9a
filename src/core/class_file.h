// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/file_io.h"
#include "core/notice.h"
#include "core/student_record.h"

// The class file (.tlc): one line of 27 comma-separated fields per student.
namespace tl {

// Memory value to file letter: "1".."4" to N S G E, "" to "0", "Y" to "1".
std::string toFileCode(std::string_view value);
// File letter to memory value: the reverse of toFileCode.
std::string fromFileCode(std::string_view value);

// The file line of one student, without its line ending.
std::string classFileLine(const StudentRecord& student);

// Reads the class file at path. On success the table is replaced by its
// students; a refused file (TL7, TL8) leaves the table as it was.
Failure openClass(const std::string& path, std::vector<StudentRecord>& students);

// Writes the table to path atomically; TL19 when it cannot be written, TL25
// when it was written but the disk did not confirm it (the class is saved).
SaveResult saveClass(const std::string& path, const std::vector<StudentRecord>& students);

// The bytes saveClass writes.
std::string classFileText(const std::vector<StudentRecord>& students);

// Whether saveClass would write other bytes for after than for before:
// classFileText(before) != classFileText(after), without writing out the
// class when the records are the same. Records that differ may still be
// written alike (a field the file does not hold, values written the same).
bool classFileTextDiffers(const std::vector<StudentRecord>& before,
                          const std::vector<StudentRecord>& after);

}  // namespace tl
