#include "core/class_document.h"

#include <sstream>

#include "core/sorting.h"
#include "core/test_support.h"
#include "core/workspace.h"

namespace tl::test {
namespace {

class ClassDocumentTest : public TempDirTest {
  protected:
    // Brook (mark 88, ENG2D1-02) before Avery (mark 61, ENG2D1-01).
    static std::vector<StudentRecord> twoStudents() {
        StudentRecord brook = makeStudent("ENG2D1-02", "Brook", "Lee", "123456790");
        brook.mark = "88";
        StudentRecord avery = makeStudent("ENG2D1-01", "Avery", "Jo", "123456789");
        avery.mark = "61";
        return {brook, avery};
    }

    // An enrolment file holding the class's two students, and more when asked.
    std::string enrolment(const std::vector<std::string>& extra) const {
        std::vector<std::string> lines = {"Last,First,Gender,Number,...",
                                          "Brook,Lee,F,123456790,u5,u6,u7,Q1,u9,u10,u11,u12,u13,P,"
                                          "ENG2D1-02",
                                          "Avery,Jo,F,123456789,u5,u6,u7,Q1,u9,u10,u11,u12,u13,P,"
                                          "ENG2D1-01"};
        lines.insert(lines.end(), extra.begin(), extra.end());
        const std::string path = file("TLStudentInfo.txt");
        writeBytes(path, crlfLines(lines));
        return path;
    }

    void run(Workspace& ws, const std::string& step) const {
        if (step == "open") {
            replaceClass(ws, twoStudents());
        } else if (step == "empty") {
            replaceClass(ws, {});
        } else if (step == "restore") {
            restoreClass(ws, twoStudents());
        } else if (step == "edit") {
            recordEdit(ws, 0);
            ws.students[0].mark = "70";
        } else if (step == "undo") {
            undoEdit(ws);
        } else if (step == "note") {
            noteChange(ws);
        } else if (step == "save") {
            markSaved(ws);
        } else if (step == "names") {
            reorderClass(ws, sortByName);
        } else if (step == "marks") {
            reorderClass(ws, sortByMark);
        } else if (step == "course") {
            reorderClass(ws, sortByClass);
        } else if (step.starts_with("update")) {
            std::vector<std::string> extra;
            if (step == "update+")
                extra = {"Chen,Cy,M,123456791,u5,u6,u7,Q1,u9,u10,u11,u12,u13,P,ENG2D1-01"};
            const std::string master = enrolment(extra);
            const std::string path = step == "update-none" ? file("missing.txt") : master;
            reconcileClass(ws, path, std::time(nullptr), 101);
        } else {
            FAIL() << "unknown step " << step;
        }
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
