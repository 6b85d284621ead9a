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
        std::vector<StudentRecord> s = {makeStudent("ENG2D1-02", "Brook", "Lee", "123456790"),
                                        makeStudent("ENG2D1-01", "Avery", "Jo", "123456789")};
        s[0].mark = "88";
        s[1].mark = "61";
        return s;
    }

    // The class list update from an enrolment file with the two students and the extra lines.
    void update(Workspace& ws, std::vector<std::string> lines) const {
        lines.insert(lines.begin(),
                     {"Last,First,...", masterLine("Brook", "Lee", "123456790", "ENG2D1-02"),
                      masterLine("Avery", "Jo", "123456789", "ENG2D1-01")});
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
            {"update+", [&] { update(ws, {masterLine("Chen", "Cy", "123456791", "ENG2D1-01")}); }},
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

// The edit class: Adams as the class picker makes a student, Brook free-form.
class ClassEditsTest : public ::testing::Test {
  protected:
    void start() {
        ws_ = Workspace{};
        replaceClass(ws_, {makeStudent("ENG2D1-01", "Adams", "Ann", "100000001"),
                           makeMarkedStudent("ENG2D1-01", "Brook", "Bo", "100000002")});
        ws_.initialValues = {{80, 100, {"0101", "0102", "0103"}, {"4", "4", "4", "4", "4", "4"}},
                             {0, 79, {"0201", "", ""}, {"2", "2", "2", "2", "2", "2"}}};
        ws_.phrases = {{"0012", "Works hard.", ""}, {"0034", "Helps others.", ""}};
    }

    // Runs one step; returns what it returned, as text.
    std::string step(const std::string& text) {
        std::istringstream in(text);
        std::string kind, who;
        in >> kind >> who;
        const int s = who == "*" ? -1 : std::stoi(who);
        // The rest after "kind student ", blanks included.
        const std::size_t restAt = kind.size() + who.size() + 2;
        const std::string rest = restAt < text.size() ? text.substr(restAt) : "";
        const std::size_t blank = rest.find(' ');
        const std::string first = rest.substr(0, blank);
        const std::string second = blank == std::string::npos ? "" : rest.substr(blank + 1);
        auto yes = [](bool b) { return std::string(b ? "yes" : "no"); };
        if (kind == "mark") {
            const auto filled = enterMark(ws_, s, second, first == "on");
            if (!filled) return "no";
            return std::string("yes") + (filled->comments ? " comments" : "") +
                   (filled->skills ? " skills" : "");
        }
        if (kind == "stamp") return yes(stampComment(ws_, s, std::stoul(first), second));
        if (kind == "skill") return yes(clickSkill(ws_, s, std::stoul(first), second == "left"));
        if (kind == "set") return yes(setSkill(ws_, s, std::stoul(first), second));
        if (kind == "flag") return yes(clickFlag(ws_, s, flagNamed(first)));
        if (kind == "flags") {
            setFlagColumn(ws_, flagNamed(first), second == "on");
            return "-";
        }
        EXPECT_EQ(kind, "free");
        const std::string original =
            s >= 0 && s < ws_.studentCount() ? freeFormOriginal(ws_.students[s], ws_.phrases) : "";
        const char* const names[] = {"None", "Unchanged", "Replaced", "Removed"};
        return names[static_cast<int>(
            takeFreeFormDraft(ws_, s, rest == "=" ? original : rest, original))];
    }

    static Flag flagNamed(const std::string& name) {
        const std::map<std::string, Flag> flags = {{"iep", Flag::Iep},
                                                   {"esl", Flag::Esl},
                                                   {"eld", Flag::Eld},
                                                   {"interview", Flag::Interview}};
        return flags.at(name);
    }

    Workspace ws_;
};

TEST_F(ClassEditsTest, EachEditRecordsItsUndoEntryAndCountsTheChange) {
    forEachRow("class_edits.tsv", [&](const TableRow& row) {
        start();
        // Steps are separated by "; ".
        std::vector<std::string> steps = row.parts("steps", ';');
        for (std::size_t i = 1; i < steps.size(); ++i)
            steps[i].erase(0, 1);
        for (std::size_t i = 0; i + 1 < steps.size(); ++i)
            step(steps[i]);
        markSaved(ws_);
        const std::vector<StudentRecord> before = ws_.students;
        const int undosBefore = ws_.undo.count();
        const std::string last = steps.back();
        EXPECT_EQ(step(last), row["result"]);

        const int shown = row.number("student");
        const StudentRecord& s = ws_.students[shown];
        EXPECT_EQ(s.mark, row["mark"]);
        EXPECT_EQ(joined(s.comments), row["comments"]);
        EXPECT_EQ(joined(s.skills), row["skills"]);
        EXPECT_EQ(s.iep + "|" + s.esl + "|" + s.eld + "|" + s.interview, row["flags"]);
        EXPECT_EQ(s.freeFormUsed ? "Y " + s.freeFormText : "N" + s.freeFormText, row["free"]);
        EXPECT_EQ(ws_.undo.count(), row.number("undos"));
        EXPECT_EQ(hasUnsavedChanges(ws_) ? "yes" : "no", row["unsaved"]);
        for (int i = 0; i < ws_.studentCount(); ++i) {
            EXPECT_TRUE(i == shown || last.starts_with("flags ") || ws_.students[i] == before[i])
                << "student " << i;
        }
        if (ws_.undo.count() > undosBefore) {
            EXPECT_EQ(ws_.undo.count(), undosBefore + 1);
            EXPECT_EQ(undoEdit(ws_), shown);
            EXPECT_EQ(ws_.students, before);
        }
    });
}

}  // namespace
}  // namespace tl::test
