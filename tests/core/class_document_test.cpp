// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/class_document.h"

#include <algorithm>
#include <sstream>

#include "core/sorting.h"
#include "core/test_support.h"
#include "core/workspace.h"

namespace tl::test {
namespace {

// The class of the tables: Adams as the class picker makes a student, Brook free-form.
class ClassDocumentTest : public TempDirTest {
  protected:
    void start() {
        ws_ = Workspace{};
        step("open");
        ws_.initialValues = {{80, 100, {"0101", "0102", "0103"}, {"4", "4", "4", "4", "4", "4"}},
                             {0, 79, {"0201", "", ""}, {"2", "2", "2", "2", "2", "2"}}};
        ws_.phrases = {{"0012", "Works hard.", ""}, {"0034", "Helps others.", ""}};
    }

    // Runs one step; returns what it returned, as text.
    std::string step(const std::string& text) {
        std::istringstream in(text);
        std::string kind, who, rest;
        in >> kind >> who;
        std::getline(in.ignore(1), rest, '\0');  // after "kind student ", blanks included
        const int s = std::atoi(who.c_str());
        const std::string first = rest.substr(0, rest.find(' '));
        const std::string second = rest.substr(std::min(rest.size(), first.size() + 1));
        auto yes = [](bool b) { return std::string(b ? "yes" : "no"); };
        const char* const flags[] = {"iep", "esl", "eld", "interview"};
        const auto flag = static_cast<Flag>(std::ranges::find(flags, first) - flags);
        if (kind == "mark") {
            const auto filled = enterMark(ws_, s, second, first == "on");
            if (!filled) return "no";
            return std::string("yes") + (filled->comments ? " comments" : "") +
                   (filled->skills ? " skills" : "");
        }
        if (kind == "stamp") return yes(stampComment(ws_, s, std::stoul(first), second));
        if (kind == "skill") return yes(clickSkill(ws_, s, std::stoul(first), second == "left"));
        if (kind == "set") return yes(setSkill(ws_, s, std::stoul(first), second));
        if (kind == "pronouns") {
            const char* const sets[] = {"he", "she", "they"};
            const auto chosen = std::ranges::find(sets, first) - sets;
            return yes(choosePronouns(
                ws_, s,
                chosen < 3 ? std::optional(static_cast<PronounSet>(chosen)) : std::nullopt));
        }
        if (kind == "flag") return yes(clickFlag(ws_, s, flag));
        if (kind == "flags") setFlagColumn(ws_, flag, second == "on");
        if (kind == "free") {
            const std::string original = s >= 0 && s < ws_.studentCount()
                                             ? freeFormOriginal(ws_.students[s], ws_.phrases)
                                             : "";
            const char* const names[] = {"None", "Unchanged", "Replaced", "Removed"};
            return names[static_cast<int>(
                takeFreeFormDraft(ws_, s, rest == "=" ? original : rest, original))];
        }
        if (kind == "open")
            replaceClass(ws_, {makeStudent("ENG2D1-01", "Adams", "Ann", "100000001"),
                               makeMarkedStudent("ENG2D1-01", "Brook", "Bo", "100000002")});
        if (kind == "restore") restoreClass(ws_, ws_.students);
        if (kind == "empty") replaceClass(ws_, {});
        if (kind == "undo") undoEdit(ws_);
        if (kind == "note") noteChange(ws_);
        if (kind == "save") markSaved(ws_);
        if (kind == "sort")
            reorderClass(ws_, who == "names"   ? sortByName
                              : who == "marks" ? sortByMark
                                               : sortByClass);
        // update and update+ (one student more) from data/class_document; update-none: no file.
        if (kind.starts_with("update")) {
            const std::string master = file(kind + ".txt");
            if (kind != "update-none")
                writeBytes(master,
                           readBytes(fs::path(TL_TEST_DATA) / "class_document" / (kind + ".txt")));
            reconcileClass(ws_, master, std::time(nullptr), 101);
        }
        return "-";
    }

    Workspace ws_;
};

// Whether the class has changes no save holds after the steps, and what the
// undo stack holds then.
TEST_F(ClassDocumentTest, UnsavedChangesFollowWhatASaveWouldWrite) {
    forEachRow("class_document.tsv", [&](const TableRow& row) {
        start();
        for (const std::string& text : row.parts("steps", ';'))
            step(text);
        EXPECT_EQ(hasUnsavedChanges(ws_) ? "yes" : "no", row["unsaved"]);
        EXPECT_EQ(ws_.undo.count(), row.number("undos"));
    });
}

TEST_F(ClassDocumentTest, EachEditRecordsItsUndoEntryAndCountsTheChange) {
    forEachRow("class_edits.tsv", [&](const TableRow& row) {
        start();
        std::vector<std::string> all = row.parts("steps", ';');
        const std::string last = all.back();
        all.pop_back();
        for (const std::string& text : all)
            step(text);
        markSaved(ws_);
        const std::vector<StudentRecord> before = ws_.students;
        const int undosBefore = ws_.undo.count();
        EXPECT_EQ(step(last), row["result"]);

        const int shown = row.number("student");
        const StudentRecord& s = ws_.students[shown];
        EXPECT_EQ(joined(std::array{s.mark, joined(s.comments), joined(s.skills),
                                    s.iep + "|" + s.esl + "|" + s.eld + "|" + s.interview +
                                        (s.pronouns.empty() ? "" : "|" + s.pronouns),
                                    s.freeFormUsed ? "Y " + s.freeFormText : "N" + s.freeFormText}),
                  joined(std::array{row["mark"], row["comments"], row["skills"], row["flags"],
                                    row["free"]}));
        EXPECT_EQ(ws_.undo.count(), row.number("undos"));
        EXPECT_EQ(hasUnsavedChanges(ws_) ? "yes" : "no", row["unsaved"]);
        for (int i = 0; i < ws_.studentCount(); ++i) {
            EXPECT_TRUE(i == shown || last.find("flags *") != std::string::npos ||
                        ws_.students[i] == before[i])
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
