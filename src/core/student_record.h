// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>

namespace tl {

// Positions of the learning skills in StudentRecord::skills.
enum SkillIndex { kRE = 0, kOR, kIW, kCO, kIN, kSR };

// One student of the open class. All fields are text (Windows-1252 bytes)
// except freeFormUsed; a flag is set when it holds "Y".
struct StudentRecord {
    std::string classCode;
    std::string studentNumber;
    std::string lastName;
    std::string firstName;
    std::string mark;
    std::array<std::string, 5> comments;  // CM1..CM5: four-digit codes, "" or four blanks = none
    std::array<std::string, 6> skills;    // RE, OR, IW, CO, IN, SR: "1".."4" or ""
    std::string iep;
    std::string esl;
    std::string eld;
    std::string gender;    // "M" male, "X" they, anything else female
    std::string pronouns;  // the teacher's choice: "H", "S", "T"; "" follows gender
    std::string trilliumField8;
    std::string trilliumField14;  // kept in memory only
    bool freeFormUsed = false;
    std::string freeFormText;
    std::string interview;  // "Y" requested

    bool operator==(const StudentRecord&) const = default;
};

// Two meanings of an empty comment slot:
// - isEmptyCode: the slot holds no comment ("" or four blanks), for what is
//   shown, composed and exported;
// - isVacantSlot: the slot was never filled in (""), for the auto fill, which
//   leaves a slot alone once the teacher has put four blanks there.
bool isEmptyCode(const std::string& code);
bool isVacantSlot(const std::string& code);

}  // namespace tl
