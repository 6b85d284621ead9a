// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/class_document.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "autofill/mark_ranges.h"
#include "core/limits.h"
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
        doc().replaceRanges({{80, 100, {"0101", "0102", "0103"}, {"4", "4", "4", "4", "4", "4"}},
                             {0, 79, {"0201", "", ""}, {"2", "2", "2", "2", "2", "2"}}});
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
        // An edit is done when it records its undo entry.
        auto yes = [](const Edit& edit) { return std::string(edit.undoAdded ? "yes" : "no"); };
        const char* const flags[] = {"iep", "esl", "eld", "interview"};
        const auto flag = static_cast<Flag>(std::ranges::find(flags, first) - flags);
        if (kind == "mark") {
            const Edit edit = doc().enterMark(s, second, first == "on");
            if (!edit.undoAdded) return "no";
            return std::string("yes") + (edit.filled.comments ? " comments" : "") +
                   (edit.filled.skills ? " skills" : "");
        }
        if (kind == "stamp") return yes(doc().stampComment(s, std::stoul(first), second));
        if (kind == "skill") return yes(doc().clickSkill(s, std::stoul(first), second == "left"));
        if (kind == "set") return yes(doc().setSkill(s, std::stoul(first), second));
        if (kind == "pronouns") {
            const char* const sets[] = {"he", "she", "they"};
            const auto chosen = std::ranges::find(sets, first) - sets;
            return yes(doc().choosePronouns(
                s, chosen < 3 ? std::optional(static_cast<PronounSet>(chosen)) : std::nullopt));
        }
        if (kind == "flag") return yes(doc().clickFlag(s, flag));
        if (kind == "flags") doc().setFlagColumn(flag, second == "on");
        if (kind == "free") {
            const std::string original = s >= 0 && s < ws_.studentCount()
                                             ? freeFormOriginal(doc().student(s), ws_.phrases)
                                             : "";
            const char* const names[] = {"None", "Unchanged", "Replaced", "Removed"};
            FreeFormEdit outcome = FreeFormEdit::Replaced;
            doc().takeFreeFormDraft(s, rest == "=" ? original : rest, original, outcome);
            return names[static_cast<int>(outcome)];
        }
        if (kind == "open")
            doc().replaceClass({makeStudent("ENG2D1-01", "Adams", "Ann", "100000001"),
                                makeMarkedStudent("ENG2D1-01", "Brook", "Bo", "100000002")});
        if (kind == "restore") doc().restoreClass(doc().students());
        if (kind == "empty") doc().replaceClass({});
        if (kind == "undo") doc().undo();
        if (kind == "note") doc().setFlagColumn(Flag::Iep, true);
        if (kind == "save") doc().markSaved();
        if (kind == "sort")
            doc().reorder(who == "names" ? sortByName : who == "marks" ? sortByMark : sortByClass);
        // update and update+ (one student more) from data/class_document; update-none: no file.
        if (kind.starts_with("update")) {
            const std::string master = file(kind + ".txt");
            if (kind != "update-none")
                writeBytes(master,
                           readBytes(fs::path(TL_TEST_DATA) / "class_document" / (kind + ".txt")));
            ReconcileResult report;
            doc().updateFromEnrolment(master, std::time(nullptr), 101, report);
        }
        return "-";
    }

    ClassDocument& doc() { return ws_.doc; }
    Workspace ws_;
};

