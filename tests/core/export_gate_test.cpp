// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/export_gate.h"

#include <algorithm>
#include <chrono>
#include <sstream>

#include "core/limits.h"
#include "core/test_support.h"
#include "core/workspace.h"
#include "export/efile.h"

namespace tl::test {
namespace {

// Day day of January 2024 (32: February 1) at hour, local time.
std::time_t inJanuary(int day, int hour) {
    std::tm t{};
    t.tm_year = 124;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// "Last First Number Section state": a student as the teacher left them.
StudentRecord entered(const std::string& text) {
    std::istringstream in(text);
    std::string last, first, number, section, state;
    in >> last >> first >> number >> section >> state;
    StudentRecord s = makeStudent(section, last, first, number);
    s.mark = state.ends_with("nomark") ? "" : "70";
    s.comments = {state == "nocomment" ? "    " : "0012", state.starts_with("long") ? "0099" : ""};
    s.freeFormUsed = state.ends_with("free");
    s.freeFormText = s.freeFormUsed ? "Reads widely." : "";
    if (state == "noskill") s.skills[kIW] = "";
    return s;
}

using ExportGateTest = TempDirTest;

TEST_F(ExportGateTest, RefusalThenDiscrepanciesThenProblemsThenReady) {
    forEachRow("export_gate.tsv", [&](const TableRow& row) {
        Workspace ws;
        // 0099 alone is over 460 characters.
        ws.phrases = {{"0012", "Works hard.", ""}, {"0099", std::string(470, 'w'), ""}};
        std::vector<StudentRecord> students;
        for (const std::string& s : row.parts("class"))
            students.push_back(entered(s));
        ws.doc.replaceClass(students);

        // Written 2024-01-31 at 23:00 local time, checked at noon some days later.
        const std::string master = file("TLStudentInfo.txt");
        fs::remove(master);
        if (row["file"] != "-") {
            std::vector<std::string> lines = row.parts("file");
            lines.insert(lines.begin(), "Last,First,Gender,Number,...");
            writeBytes(master, crlfLines(lines));
            const auto written = std::chrono::system_clock::from_time_t(inJanuary(31, 23));
            fs::last_write_time(master, std::chrono::file_clock::from_sys(written));
        }

        ReconcileResult update;
        ws.doc.updateFromEnrolment(master, inJanuary(31 + row.number("age"), 12), kMaxStudents,
                                   update);
        const ExportGate gate = checkExportGate(update, ws.students(), ws.phrases);
        const char* const outcomes[] = {"Refused", "Discrepancies", "Problems", "Ready"};
        EXPECT_EQ(outcomes[static_cast<int>(gate.outcome)], row["outcome"]);
        EXPECT_EQ(gate.outcome == GateOutcome::Refused, gate.notice.has_value());
        EXPECT_EQ(gate.notice          ? gate.notice->text
                  : gate.lines.empty() ? ""
                                       : gate.lines.front(),
                  row["first"]);
        // The lines the report must hold, in this order.
        auto line = gate.lines.begin();
        for (const std::string& wanted : row.parts("holds")) {
            line = std::find(line, gate.lines.end(), wanted);
            ASSERT_NE(line++, gate.lines.end()) << wanted;
        }
        std::vector<std::string> after;
        for (const StudentRecord& s : ws.students())
            after.push_back(s.lastName);
        EXPECT_EQ(joined(after), row["after"]);
        EXPECT_TRUE(gate.outcome != GateOutcome::Refused || ws.students() == students);
        // Once the class is in line, its comments come composed for the preview.
        const bool composed =
            gate.outcome == GateOutcome::Problems || gate.outcome == GateOutcome::Ready;
        EXPECT_EQ(gate.comments.size(), composed ? ws.students().size() : 0u);
        for (std::size_t i = 0; i < gate.comments.size(); ++i) {
            EXPECT_EQ(gate.comments[i].exported, exportComment(ws.students()[i], ws.phrases));
            EXPECT_EQ(previewRows(ws.students()[i], gate.comments[i].composed),
                      previewRows(ws.students()[i], ws.phrases));
        }
    });
}

}  // namespace
}  // namespace tl::test
