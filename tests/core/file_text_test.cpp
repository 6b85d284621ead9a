#include "core/file_text.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

TEST(DataFileText, ByteOrderMarkMeansUtf8AndNulMeansUnreadable) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::optional<std::string> unreadable;
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"plain \xE9\x80\r\n", "plain \xE9\x80\r\n"},  // Windows-1252 as it is
        {"", ""},
        {bom, ""},
        {bom + "Caf\xC3\xA9 \xE2\x82\xAC 5", "Caf\xE9 \x80 5"},
        {bom + "a\xE2\x86\x92" + "b\xF0\x9F\x98\x80", "a?b?"},  // characters it lacks
        {bom + "caf\xE9", unreadable},                          // not UTF-8 after the mark
        {bom + "a\xE2\x82", unreadable},                        // a cut sequence
        {std::string("a\0b", 3), unreadable},
        {bom + std::string("a\0", 2), unreadable},
        {"a" + bom, "a" + bom}};  // a mark only counts at the start
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(decodeDataFile(bytes), text) << bytes;
}

}  // namespace
}  // namespace tl::test
