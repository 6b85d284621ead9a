// The main window's grid at capacity, offscreen.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "core/file_io.h"
#include "core/master_file.h"
#include "core/phrase_library.h"
#include "core/workspace.h"
#include "entry/frm_entry.h"
#include "export/frm_export.h"
#include "platform/flex_grid.h"
#include "platform/locations.h"
#include "doubles/scripted_prompts.h"

namespace {

struct Window {
    tl::Workspace ws;
    tl::ScriptedPrompts prompts;
    tl::Locations locations;
    std::unique_ptr<tl::frmEntry> entry;
};

std::unique_ptr<Window> classOf501() {
    auto w = std::make_unique<Window>();
    const tl::LibraryLoad load = tl::loadPhraseLibrary(TL_DEMO_DIR, w->ws.phrases);
    if (load.status != tl::LibraryStatus::Loaded) return nullptr;
    const char* codes[] = {"0001", "0004", "0100", "2101", "2103", "0138", "0145", "2117"};
    for (int i = 0; i < 501; ++i) {
        tl::StudentRecord s;
        s.classCode = i % 2 ? "MPM2D1-01" : "MPM2D1-02";
        s.studentNumber = std::to_string(300000000 + i * 7);
        s.lastName = "Family" + std::to_string(i % 97);
        s.firstName = "Given" + std::to_string(i % 53);
        s.gender = i % 3 ? "F" : "M";
        s.mark = std::to_string(40 + i % 61);
        for (int c = 0; c < 3; ++c)
            s.comments[c] = codes[(i + c * 3) % 8];
        s.skills.fill(std::to_string(1 + i % 4));
        s.interview = "0";
        w->ws.students.push_back(s);
    }
    w->entry = std::make_unique<tl::frmEntry>(w->ws, w->prompts, w->locations);
    w->entry->show();
    return w;
}

void BM_FillGrid(benchmark::State& state) {
    auto w = classOf501();
    if (!w) {
        state.SkipWithError("demo phrase library not loaded");
        return;
    }
    for (auto _ : state) {
        w->entry->fillflexGrid();
        QApplication::processEvents();
    }
    if (w->entry->msfgClass->rows() != 502 || !w->prompts.messages().isEmpty()) {
        state.SkipWithError("the grid does not show the class");
    }
}
BENCHMARK(BM_FillGrid)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_MoveCurrentRow(benchmark::State& state) {
    auto w = classOf501();
    if (!w) {
        state.SkipWithError("demo phrase library not loaded");
        return;
    }
    w->entry->fillflexGrid();
    tl::FlexGrid* grid = w->entry->msfgClass;
    int row = 1;
    for (auto _ : state) {
        row = row % 500 + 1;
        grid->setCurrentCell(row + 1, 3);
    }
    const QString shown = w->entry->lblDetail2->text();
    if (!shown.startsWith(QString::fromStdString(w->ws.students[grid->row() - 1].lastName))) {
        state.SkipWithError("the details do not follow the current row");
    }
}
BENCHMARK(BM_MoveCurrentRow)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A click on a grid cell, from the mouse event to the refreshed panel.
void clickCell(tl::FlexGrid* grid, int row, int col, Qt::MouseButton button) {
    grid->scrollToItem(grid->item(row - 1, col));
    const QPoint at = grid->viewport()->mapFrom(grid, grid->cellGeometry(row, col).center());
    QTest::mouseClick(grid->viewport(), button, {}, at);
}

void BM_StampClick(benchmark::State& state) {
    auto w = classOf501();
    if (!w) {
        state.SkipWithError("demo phrase library not loaded");
        return;
    }
    w->ws.favourites = {"0004", "0100"};
    w->entry->fillflexGrid();
    w->entry->lstFavourites->setCurrentRow(0);
    tl::FlexGrid* grid = w->entry->msfgClass;
    int row = 0;
    for (auto _ : state) {
        row = row % 501 + 1;
        clickCell(grid, row, 7, Qt::LeftButton);
    }
    if (w->ws.students[row - 1].comments[3] != "0004") {
        state.SkipWithError("the click did not stamp the code");
    }
}
BENCHMARK(BM_StampClick)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SkillClick(benchmark::State& state) {
    auto w = classOf501();
    if (!w) {
        state.SkipWithError("demo phrase library not loaded");
        return;
    }
    w->entry->fillflexGrid();
    w->entry->cmdSwitch->click();
    tl::FlexGrid* grid = w->entry->msfgClass;
    const std::string before = w->ws.students[250].skills[2];
    for (auto _ : state)
        clickCell(grid, 251, 11, Qt::LeftButton);
    if (w->ws.students[250].skills[2] == before && state.iterations() % 4 != 0) {
        state.SkipWithError("the click did not change the skill");
    }
}
BENCHMARK(BM_SkillClick)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A school of 5000 students; the first 501 take the class MPM2D1-01.
struct ExportSchool {
    std::filesystem::path root;
    tl::Workspace ws;
    tl::ScriptedPrompts prompts;
    tl::Locations locations;
    std::vector<tl::StudentRecord> completeClass;
    ~ExportSchool() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

std::unique_ptr<ExportSchool> exportSchool() {
    namespace fs = std::filesystem;
    auto s = std::make_unique<ExportSchool>();
    std::error_code ec;
    const fs::path base =
        fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    s->root = base / ("tl_ui_bench_" + std::to_string(::getpid()));
    fs::create_directories(s->root / "Tallyleaf");
    fs::create_directories(s->root / "data");
    s->locations = tl::Locations{QString::fromStdString((s->root / "Tallyleaf").string()),
                                 QString::fromStdString(s->root.string())};
    std::string master = "Last,First,Gender,Number,G,H,B,Field8,a,b,c,d,e,Field14,Timetable\r\n";
    for (int i = 0; i < 5000; ++i) {
        const std::string section = i < 501 ? "MPM2D1-01" : "SEC" + std::to_string(i % 160) + "-01";
        master += "Family" + std::to_string(i % 211) + ",Given" + std::to_string(i % 97) + "," +
                  (i % 2 ? "M" : "F") + "," + std::to_string(400000000 + i) + ",10,A,2009-01-01,K" +
                  std::to_string(i % 9) + ",,,,,,2026-09-01," + section + " ENG2D1-0" +
                  std::to_string(i % 7) + " LUNCH-A SH1-STUDY ZHOME\r\n";
    }
    if (!tl::writeFileAtomically((s->root / "data" / "TLStudentInfo.txt").string(), master)) {
        return nullptr;
    }
    if (tl::loadPhraseLibrary(TL_DEMO_DIR, s->ws.phrases).status != tl::LibraryStatus::Loaded) {
        return nullptr;
    }
    auto lines = tl::readMasterStudentLines((s->root / "data" / "TLStudentInfo.txt").string());
    auto cls = lines ? tl::matchStudentsToSections(*lines, {"MPM2D1-01"}, 501) : std::nullopt;
    if (!cls || cls->size() != 501) return nullptr;
    const char* codes[] = {"0001", "0004", "0100", "2101", "2103", "0138"};
    for (std::size_t i = 0; i < cls->size(); ++i) {
        tl::StudentRecord& st = (*cls)[i];
        st.mark = std::to_string(50 + i % 51);
        st.comments = {codes[i % 6], codes[(i + 1) % 6], codes[(i + 3) % 6], "", ""};
    }
    s->completeClass = *cls;
    return s;
}

void BM_OpenExportWindow(benchmark::State& state) {
    auto school = exportSchool();
    if (!school) {
        state.SkipWithError("the school could not be written");
        return;
    }
    bool ready = true;
    for (auto _ : state) {
        state.PauseTiming();
        school->ws.students = school->completeClass;
        state.ResumeTiming();
        tl::frmExport window(school->ws, school->prompts, school->locations);
        window.Form_Load();
        QApplication::processEvents();
        ready = ready && window.chkConfirm->isVisible();
    }
    if (!ready || !school->prompts.messages().isEmpty() || school->ws.studentCount() != 501) {
        state.SkipWithError("the export window did not reach its preview");
    }
}
BENCHMARK(BM_OpenExportWindow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
