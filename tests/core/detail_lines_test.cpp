#include "entry/detail_lines.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

// The golden cases hold the panel lines and grid rows of whole classes in both
// layouts; these are the boundaries they lack.
TEST(DetailPanel, RemainderOf72IsShortenedAndLengthWarnedAbove460ButNotForFreeForm) {
    StudentRecord s = makeStudent("ENG2D1-01", "Lindqvist", "Mara", "987654321");
    s.freeFormUsed = true;
    for (const bool course : {false, true}) {
        for (const std::size_t rest : {71, 72}) {
            // Four full lines of 75 characters, then the rest.
            s.freeFormText = repeated("abcd ", 60) + std::string(rest, 'r');
            const DetailLines d = buildDetailLines(s, {}, course);
            EXPECT_EQ(d.remainder, std::string(rest, 'r'));
            EXPECT_EQ(d.lines[4], std::string(course ? 29 : 22, ' ') + std::string(rest, 'r') +
                                      (rest == 72 ? " ..." : "    "));
        }
    }
    s.comments = {"0001", "0002", "", "", ""};
    for (const std::size_t second : {200, 201}) {
        // 260 and 200 or 201 characters once cleaned.
        const std::vector<Phrase> phrases = {{"0001", std::string(258, 'x'), "1"},
                                             {"0002", std::string(second - 2, 'x'), "1"}};
        s.freeFormUsed = false;
        EXPECT_EQ(buildDetailLines(s, phrases, false).tooLong, second == 201) << second;
        s.freeFormUsed = true;
        s.freeFormText = std::string(900, 'y');
        EXPECT_FALSE(buildDetailLines(s, phrases, false).tooLong);
    }
}

}  // namespace
}  // namespace tl::test
