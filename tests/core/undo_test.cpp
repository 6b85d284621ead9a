#include "core/undo.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

TEST(UndoStack, ReturnsEntriesNewestFirstAndA501stPushDropsTheOldest) {
    UndoStack stack;
    for (int i = 0; i <= kMaxUndo; ++i)
        stack.push(i, makeStudent("ENG", "Lee", "Sam", std::to_string(i)));
    EXPECT_EQ(stack.count(), kMaxUndo);
    for (int i = kMaxUndo; i >= 1; --i) {  // entry 0 was dropped
        const UndoEntry e = stack.pop();
        ASSERT_EQ(e.studentIndex, i);
        ASSERT_EQ(e.record.studentNumber, std::to_string(i));
    }
    EXPECT_TRUE(stack.empty());
}

}  // namespace
}  // namespace tl::test
