// SPDX-License-Identifier: GPL-3.0-or-later

// Each folder under data/golden is a case: a class file, a phrase library
// (a frozen copy of the demo library when the case has none) and an enrolment file as inputs,
// and the bytes the program writes and the texts its windows and printout show
// for them. Adding a case is adding a folder; TL_RECORD_GOLDEN=1 writes the
// expected files of a new case. data/golden/README.md says what each case brings.
#include <cstdlib>

#include "core/class_file.h"
#include "core/file_io.h"
#include "core/master_file.h"
#include "core/sorting.h"
#include "core/test_support.h"
#include "entry/class_report.h"
#include "entry/detail_lines.h"
#include "export/efile.h"

namespace tl::test {
namespace {

class GoldenCases : public TempDirTest {
  protected:
    // What the program writes and shows for the case, by expected file name.
    std::map<std::string, std::string> outputs(const fs::path& folder) {
        std::vector<Phrase> phrases;
        // The demo library as it was when the cases were recorded: the demo's own
        // may be reworded.
        const fs::path library = fs::exists(folder / "TLPhraseLibrary.csv")
                                     ? folder
                                     : fs::path(TL_TEST_DATA) / "frozen_demo";
        EXPECT_EQ(loadPhraseLibrary(library.string(), phrases).status, LibraryStatus::Loaded);
        std::vector<StudentRecord> students;
        EXPECT_EQ(openClass((folder / "class.tlc").string(), students), std::nullopt);

        std::map<std::string, std::string> out;
        // A library of the case's own as the Sort command writes it.
        if (library == folder) {
            EXPECT_EQ(writeSortedPhraseLibrary(dir().string(), phrases), std::nullopt);
            out["library.csv"] = readBytes(dir() / "TLPhraseLibrarySORTED.csv");
        }
        // The grid's sorts by mark and by class, of the class as read.
        for (const auto sort : {sortByMark, sortByClass}) {
            std::vector<StudentRecord> sorted = students;
            sort(sorted);
            for (const StudentRecord& s : sorted)
                out["sorted.txt"] +=
                    joined(std::array{s.classCode, s.lastName, s.firstName, s.mark}) + "\r\n";
            out["sorted.txt"] += "\r\n";
        }
        // The Save command and the export window sort by name first.
        sortByName(students);
        EXPECT_EQ(saveClass(file("saved.tlc"), students).outcome, WriteOutcome::Written);
        out["saved.tlc"] = readBytes(dir() / "saved.tlc");
        // What is saved opens again as the class and saves the same bytes.
        std::vector<StudentRecord> reopened;
        EXPECT_EQ(openClass(file("saved.tlc"), reopened), std::nullopt);
        EXPECT_EQ(classFileText(reopened), out["saved.tlc"]);
        out["problems.txt"] = crlfLines(problemReport(students, phrases));
        out["efile.trc"] = eFileText(students, phrases);
        // What the windows show: each student's grid row and detail panel, without and
        // with the course column, and the export preview's rows; cells joined by "|".
        for (const bool course : {false, true})
            for (const StudentRecord& s : students) {
                const auto panel = buildDetailLines(s, phrases, course).lines;
                out["panel.txt"] += joined(gridRowTexts(s, course)) + "\r\n" +
                                    crlfLines({panel.begin(), panel.end()});
            }
        for (const StudentRecord& s : students)
            for (const PreviewRow& row : previewRows(s, phrases))
                out["preview.txt"] += joined(row) + "\r\n";
        // The printed class report at a fixed time, a form feed before each later page.
        std::tm when{};
        strptime("2026-01-05 07:04:09", "%Y-%m-%d %H:%M:%S", &when);
        out["report.txt"] = classReportHeading(when) + "\r\n";
        for (const ReportPage& page : classReportPages(students, phrases, true))
            for (const ReportBlock& block : page)
                out["report.txt"] += (block.student < 0 ? "\f" : "") + crlfLines(block.lines);

        const auto master = readWholeFile((folder / "TLStudentInfo.txt").string());
        if (master) {
            const ReconcileResult r =
                reconcileWithMasterText(students, *master, kMaxStudents, kMaxStudents);
            out["reconciled.txt"] = r.refused ? r.notice.value_or(Notice{}).text + "\r\n"
                                              : crlfLines(discrepancyReport(r.dropped, r.added));
            // A second update finds nothing new, whatever the file repeats.
            const ReconcileResult again =
                reconcileWithMasterText(students, *master, kMaxStudents, kMaxStudents);
            EXPECT_TRUE(again.added.empty() && again.dropped.empty());
            EXPECT_EQ(saveClass(file("reconciled.tlc"), students).outcome, WriteOutcome::Written);
            out["reconciled.tlc"] = readBytes(dir() / "reconciled.tlc");
        }
        return out;
    }
};

TEST_F(GoldenCases, EveryCaseWritesItsExpectedBytes) {
    const fs::path root = fs::path(TL_TEST_DATA) / "golden";
    const bool record = std::getenv("TL_RECORD_GOLDEN") != nullptr;
    int cases = 0;
    for (const auto& entry : fs::directory_iterator(root)) {
        if (!entry.is_directory()) continue;
        ++cases;
        SCOPED_TRACE(entry.path().filename().string());
        for (const auto& [name, bytes] : outputs(entry.path())) {
            const fs::path expected = entry.path() / "expected" / name;
            if (record) {
                fs::create_directories(expected.parent_path());
                writeBytes(expected, bytes);
            }
            ASSERT_TRUE(fs::exists(expected)) << expected;
            EXPECT_EQ(bytes, readBytes(expected)) << name;
        }
    }
    EXPECT_GE(cases, 9);
}

}  // namespace
}  // namespace tl::test
