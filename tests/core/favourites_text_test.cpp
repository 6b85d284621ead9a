#include "favourites/favourites_text.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

// The items both kinds of favourites list show: the main window's and Initial
// Values Setup's end with "no comment"; Comment Selection's items are the same
// without it.
TEST(FavouritesItems, CodesWithTheirPhrasesSeparatorsAndNoCommentLast) {
    const std::vector<Phrase> phrases = {{"0012", "Works hard", ""},
                                         {"12345", "Asks for help.", ""}};
    EXPECT_EQ(favouriteItemText(phrases, "0012"), "0012 Works hard. ");
    EXPECT_EQ(favouriteItemText(phrases, "12345"), "12345 Asks for help. ");
    EXPECT_EQ(favouriteItemText(phrases, "0099"), "0099 ");
    EXPECT_EQ(favouriteItemText(phrases, "    "), "           ---------------");
    EXPECT_EQ(favouritesListItems({"0012", "    "}, phrases),
              (std::vector<std::string>{"0012 Works hard. ", "           ---------------",
                                        "           no comment (delete existing comment)"}));
    EXPECT_EQ(favouritesListItems({}, phrases),
              std::vector<std::string>{"           no comment (delete existing comment)"});
}

}  // namespace
}  // namespace tl::test
