#include "core/file_text.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

TEST(DataFileText, ByteOrderMarkMeansUtf8AndNulMeansUnreadable) {
    using Text = std::optional<std::string>;
    const std::pair<std::string, Text> cases[] = {
        {"plain \xE9\x80\r\n", "plain \xE9\x80\r\n"},  // Windows-1252 as it is
        {"", ""},
        {"\xEF\xBB\xBF", ""},
        {"\xEF\xBB\xBF"
         "Caf\xC3\xA9 \xE2\x82\xAC 5",
         "Caf\xE9 \x80 5"},
        {"\xEF\xBB\xBF"
         "a\xE2\x86\x92"
         "b\xF0\x9F\x98\x80",
         "a?b?"},  // characters it lacks
        {"\xEF\xBB\xBF"
         "caf\xE9",
         std::nullopt},  // not UTF-8 after the mark
        {"\xEF\xBB\xBF"
         "a\xE2\x82",
         std::nullopt},  // a cut sequence
        {std::string("a\0b", 3), std::nullopt},
        {std::string("\xEF\xBB\xBF"
                     "a\0",
                     5),
         std::nullopt},
        {"a\xEF\xBB\xBF", "a\xEF\xBB\xBF"}};  // a mark only counts at the start
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(decodeDataFile(bytes), text) << bytes;
}

}  // namespace
}  // namespace tl::test