// Whether the class has changes no save holds after the steps, and what the
// undo stack holds then.
TEST_F(ClassDocumentTest, UnsavedChangesFollowWhatASaveWouldWrite) {
    forEachRow("class_document.tsv", [&](const TableRow& row) {
        start();
        for (const std::string& text : row.parts("steps", ';'))
            step(text);
        EXPECT_EQ(doc().hasUnsavedChanges() ? "yes" : "no", row["unsaved"]);
        EXPECT_EQ(doc().undoCount(), row.number("undos"));
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
        doc().markSaved();
        const std::vector<StudentRecord> before = doc().students();
        const int undosBefore = doc().undoCount();
        EXPECT_EQ(step(last), row["result"]);

        const int shown = row.number("student");
        const StudentRecord& s = doc().student(shown);
        EXPECT_EQ(joined(std::array{s.mark, joined(s.comments), joined(s.skills),
                                    s.iep + "|" + s.esl + "|" + s.eld + "|" + s.interview +
                                        (s.pronouns.empty() ? "" : "|" + s.pronouns),
                                    s.freeFormUsed ? "Y " + s.freeFormText : "N" + s.freeFormText}),
                  joined(std::array{row["mark"], row["comments"], row["skills"], row["flags"],
                                    row["free"]}));
        EXPECT_EQ(doc().undoCount(), row.number("undos"));
        EXPECT_EQ(doc().hasUnsavedChanges() ? "yes" : "no", row["unsaved"]);
        for (int i = 0; i < ws_.studentCount(); ++i) {
            EXPECT_TRUE(i == shown || last.find("flags *") != std::string::npos ||
                        doc().student(i) == before[i])
                << "student " << i;
        }
        if (doc().undoCount() > undosBefore) {
            EXPECT_EQ(doc().undoCount(), undosBefore + 1);
            const Edit undone = doc().undo();
            EXPECT_EQ(undone.items, std::vector<int>{shown});
            EXPECT_TRUE(undone.undoTaken);
            EXPECT_EQ(doc().students(), before);
        }
    });
}

// What an edit says it changed: the window redraws exactly that.
TEST_F(ClassDocumentTest, EachEditNamesItsStudentsAndFields) {
    start();
    const auto fields = [](const Edit& e) {
        std::string out;
        for (int f = 0; f < field::kCount; ++f)
            out += e.cells[static_cast<std::size_t>(f)] ? "x" : ".";
        return out;
    };
    // A mark that fills CM1 to CM3 and the skills from the 0-79 range.
    Edit e = doc().enterMark(0, "70", true);
    EXPECT_EQ(e.scope, Edit::Scope::Students);
    EXPECT_EQ(e.items, std::vector<int>{0});
    EXPECT_EQ(e.aimed, field::kMark);
    EXPECT_TRUE(e.filled.comments && e.filled.skills && e.undoAdded);
    EXPECT_EQ(fields(e), "xx....xxxxxx......");
    // A stamp that moves 0201 from CM1 to CM3 changes both slots.
    e = doc().stampComment(0, 2, "0201");
    EXPECT_EQ(fields(e), ".x.x..............");
    EXPECT_EQ(e.aimed, field::kFirstComment + 2);
    // A rating that stays the same is still aimed at, but changes nothing.
    e = doc().setSkill(0, 1, "2");
    EXPECT_EQ(e.aimed, field::kFirstSkill + 1);
    EXPECT_TRUE(e.cells.none() && e.undoAdded);
    // ELD for Brook clears nothing else; ESL clears her ELD.
    e = doc().clickFlag(1, Flag::Esl);
    EXPECT_EQ(fields(e), ".............xx...");
    // A pronoun choice, a flag for everyone, and the undo of the ESL click.
    EXPECT_EQ(fields(doc().choosePronouns(0, PronounSet::They)), "................x.");
    e = doc().setFlagColumn(Flag::Iep, true);
    EXPECT_EQ(e.items, (std::vector<int>{0, 1}));
    EXPECT_FALSE(e.undoAdded);
    EXPECT_EQ(fields(e), "............x.....");
    doc().undo();  // the pronoun choice
    e = doc().undo();
    EXPECT_EQ(e.items, std::vector<int>{1});
    EXPECT_EQ(fields(e), ".............xx...");
    // Sorts and updates concern the whole class; nothing to undo concerns nothing.
    EXPECT_EQ(doc().reorder(sortByMark).scope, Edit::Scope::Class);
    EXPECT_EQ(doc().undo().scope, Edit::Scope::None);
}

