// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/undo.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

// The bound both undo stacks share: the class's and the ranges'.
TEST(BoundedUndo, KeepsTheNewest500AndGivesThemBackNewestFirst) {
    UndoStack stack;
    for (int i = 0; i <= kMaxUndo + 1; ++i)  // 502 pushes: entries 0 and 1 are dropped
        stack.push({i, makeStudent("ENG", "Lee", "Sam", std::to_string(i)), {}});
    EXPECT_EQ(stack.count(), kMaxUndo);
    for (int i = kMaxUndo + 1; i >= 2; --i) {
        const UndoEntry e = stack.pop();
        ASSERT_EQ(e.studentIndex, i);
        ASSERT_EQ(e.record.studentNumber, std::to_string(i));
    }
    EXPECT_TRUE(stack.empty());
    // Refilled after emptying, it holds what was pushed since; clear empties it.
    stack.push({7, makeStudent("ENG", "Lee", "Sam", "7"), {}});
    EXPECT_EQ(stack.count(), 1);
    stack.clear();
    EXPECT_TRUE(stack.empty() && stack.count() == 0);
}

}  // namespace
}  // namespace tl::test
