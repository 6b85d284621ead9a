// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/messages.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

// What the teacher reads, word for word.
TEST(Messages, TextsAndTitles) {
    const std::map<std::string, Notice> notices = {{"tl3", msg::tl3PhraseLibraryHidden()},
                                                   {"tl4", msg::tl4MasterTooOld(31)},
                                                   {"tl5", msg::tl5NoStudentInfo()},
                                                   {"tl6", msg::tl6AutoFillNeedsFavourites()},
                                                   {"tl7", msg::tl7ClassFileType()},
                                                   {"tl8", msg::tl8ClassFileInvalid()},
                                                   {"tl11", msg::tl11MissingDash()},
                                                   {"tl12", msg::tl12InvalidFormat()},
                                                   {"tl13", msg::tl13MarkOutOfRange()},
                                                   {"tl14", msg::tl14OverlappingRanges()},
                                                   {"tl15", msg::tl15AboutToSave()},
                                                   {"eFileSaved", msg::eFileSaved()},
                                                   {"tl16", msg::tl16FavouritesType()},
                                                   {"tl17", msg::tl17FavouritesInvalid()},
                                                   {"tl18", msg::tl18FavouritesNotSaved()},
                                                   {"tl19", msg::tl19ClassNotSaved()},
                                                   {"tl20", msg::tl20EFileNotSaved()},
                                                   {"tl21", msg::tl21NoneEnrolled()},
                                                   {"favouritesFull", msg::favouritesFull()},
                                                   {"back", msg::eFileReadBackDiffers("x")},
                                                   {"tl22", msg::tl22WordListNotSaved("x")},
                                                   {"tl25", msg::tl25WrittenUnconfirmed("x")},
                                                   {"tl26", msg::tl26MarksNotImported("x", "y")}};
    std::size_t rows = 0;
    forEachRow("messages.tsv", [&](const TableRow& row) {
        const std::string& title = row["title"];
        EXPECT_EQ(notices.at(row["message"]),
                  (Notice{row["text"], title.empty() ? kProgramName : title}));
        ++rows;
    });
    EXPECT_EQ(rows, notices.size());
}

}  // namespace
}  // namespace tl::test
