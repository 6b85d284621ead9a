#include "core/class_document.h"

#include <sstream>

#include "core/sorting.h"
#include "core/test_support.h"
#include "core/workspace.h"

namespace tl::test {
namespace {

std::string enrolled(const std::string& last, const std::string& first, const std::string& number,
                     const std::string& section) {
    return last + "," + first + ",F," + number + ",u5,u6,u7,Q1,u9,u10,u11,u12,u13,P," + section;
}

class ClassDocumentTest : public TempDirTest {
  protected:
    // Brook (mark 88, ENG2D1-02) before Avery (mark 61, ENG2D1-01).
    static std::vector<StudentRecord> twoStudents() {
        std::vector<StudentRecord> s = {makeStudent("ENG2D1-02", "Brook", "Lee", "123456790"),
                                        makeStudent("ENG2D1-01", "Avery", "Jo", "123456789")};
        s[0].mark = "88";
        s[1].mark = "61";
        return s;
    }

    // The class list update from an enrolment file with the two students and the extra lines.
    void update(Workspace& ws, std::vector<std::string> lines) const {
        lines.insert(lines.begin(),
                     {"Last,First,...", enrolled("Brook", "Lee", "123456790", "ENG2D1-02"),
                      enrolled("Avery", "Jo", "123456789", "ENG2D1-01")});
        writeBytes(file("TLStudentInfo.txt"), crlfLines(lines));
        reconcileClass(ws, file("TLStudentInfo.txt"), std::time(nullptr), 101);
    }

    void run(Workspace& ws, const std::string& step) const {
        const std::map<std::string, std::function<void()>> steps = {
            {"open", [&] { replaceClass(ws, twoStudents()); }},
            {"empty", [&] { replaceClass(ws, {}); }},
            {"restore", [&] { restoreClass(ws, twoStudents()); }},
            {"edit",
             [&] {
                 recordEdit(ws, 0);
                 ws.students[0].mark = "70";
             }},
            {"undo", [&] { undoEdit(ws); }},
            {"note", [&] { noteChange(ws); }},
            {"save", [&] { markSaved(ws); }},
            {"names", [&] { reorderClass(ws, sortByName); }},
            {"marks", [&] { reorderClass(ws, sortByMark); }},
            {"course", [&] { reorderClass(ws, sortByClass); }},
            {"update", [&] { update(ws, {}); }},
            {"update+", [&] { update(ws, {enrolled("Chen", "Cy", "123456791", "ENG2D1-01")}); }},
            {"update-none", [&] { reconcileClass(ws, file("missing.txt"), 0, 101); }}};
        steps.at(step)();
    }
};

// Whether the class has changes no save holds after the steps, and what the
// undo stack holds then.
TEST_F(ClassDocumentTest, UnsavedChangesFollowWhatASaveWouldWrite) {
    forEachRow("class_document.tsv", [&](const TableRow& row) {
        Workspace ws;
        std::istringstream steps(row["steps"]);
        for (std::string step; steps >> step;)
            run(ws, step);
        EXPECT_EQ(hasUnsavedChanges(ws) ? "yes" : "no", row["unsaved"]);
        EXPECT_EQ(ws.undo.count(), row.number("undos"));
    });
}

}  // namespace
}  // namespace tl::test