// An import sets each mark as a typed mark does, with the auto fill, and one
// undo takes every student back; the same marks again change nothing.
TEST_F(ClassDocumentTest, AnImportIsOneEditThatOneUndoTakesBack) {
    start();
    const std::vector<StudentRecord> before = doc().students();
    const std::vector<MarkForStudent> marks = {{0, "85"}, {1, "70"}, {1, "90"}, {7, "50"}};
    Edit e = doc().importMarks(marks, true);
    EXPECT_EQ(e.items, (std::vector<int>{0, 1}));
    EXPECT_EQ(e.aimed, field::kMark);
    // Adams's empty comments and untouched skills are filled; Brook's are her own.
    ASSERT_EQ(e.filledEach.size(), 2u);
    EXPECT_TRUE(e.filledEach[0].comments && e.filledEach[0].skills);
    EXPECT_FALSE(e.filledEach[1].comments || e.filledEach[1].skills);
    EXPECT_EQ(doc().student(0).mark + doc().student(0).comments[0] + doc().student(0).skills[0],
              "8501014");
    EXPECT_EQ(doc().student(1).mark, "70");
    EXPECT_EQ(doc().student(1).comments, before[1].comments);
    EXPECT_EQ(doc().undoCount(), 1);
    EXPECT_TRUE(doc().hasUnsavedChanges());
    EXPECT_EQ(doc().importMarks(marks, true).scope, Edit::Scope::None);
    EXPECT_EQ(doc().undoCount(), 1);
    e = doc().undo();
    EXPECT_EQ(e.items, (std::vector<int>{0, 1}));
    EXPECT_TRUE(e.undoTaken && e.cells[field::kMark]);
    EXPECT_EQ(doc().students(), before);
    EXPECT_FALSE(doc().canUndo());
}

// The update puts the class in the names' order and lists the students it
// dropped in that order too, whatever order the class was in.
TEST_F(ClassDocumentTest, UpdateSortsTheClassAndItsDroppedStudentsByName) {
    start();
    doc().replaceClass({makeStudent("ENG2D1-01", "Zeller", "Zed", "100000009"),
                        makeStudent("ENG2D1-01", "Brook", "Bo", "100000002"),
                        makeStudent("ENG2D1-01", "Young", "Yan", "100000008"),
                        makeStudent("ENG2D1-01", "Adams", "Ann", "100000001")});
    const std::string master = file("update.txt");
    writeBytes(master, readBytes(fs::path(TL_TEST_DATA) / "class_document" / "update.txt"));
    ReconcileResult report;
    const Edit edit = doc().updateFromEnrolment(master, std::time(nullptr), 101, report);
    EXPECT_EQ(edit.scope, Edit::Scope::Class);
    ASSERT_EQ(report.dropped.size(), 2u);
    EXPECT_EQ(report.dropped[0].lastName + report.dropped[1].lastName, "YoungZeller");
    EXPECT_EQ(doc().student(0).lastName + doc().student(1).lastName, "AdamsBrook");
    // Refused, nothing changes: not even the order.
    doc().replaceClass({makeStudent("ENG2D1-01", "Brook", "Bo", "100000002"),
                        makeStudent("ENG2D1-01", "Adams", "Ann", "100000001")});
    EXPECT_EQ(doc().updateFromEnrolment(file("none.txt"), std::time(nullptr), 101, report).scope,
              Edit::Scope::None);
    EXPECT_TRUE(report.refused);
    EXPECT_EQ(doc().student(0).lastName, "Brook");
}

using Ranges = std::vector<InitialValueRange>;

InitialValueRange range(int low, int high, std::array<std::string, 3> codes = {},
                        const char* skill = "3") {
    InitialValueRange r{low, high, std::move(codes), {}};
    r.skills.fill(skill);
    return r;
}

