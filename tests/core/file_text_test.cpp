#include "core/file_text.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

TEST(DataFileText, ByteOrderMarkMeansUtf8AndNulMeansUnreadable) {
    forEachRow("data_file_text.tsv", [](const TableRow& row) {
        const std::optional<std::string> text = decodeDataFile(row["bytes"]);
        EXPECT_EQ(text.has_value(), row["readable"] == "yes");
        EXPECT_EQ(text.value_or(""), row["text"]);
    });
}

}  // namespace
}  // namespace tl::test
