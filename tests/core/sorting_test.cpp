#include "core/sorting.h"

#include "core/test_support.h"
#include "core/text.h"

namespace tl::test {
namespace {

using Sort = void (*)(std::vector<StudentRecord>&);
using Numbers = std::vector<std::string>;

// The student numbers, in the sorted order, of students made from
// "class,last,first,mark,number" rows.
Numbers sorted(Sort sort, Numbers rows) {
    std::vector<StudentRecord> list;
    for (std::string row : rows) {
        std::string f[5];
        for (auto& field : f)
            field = nextCsvField(row);
        list.push_back(makeStudent(f[0], f[1], f[2], f[4]));
        list.back().mark = f[3];
    }
    sort(list);
    rows.clear();
    for (const auto& s : list)
        rows.push_back(s.studentNumber);
    return rows;
}

TEST(Sorting, EachSortOrdersByItsKeys) {
    EXPECT_EQ(sorted(sortByMark, {"E,A,A,,empty", "E,B,B,9,9", "E,C,C,0,zero", "E,D,D,100,100",
                                  "E,E,E,I,I", "E,F,F,85,85"}),
              (Numbers{"100", "85", "9", "empty", "zero", "I"}));
    EXPECT_EQ(
        sorted(sortByName, {"E,de Vries,An,,1", "E,Zhou,Li,,2", "E,Abel,bea,,3", "E,Abel,Zoe,,4",
                            "E,Abel,Ann,,5", "E,MacLeod,Ian,,6", "E,Mac,Ian,,7"}),
        (Numbers{"5", "4", "3", "7", "6", "2", "1"}));
    EXPECT_EQ(
        sorted(sortByClass, {"MTH4U-02,Ono,Ai,,1", "ENG3U-01,Ruiz,Bo,,2", "MTH4U-02,Bell,Cy,,3",
                             "ENG3U-01,Cole,Di,,4", "ENG3U-01,Cole,Al,,5", "eng3u-01,Adam,Ed,,6"}),
        (Numbers{"5", "4", "2", "3", "1", "6"}));
}

TEST(Sorting, EqualKeysKeepTheirOrderUnderEverySort) {
    // Enough students for a sort that is not stable to show it.
    const char* lasts[] = {"Lee", "Kim", "Ng"};
    const char* marks[] = {"70", "", "85", "0"};
    std::vector<StudentRecord> input;
    for (int i = 0; i < 120; ++i) {
        input.push_back(
            makeStudent(i % 2 ? "ENG" : "MTH", lasts[i % 3], "Sam", std::to_string(1000 + i)));
        input.back().mark = marks[i % 4];
    }
    // The key of a student under each sort; equal keys must keep the input order.
    auto byName = [](const StudentRecord& s) { return s.lastName; };
    auto byMark = [](const StudentRecord& s) { return s.mark.empty() ? "0" : s.mark; };
    auto byClass = [](const StudentRecord& s) { return s.classCode + s.lastName; };
    const std::vector<std::pair<Sort, std::string (*)(const StudentRecord&)>> sorts = {
        {sortByName, byName}, {sortByMark, byMark}, {sortByClass, byClass}};
    for (const auto& [sort, key] : sorts) {
        auto list = input;
        sort(list);
        for (std::size_t i = 1; i < list.size(); ++i) {
            if (key(list[i - 1]) == key(list[i])) {
                EXPECT_LT(list[i - 1].studentNumber, list[i].studentNumber) << i;
            }
        }
    }
}

}  // namespace
}  // namespace tl::test
