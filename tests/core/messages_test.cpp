#include "core/messages.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

// What the teacher reads, word for word; the title is the program's name
// unless another is given.
TEST(Messages, TextsAndTitles) {
    const std::pair<Notice, Notice> cases[] = {
        {msg::tl3PhraseLibraryHidden(),
         {"TL3: Tallyleaf Phrase Libary Source File, TLPhraseLibrary.csv, cannot be found."}},
        {msg::tl4MasterTooOld(31),
         {"TL4: The Trillium class data file is 31 days old. A more recent copy needs to be "
          "created. \r\nPlease contact the Tallyleaf Administrator in your school.",
          "Trillium Class File Too Old"}},
        {msg::tl5NoStudentInfo(),
         {"TL5: You need to be at school to have access to the current student info."}},
        {msg::tl7ClassFileType(), {"TL7: Invalid Tallyleaf Class File Type"}},
        {msg::tl8ClassFileInvalid(),
         {"TL8: Invalid Tallyleaf Class File (Perhaps it is an .tlc file created by an earlier "
          "version of TL. Due to changes in Ministry reporting you must use current files with "
          "the current version of TL.)"}},
        {msg::tl15AboutToSave(),
         {"TL15: You are now about to be prompted for a folder and file name for this eFile.\r\n"
          "Depending on your school's established procedures:\r\n"
          "-  select a special 'submit' folder OR \r\n"
          "-  save it so you can email it to your designated secretary OR \r\n"
          "-  save it to a disc or Flash Drive so you can take it to your designated secretary."}},
        {msg::eFileSaved(),
         {"CONGRATULATIONS!!! You have saved your .trc file.\r\n"
          "Depending on your school's established procedures:\r\n"
          "-  you're done :-) YIPPEE!   OR \r\n"
          "-  you must now email your Trillium secretary with the .trc file as an attachment "
          "OR \r\n-  you must now take your disc or Flash Drive with the .trc file to your "
          "Trillium secretary."}},
        {msg::tl6AutoFillNeedsFavourites(),
         {"TL6: Auto Fill Setup requires that a valid favourite file be opened."}},
        {msg::tl11MissingDash(), {"TL11: Invalid format: missing '-'"}},
        {msg::tl12InvalidFormat(), {"TL12: Invalid format"}},
        {msg::tl13MarkOutOfRange(), {"TL13: Invalid format: number not in range 0 to 100"}},
        {msg::tl14OverlappingRanges(), {"TL14: Invalid input: overlapping ranges"}},
        {msg::tl16FavouritesType(), {"TL16: Invalid Favourites file type."}},
        {msg::tl17FavouritesInvalid(), {"TL17: Invalid Favourites file."}},
        {msg::tl18FavouritesNotSaved(),
         {"TL18: Favourites file could not be saved. \r\nIt is likely that your disk is full or "
          "the floppy is not in the drive.\r\nYou should fix the problem and save your "
          "favourites in the Comment Selection window."}},
        {msg::tl19ClassNotSaved(),
         {"TL19: Class file could not be saved. \r\nIt is likely that your disk is full or the "
          "folder cannot be written to."}},
        {msg::tl20EFileNotSaved(),
         {"TL20: The eFile could not be saved. No .trc file was created."}},
        {msg::tl21NoneEnrolled(),
         {"TL21: None of this class's students are in the enrolment file. The class was not "
          "changed."}},
        {msg::favouritesFull(), {"The favourites list is full: it holds at most 1000 entries."}}};
    for (const auto& [notice, expected] : cases)
        EXPECT_EQ(notice, expected);
}

}  // namespace
}  // namespace tl::test
