// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/notice.h"

// The numbered messages of the program, word for word.
namespace tl::msg {

inline constexpr const char* kCrLf = "\r\n";

Notice tl1PhraseLibraryCorrupt();
Notice tl2PhraseLibraryMissing();
Notice tl3PhraseLibraryHidden();
Notice tl4MasterTooOld(int days);
Notice tl5NoStudentInfo();
Notice tl6AutoFillNeedsFavourites();
Notice tl7ClassFileType();
Notice tl8ClassFileInvalid();
Notice tl9MasterTooOld(int days);
Notice tl10aMasterCorrupt();
Notice tl10bMasterUnavailable();
Notice tl10cTooManyStudents();
// Enter Ranges in the Initial Values Setup window.
Notice tl11MissingDash();
Notice tl12InvalidFormat();
Notice tl13MarkOutOfRange();
Notice tl14OverlappingRanges();
Notice tl16FavouritesType();
Notice tl17FavouritesInvalid();
Notice tl18FavouritesNotSaved();
Notice tl19ClassNotSaved();
Notice tl20EFileNotSaved();
// The notices before and after the eFile is saved.
Notice tl15AboutToSave();
Notice eFileSaved();
// In place of eFileSaved when the written eFile does not read back as the class.
Notice eFileReadBackDiffers(const std::string& difference);
// The heading of the export window's panel of comments that name another student.
std::string nameWarningsHeading();
Notice tl21NoneEnrolled();
// A recovery copy that could not be read, kept under the file name given.
Notice tl23RecoveryCopyUnreadable(const std::string& fileName);
// A restored recovery copy that is still there; path: where it lies.
Notice tl24RecoveryCopyNotRemoved(const std::string& path);
Notice tlTempPhraseFileNotSaved();
Notice favouritesFull();
Notice tl8aCommentTooLong();
Notice freeFormUnchanged();
// A code typed into a comment cell that the phrase library lacks.
Notice codeNotInLibrary(const std::string& code);
// The teacher's spelling word list could not be written; path is the list's.
Notice tl22WordListNotSaved(const std::string& path);
// A file was written but its folder's sync failed: the write counts as done.
Notice tl25WrittenUnconfirmed(const std::string& fileName);
// A markbook whose marks cannot be imported, and why; the class stays as it was.
Notice tl26MarksNotImported(const std::string& fileName, const std::string& reason);

}  // namespace tl::msg
