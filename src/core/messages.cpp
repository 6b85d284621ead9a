// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/messages.h"

#include <string>

namespace tl::msg {

namespace {
Notice plain(std::string text) {
    return Notice{std::move(text), kProgramName, NoticeIcon::None};
}
}  // namespace

Notice tl1PhraseLibraryCorrupt() {
    return plain(std::string("TL1: Your TLPhraseLibrary.csv file is corrupt. ") + kCrLf + kCrLf +
                 "Probable Cause: Your TLPhraseLibrary.csv file has not been properly prepared by "
                 "your Tallyleaf Administrator as Tallyleaf uses its own indexed version of the "
                 "current Phrase Library.");
}

Notice tl2PhraseLibraryMissing() {
    return plain(std::string("TL2: TLPhraseLibary.csv file could not be found in your Tallyleaf "
                             "folder or this file is corrupt. ") +
                 kCrLf +
                 "It is more likely that this file has not been placed within your Tallyleaf.exe "
                 "folder. If present, your TLPhraseLibary.csv file is therefore corrupt in some "
                 "way." +
                 kCrLf + kCrLf +
                 "Possible Corruption Cause: Your TLPhraseLibrary.csv file has not been properly "
                 "prepared by your Tallyleaf Administrator as Tallyleaf uses its own indexed "
                 "version of the Board's Phrase Libary.");
}

Notice tl3PhraseLibraryHidden() {
    return plain("TL3: Tallyleaf Phrase Libary Source File, TLPhraseLibrary.csv, cannot be found.");
}

Notice tl4MasterTooOld(int days) {
    return Notice{"TL4: The Trillium class data file is " + std::to_string(days) +
                      " days old. A more recent copy needs to be created. " + kCrLf +
                      "Please contact the Tallyleaf Administrator in your school.",
                  "Trillium Class File Too Old", NoticeIcon::None};
}

Notice tl5NoStudentInfo() {
    return plain("TL5: You need to be at school to have access to the current student info.");
}

Notice tl6AutoFillNeedsFavourites() {
    return plain("TL6: Auto Fill Setup requires that a valid favourite file be opened.");
}

Notice tl7ClassFileType() {
    return plain("TL7: Invalid Tallyleaf Class File Type");
}

Notice tl8ClassFileInvalid() {
    return plain(
        "TL8: Invalid Tallyleaf Class File (Perhaps it is an .tlc file created by an earlier "
        "version of TL. Due to changes in Ministry reporting you must use current files with the "
        "current version of TL.)");
}

Notice tl9MasterTooOld(int days) {
    return Notice{"TL9: The Trillium class data file is " + std::to_string(days) +
                      " days old. A more recent copy needs to be created. " + kCrLf +
                      "Please contact your Tallyleaf Administrator in your school.",
                  "Your Trillium Class File is Too Old!", NoticeIcon::None};
}

Notice tl10aMasterCorrupt() {
    return plain(std::string("TL10a: Class File Read Error: Contact your Tallyleaf School "
                             "Administrator as your primary class data file is corrupt or is "
                             "currently unavailable.") +
                 kCrLf +
                 "Probable Cause: A corrupt or incorrect file or filename has been setup as "
                 "Tallyleaf's primary class data file.");
}

Notice tl10bMasterUnavailable() {
    return plain(std::string("TL10b: Class File Read Error: You need to be on your school's "
                             "network to access the current primary class data file.") +
                 kCrLf +
                 "Once your individual Tallyleaf tlc class files are created, you can edit your "
                 "class files on or off your school's network." +
                 kCrLf + kCrLf +
                 "If you are running Tallyleaf from your school's network and this error has "
                 "occured; contact your Tallyleaf School Administrator as your primary class data "
                 "file is currently unavailable or is corrupt.");
}

Notice tl10cTooManyStudents() {
    return plain("TL10c: The chosen classes have more than " + std::to_string(kMaxStudents) +
                 " students. Choose fewer classes.");
}

Notice tl11MissingDash() {
    return plain("TL11: Invalid format: missing '-'");
}

Notice tl12InvalidFormat() {
    return plain("TL12: Invalid format");
}

Notice tl13MarkOutOfRange() {
    return plain("TL13: Invalid format: number not in range 0 to 100");
}

Notice tl14OverlappingRanges() {
    return plain("TL14: Invalid input: overlapping ranges");
}

Notice tl16FavouritesType() {
    return plain("TL16: Invalid Favourites file type.");
}

Notice tl17FavouritesInvalid() {
    return plain("TL17: Invalid Favourites file.");
}

Notice tl18FavouritesNotSaved() {
    return plain(std::string("TL18: Favourites file could not be saved. ") + kCrLf +
                 "It is likely that your disk is full or the floppy is not in the drive." + kCrLf +
                 "You should fix the problem and save your favourites in the Comment Selection "
                 "window.");
}

Notice tl19ClassNotSaved() {
    return plain(std::string("TL19: Class file could not be saved. ") + kCrLf +
                 "It is likely that your disk is full or the folder cannot be written to.");
}

Notice tl20EFileNotSaved() {
    return plain("TL20: The eFile could not be saved. No .trc file was created.");
}

Notice tl21NoneEnrolled() {
    return plain(
        "TL21: None of this class's students are in the enrolment file. The class was not "
        "changed.");
}

Notice tl23RecoveryCopyUnreadable(const std::string& fileName) {
    return plain("TL23: A recovery copy could not be read. It was kept as " + fileName + ".");
}

Notice tl24RecoveryCopyNotRemoved(const std::string& path) {
    return plain("TL24: The recovery copy " + path +
                 " could not be removed. Delete it by hand once the class is saved.");
}

Notice tlTempPhraseFileNotSaved() {
    return plain(std::string("TLTemp: Phrase file could not be saved. ") + kCrLf +
                 "It is likely that your disk is full or the floppy is not in the drive." + kCrLf +
                 "You should fix the problem and save your favourites in the Comment Selection "
                 "window.");
}

Notice tl15AboutToSave() {
    return Notice{
        "TL15: You are now about to be prompted for a folder and file name for this eFile.\r\n"
        "Depending on your school's established procedures:\r\n"
        "-  select a special 'submit' folder OR \r\n"
        "-  save it so you can email it to your designated secretary OR \r\n"
        "-  save it to a disc or Flash Drive so you can take it to your designated secretary.",
        kProgramName, NoticeIcon::None};
}

Notice eFileSaved() {
    return Notice{
        "CONGRATULATIONS!!! You have saved your .trc file.\r\n"
        "Depending on your school's established procedures:\r\n"
        "-  you're done :-) YIPPEE!   OR \r\n"
        "-  you must now email your Trillium secretary with the .trc file as an attachment OR \r\n"
        "-  you must now take your disc or Flash Drive with the .trc file to your Trillium "
        "secretary.",
        kProgramName, NoticeIcon::None};
}

Notice eFileReadBackDiffers(const std::string& difference) {
    return plain("The eFile was written but does not read back as the class: " + difference);
}

std::string nameWarningsHeading() {
    return "These comments hold the name of another student of the class. Check them before "
           "you create the eFile:";
}

Notice tl8aCommentTooLong() {
    return Notice{
        "The length of your comments for this student exceeds the allowable length for "
        "Trillium. You must use shorter and/or fewer comments to make your point. We're not "
        "saying you can't use all 5 comments, but taken together they must be within Trillium "
        "limits.",
        "TL8A: Trillium Comment Length Exceeded", NoticeIcon::Exclamation};
}

Notice freeFormUnchanged() {
    return plain(
        "There was no change to the coded comment, therefore free form comments NOT used.");
}

Notice codeNotInLibrary(const std::string& code) {
    return plain("Code " + code + " is not in the phrase library.");
}

Notice favouritesFull() {
    return plain("The favourites list is full: it holds at most " + std::to_string(kMaxFavourites) +
                 " entries.");
}

Notice tl22WordListNotSaved(const std::string& path) {
    return plain("TL22: Your word list " + path +
                 " could not be saved. The word is known until Tallyleaf ends.");
}

Notice tl25WrittenUnconfirmed(const std::string& fileName) {
    return plain("TL25: " + fileName +
                 " was written, but the disk did not confirm that it is stored safely. Save "
                 "again before you finish.");
}

Notice tl26MarksNotImported(const std::string& fileName, const std::string& reason) {
    Notice notice = plain("TL26: No marks were imported from " + fileName + ": " + reason +
                          ". The class was not changed.");
    notice.title = "Import Marks";
    return notice;
}

}  // namespace tl::msg
