// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/sorting.h"

#include <functional>

#include "core/test_support.h"

namespace tl::test {
namespace {

using Sort = void (*)(std::vector<StudentRecord>&);
// The golden case sort-keys holds the order of each sort: marks as numbers with
// "", "0" and "I" alike, names and class codes by character, a first name after
// an equal last name.

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
    const std::pair<Sort, std::function<std::string(const StudentRecord&)>> sorts[] = {
        {sortByName, [](const StudentRecord& s) { return s.lastName; }},
        {sortByMark, [](const StudentRecord& s) { return s.mark.empty() ? "0" : s.mark; }},
        {sortByClass, [](const StudentRecord& s) { return s.classCode + s.lastName; }}};
    for (const auto& [sort, key] : sorts) {
        auto list = input;
        sort(list);
        for (std::size_t i = 1; i < list.size(); ++i)
            EXPECT_TRUE(key(list[i - 1]) != key(list[i]) ||
                        list[i - 1].studentNumber < list[i].studentNumber)
                << i;
    }
}

}  // namespace
}  // namespace tl::test
