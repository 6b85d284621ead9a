#include "core/undo.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

StudentRecord withMark(const std::string& mark) {
    StudentRecord s;
    s.mark = mark;
    return s;
}

TEST(UndoStack, ReturnsEntriesNewestFirst) {
    UndoStack stack;
    stack.push(3, withMark("50"));
    stack.push(7, withMark("60"));
    ASSERT_EQ(stack.count(), 2);
    UndoEntry e = stack.pop();
    EXPECT_EQ(e.studentIndex, 7);
    EXPECT_EQ(e.record.mark, "60");
    e = stack.pop();
    EXPECT_EQ(e.studentIndex, 3);
    EXPECT_TRUE(stack.empty());
}

TEST(UndoStack, A501stPushDropsTheOldest) {
    UndoStack stack;
    for (int i = 0; i <= kMaxUndo; ++i)
        stack.push(i, withMark(std::to_string(i)));
    EXPECT_EQ(stack.count(), kMaxUndo);
    UndoEntry last{};
    while (!stack.empty())
        last = stack.pop();
    // Entry 0 was dropped; entry 1 is now the oldest.
    EXPECT_EQ(last.studentIndex, 1);
    EXPECT_EQ(last.record.mark, "1");
}

}  // namespace
}  // namespace tl