// Grid row r shows range r - 1.
TEST(RangeEdits, SplitHalvesAndDeleteMergesWithTheRangeBelow) {
    forEachRow("range_split_delete.tsv", [](const TableRow& row) {
        Ranges ranges;
        for (const std::string& text : row.parts("before", ' ')) {
            InitialValueRange& r = ranges.emplace_back();
            char skill[2] = {};
            std::sscanf(text.c_str(), "%d-%d:%1s", &r.lowMark, &r.highMark, skill);
            r.skills.fill(skill);
        }
        ClassDocument doc;
        doc.replaceRanges(ranges);
        const int at = row.number("row") - 1;
        const Edit edit = row["op"] == "split" ? doc.splitRange(at) : doc.deleteRange(at);
        EXPECT_EQ(edit.scope == Edit::Scope::RangeTable, row["changed"] == "yes");
        EXPECT_EQ(rangeMarks(doc.ranges()), row["after"]);
    });
    // Both halves keep the codes; the merged range keeps those of the range below.
    ClassDocument doc;
    doc.replaceRanges({range(60, 84, {"0012", "", "    "}, "2"), range(0, 59)});
    EXPECT_EQ(doc.splitRange(0).items, (std::vector<int>{0, 1}));
    EXPECT_EQ(doc.ranges()[1], range(60, 71, {"0012", "", "    "}, "2"));
    doc.stampRangeCode(1, 1, "0034");
    EXPECT_TRUE(doc.canUndoRange());
    // A change of the marks takes the undo entries with it.
    EXPECT_EQ(doc.deleteRange(0).items, std::vector<int>{0});
    EXPECT_FALSE(doc.canUndoRange());
    EXPECT_EQ(doc.ranges()[0], range(60, 84, {"0012", "0034", "    "}, "2"));
    // A table of 99 ranges is split; a full one is not.
    doc.replaceRanges(Ranges(kMaxRanges - 1, range(0, 10)));
    EXPECT_TRUE(doc.splitRange(0).concernsRanges());
    EXPECT_FALSE(doc.splitRange(0).concernsRanges() || doc.rangeCount() != 100);
}

TEST(RangeEdits, StampsAndSkillClicksOnTheirCellsAndUndoFromTheNewest) {
    Ranges start = {range(80, 100, {"0012", "", ""}), range(0, 79, {}, "")};
    start[1].skills[4] = "x";
    ClassDocument doc;
    doc.replaceRanges(start);
    forEachRow("range_grid_edits.tsv", [&](const TableRow& row) {
        const int r = row.number("row") - 1, col = row.number("col");
        const std::string& button = row["button"];
        const auto skill = static_cast<std::size_t>(rangeSkillIndex(col));
        const auto slot = static_cast<std::size_t>(rangeCodeSlot(col));
        using Button = ClassDocument::Button;
        const Button click = button == "Left"    ? Button::Left
                             : button == "Right" ? Button::Right
                                                 : Button::Other;
        const Edit edit = button.empty()     ? doc.stampRangeCode(r, slot, row["code"])
                          : button[0] == '=' ? doc.setRangeSkill(r, skill, button.substr(1))
                                             : doc.clickRangeSkill(r, skill, click);
        EXPECT_EQ(edit.undoAdded, row["changed"] == "yes");
        EXPECT_EQ(edit.items, edit.undoAdded ? std::vector<int>{r} : std::vector<int>{});
        EXPECT_EQ(joined(doc.ranges()[0].codes) + " " + joined(doc.ranges()[1].skills),
                  row["codes1"] + " " + row["skills2"]);
    });
    std::string rows;
    for (Edit e = doc.undoRange(); e.undoTaken; e = doc.undoRange())
        rows += std::to_string(e.items.front() + 1);
    EXPECT_EQ(rows, "222222211");
    EXPECT_EQ(doc.ranges(), start);
    // Another visit starts with nothing to take back.
    doc.stampRangeCode(0, 0, "0034");
    EXPECT_TRUE(doc.forgetRangeUndo().undoTaken);
    EXPECT_FALSE(doc.canUndoRange());
}

}  // namespace
}  // namespace tl::test
