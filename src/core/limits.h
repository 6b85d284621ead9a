// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Capacities and fixed values of the program.
namespace tl {

inline constexpr int kMaxStudents = 501;
inline constexpr int kMaxPhrases = 10000;
inline constexpr int kMaxFavourites = 1000;
inline constexpr int kMaxRanges = 100;
inline constexpr int kMaxUndo = 500;
inline constexpr int kMaxChosenCodes = 300;
inline constexpr int kMaxSections = 2001;
inline constexpr int kUpdateListCapacity = 101;  // added or dropped students in an update
inline constexpr int kCommentLimit = 460;        // characters of composed comments per student
inline constexpr int kMaxMasterAgeDays = 30;     // older enrolment files are refused
inline constexpr int kDetailWidth = 75;          // width of the wrapped comment lines

inline constexpr const char* kProgramName = "Tallyleaf";
inline constexpr const char* kVersion = "3.3 Growing Success";
inline constexpr const char* kPhraseLibraryName = "TLPhraseLibrary.csv";
inline constexpr const char* kSortedPhraseLibraryName = "TLPhraseLibrarySORTED.csv";
inline constexpr const char* kMasterFileName = "TLStudentInfo.txt";
inline constexpr const char* kDataFolderName = "data";

inline constexpr const char* kSeparatorEntry = "    ";  // four blanks: no comment

}  // namespace tl
