#include "core/sorting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/test_support.h"
#include "core/text.h"

namespace tl {
namespace {

StudentRecord st(const std::string& code, const std::string& last, const std::string& first,
                 const std::string& mark, const std::string& number) {
    StudentRecord s = test::makeStudent(code, last, first, number);
    s.mark = mark;
    return s;
}

std::vector<std::string> numbers(const std::vector<StudentRecord>& students) {
    std::vector<std::string> result;
    for (const auto& s : students)
        result.push_back(s.studentNumber);
    return result;
}

using Numbers = std::vector<std::string>;

TEST(SortStability, EqualKeysKeepTheirOrderUnderEverySort) {
    // Enough students for a sort that is not stable to show it.
    const char* lasts[] = {"Lee", "Kim", "Ng"};
    const char* marks[] = {"70", "", "85", "0"};
    std::vector<StudentRecord> input;
    for (int i = 0; i < 120; ++i) {
        input.push_back(
            st(i % 2 ? "ENG" : "MTH", lasts[i % 3], "Sam", marks[i % 4], std::to_string(1000 + i)));
    }
    using Sort = void (*)(std::vector<StudentRecord>&);
    using Same = bool (*)(const StudentRecord&, const StudentRecord&);
    const std::vector<std::pair<Sort, Same>> sorts = {
        {sortByName,
         [](const StudentRecord& a, const StudentRecord& b) { return a.lastName == b.lastName; }},
        {sortByMark,
         [](const StudentRecord& a, const StudentRecord& b) {
             return leadingNumber(a.mark) == leadingNumber(b.mark);
         }},
        {sortByClass, [](const StudentRecord& a, const StudentRecord& b) {
             return a.classCode == b.classCode && a.lastName == b.lastName;
         }}};
    for (const auto& [sort, same] : sorts) {
        auto sorted = input;
        sort(sorted);
        ASSERT_EQ(sorted.size(), input.size());
        for (std::size_t i = 1; i < sorted.size(); ++i) {
            if (same(sorted[i - 1], sorted[i])) {
                EXPECT_LT(sorted[i - 1].studentNumber, sorted[i].studentNumber) << i;
            }
        }
    }
}

TEST(SortByMark, NumericHighestFirstWithoutMarkAtTheEnd) {
    std::vector<StudentRecord> students = {
        st("ENG", "A", "A", "", "empty"), st("ENG", "B", "B", "9", "9"),
        st("ENG", "C", "C", "0", "zero"), st("ENG", "D", "D", "100", "100"),
        st("ENG", "E", "E", "I", "I"),    st("ENG", "F", "F", "85", "85")};
    sortByMark(students);
    EXPECT_EQ(numbers(students), (Numbers{"100", "85", "9", "empty", "zero", "I"}));
}

TEST(SortByMark, AfterSortByNameEachMarkIsInNameOrder) {
    std::vector<StudentRecord> students = {
        st("ENG", "Ng", "Al", "70", "1"), st("ENG", "Bo", "Cy", "90", "2"),
        st("ENG", "Ab", "Di", "70", "3"), st("ENG", "Ng", "Ab", "90", "4")};
    sortByName(students);
    sortByMark(students);
    EXPECT_EQ(numbers(students), (Numbers{"2", "4", "3", "1"}));
}

TEST(SortByName, ByCharacterCodeLastThenFirst) {
    std::vector<StudentRecord> students = {
        st("ENG", "de Vries", "An", "", "1"), st("ENG", "Zhou", "Li", "", "2"),
        st("ENG", "Abel", "bea", "", "3"),    st("ENG", "Abel", "Zoe", "", "4"),
        st("ENG", "Abel", "Ann", "", "5"),    st("ENG", "MacLeod", "Ian", "", "6"),
        st("ENG", "Mac", "Ian", "", "7")};
    sortByName(students);
    EXPECT_EQ(numbers(students), (Numbers{"5", "4", "3", "7", "6", "2", "1"}));
}

TEST(SortByClass, GroupsSectionsInCodeOrderEachInNameOrder) {
    std::vector<StudentRecord> students = {
        st("MTH4U-02", "Ono", "Ai", "", "1"),  st("ENG3U-01", "Ruiz", "Bo", "", "2"),
        st("MTH4U-02", "Bell", "Cy", "", "3"), st("ENG3U-01", "Cole", "Di", "", "4"),
        st("ENG3U-01", "Cole", "Al", "", "5"), st("eng3u-01", "Adam", "Ed", "", "6")};
    sortByClass(students);
    EXPECT_EQ(numbers(students), (Numbers{"5", "4", "2", "3", "1", "6"}));
}

}  // namespace
}  // namespace tl
