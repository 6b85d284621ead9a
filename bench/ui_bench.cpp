// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's grid and the export window at capacity, offscreen. The
// windows are reached through their controls' objectNames and through mouse
// events, as a teacher reaches them.
#include <benchmark/benchmark.h>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <set>
#include <string_view>
#include <tuple>

#include "autofill/frm_auto_fill.h"
#include "bench_school.h"
#include "checks/class_problems.h"
#include "core/class_file.h"
#include "core/editing_rules.h"
#include "core/favourites_file.h"
#include "core/file_io.h"
#include "core/limits.h"
#include "core/phrase_library.h"
#include "core/sorting.h"
#include "core/text.h"
#include "core/workspace.h"
#include "doubles/scripted_prompts.h"
#include "entry/detail_lines.h"
#include "entry/frm_entry.h"
#include "entry/frm_splash.h"
#include "entry/grid_columns.h"
#include "export/efile.h"
#include "export/frm_export.h"
#include "import/frm_import_marks.h"
#include "import/mark_import.h"
#include "import/markbook_readers.h"
#include "platform/encoding.h"
#include "platform/flex_grid.h"
#include "platform/fonts.h"
#include "platform/locations.h"
#include "platform/program_style.h"
#include "selection/frm_selection.h"

namespace {

using tl::bench::benchSchool;
using tl::bench::BenchSchool;
using tl::bench::exportSchool;
using tl::bench::fullLibrary;
using tl::bench::memoryFolder;
using tl::bench::openFavouritesOnStartUp;
using tl::bench::Window;

// The main window with the class, shown; nothing when the data or a control is missing.
std::unique_ptr<Window> classWindow(benchmark::State& state) {
    std::string error;
    auto w = tl::bench::openClassWindow(benchSchool(), error);
    if (!w) state.SkipWithError(error.c_str());
    return w;
}

// The grid holds the texts of every student's row.
bool gridShows(const tl::FlexGrid& grid, const std::vector<tl::StudentRecord>& students,
               bool course = false) {
    if (grid.rows() != static_cast<int>(students.size()) + 1) return false;
    for (std::size_t i = 0; i < students.size(); ++i) {
        const auto texts = tl::gridRowTexts(students[i], course);
        for (int c = 0; c < tl::grid::kColumnCount; ++c)
            if (grid.textMatrix(static_cast<int>(i) + 1, c) !=
                tl::toQString(texts[static_cast<std::size_t>(c)])) {
                return false;
            }
    }
    return true;
}

// Runs the event loop until the watched widget has painted again: what the
// teacher waits for is the window drawn anew, not the call that changed it.
class Redraw : public QObject {
  public:
    explicit Redraw(QWidget* watched) { watched->installEventFilter(this); }
    // False when nothing was painted within a second.
    bool wait() {
        QElapsedTimer waited;
        waited.start();
        while (!painted_ && waited.elapsed() < 1000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        // What else the event posted (another window's list) is drawn too.
        QApplication::processEvents();
        const bool painted = painted_;
        painted_ = false;
        return painted;
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted_ = true;
        return QObject::eventFilter(watched, event);
    }

  private:
    bool painted_ = false;
};

// Opens Ready for the Office beside the main window, as a teacher keeps it
// open while entering marks.
bool openReadyList(const Window& w) {
    w.entry->findChild<QAction*>("mnuReady")->trigger();
    QApplication::processEvents();
    const auto* list = w.entry->findChild<QListWidget*>("lstProblems");
    return list != nullptr && list->isVisible();
}

// The list shows what a list made afresh would.
bool readyListIsCurrent(const Window& w) {
    const auto* list = w.entry->findChild<QListWidget*>("lstProblems");
    const auto problems = tl::classProblems(w.ws.students(), w.ws.phrases, w.ws.doc.ranges());
    if (list == nullptr || list->count() != static_cast<int>(problems.size())) return false;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text() !=
            tl::toQString(tl::problemLine(w.ws.students(), problems[static_cast<std::size_t>(i)])))
            return false;
    }
    return true;
}

void BM_FillGrid(benchmark::State& state) {
    auto w = classWindow(state);
    if (!w) return;
    Redraw redraw(w->grid->viewport());
    bool drawn = true;
    for (auto _ : state) {
        w->entry->fillflexGrid();
        drawn = redraw.wait() && drawn;
    }
    if (!drawn) state.SkipWithError("the grid was not drawn again");
    if (!gridShows(*w->grid, w->ws.students()) || !w->prompts.messages().isEmpty())
        state.SkipWithError("the grid does not show the class");
}
BENCHMARK(BM_FillGrid)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Moving the current row, from row to row down the class, until drawn.
void moveRows(benchmark::State& state, bool readyList) {
    auto w = classWindow(state);
    if (!w) return;
    w->entry->fillflexGrid();
    const auto* detail = w->entry->findChild<QLabel*>("lblDetail2");
    if (detail == nullptr || (readyList && !openReadyList(*w))) {
        state.SkipWithError("no lblDetail2 or no Ready for the Office");
        return;
    }
    Redraw redraw(w->grid->viewport());
    bool drawn = true;
    int row = 1;
    for (auto _ : state) {
        row = row % 500 + 1;
        w->grid->setCurrentCell(row + 1, tl::grid::kMark);
        drawn = redraw.wait() && drawn;
    }
    const tl::DetailLines expected =
        tl::buildDetailLines(w->ws.students()[w->grid->row() - 1], w->ws.phrases, false);
    if (!drawn || w->grid->row() != row + 1 || detail->text() != tl::toQString(expected.lines[1]))
        state.SkipWithError("the details do not follow the current row");
}

void BM_MoveCurrentRow(benchmark::State& state) {
    moveRows(state, false);
}
BENCHMARK(BM_MoveCurrentRow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_MoveRowWithReadyList(benchmark::State& state) {
    moveRows(state, true);
}
BENCHMARK(BM_MoveRowWithReadyList)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A click on a grid cell, from the mouse event to the refreshed panel.
void clickCell(tl::FlexGrid* grid, int row, int col, Qt::MouseButton button) {
    grid->scrollTo(grid->model()->index(row - 1, col));
    const QPoint at = grid->viewport()->mapFrom(grid, grid->cellGeometry(row, col).center());
    QTest::mouseClick(grid->viewport(), button, {}, at);
}

// Stamp clicks down the class's CM4 cells, each until drawn.
void stampClicks(benchmark::State& state, bool readyList) {
    auto w = classWindow(state);
    if (!w) return;
    constexpr int kCM4 = tl::grid::kFirstComment + 3;
    w->entry->fillflexGrid();
    w->entry->showFavourites();
    auto* favourites = w->entry->findChild<QListWidget*>("lstFavourites");
    if (favourites == nullptr || favourites->count() < 1 || (readyList && !openReadyList(*w))) {
        state.SkipWithError("no favourites in lstFavourites or no Ready for the Office");
        return;
    }
    // The first favourite is the code to stamp.
    QTest::mouseClick(favourites->viewport(), Qt::LeftButton, {},
                      favourites->visualItemRect(favourites->item(0)).center());
    const std::vector<tl::StudentRecord> before = w->ws.students();
    Redraw redraw(w->grid->viewport());
    bool drawn = true;
    int row = 0;
    int clicked = 0;
    for (auto _ : state) {
        row = row % tl::kMaxStudents + 1;
        clicked = std::min(clicked + 1, tl::kMaxStudents);
        clickCell(w->grid, row, kCM4, Qt::LeftButton);
        drawn = redraw.wait() && drawn;
    }
    // Each clicked row holds the code in CM4 as the stamp rule puts it there.
    bool stamped = drawn && clicked > 0 && (!readyList || readyListIsCurrent(*w));
    for (int i = 0; stamped && i < clicked; ++i) {
        std::array<std::string, 5> expected = before[static_cast<std::size_t>(i)].comments;
        tl::stampCode(expected, tl::grid::commentSlot(kCM4), w->ws.favourites.front());
        stamped = expected != before[static_cast<std::size_t>(i)].comments &&
                  w->ws.students()[static_cast<std::size_t>(i)].comments == expected;
    }
    if (!stamped) state.SkipWithError("the click did not stamp the code, or was not drawn");
}

void BM_StampClick(benchmark::State& state) {
    stampClicks(state, false);
}
BENCHMARK(BM_StampClick)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_StampClickWithReadyList(benchmark::State& state) {
    stampClicks(state, true);
}
BENCHMARK(BM_StampClickWithReadyList)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A mark typed into the MRK cell and Enter, which moves down the class; each
// until drawn.
void typeMarks(benchmark::State& state, bool readyList) {
    auto w = classWindow(state);
    if (!w) return;
    w->entry->fillflexGrid();
    if (readyList && !openReadyList(*w)) {
        state.SkipWithError("no Ready for the Office");
        return;
    }
    QApplication::setActiveWindow(w->entry.get());
    w->grid->setCurrentCell(1, tl::grid::kMark);
    w->grid->setFocus();
    Redraw redraw(w->grid->viewport());
    bool drawn = true;
    int typed = 0;
    for (auto _ : state) {
        for (const Qt::Key key : {Qt::Key_7, Qt::Key_9, Qt::Key_Return})
            QTest::keyClick(QApplication::focusWidget(), key);
        drawn = redraw.wait() && drawn;
        typed = std::min(typed + 1, tl::kMaxStudents);
    }
    bool marked = drawn && typed > 0 && (!readyList || readyListIsCurrent(*w));
    for (int i = 0; marked && i < typed; ++i)
        marked = w->ws.students()[static_cast<std::size_t>(i)].mark == "79";
    if (!marked) state.SkipWithError("the marks were not typed, or not drawn");
}

void BM_TypeMark(benchmark::State& state) {
    typeMarks(state, false);
}
BENCHMARK(BM_TypeMark)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_TypeMarkWithReadyList(benchmark::State& state) {
    typeMarks(state, true);
}
BENCHMARK(BM_TypeMarkWithReadyList)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SkillClick(benchmark::State& state) {
    auto w = classWindow(state);
    if (!w) return;
    constexpr int kRow = 251;
    constexpr int kIW = tl::grid::kFirstSkill + tl::kIW;
    w->entry->fillflexGrid();
    auto* toSkills = w->entry->findChild<QPushButton*>("cmdSwitch");
    if (toSkills == nullptr) {
        state.SkipWithError("no cmdSwitch");
        return;
    }
    QTest::mouseClick(toSkills, Qt::LeftButton);
    // One click steps the skill as the rule says; four bring it back.
    std::array<std::string, 6> expected = w->ws.students()[kRow - 1].skills;
    tl::cycleSkill(expected, tl::kIW, true);
    clickCell(w->grid, kRow, kIW, Qt::LeftButton);
    if (w->ws.students()[kRow - 1].skills != expected) {
        state.SkipWithError("a click did not step the skill");
        return;
    }
    Redraw redraw(w->grid->viewport());
    bool drawn = true;
    for (auto _ : state) {
        clickCell(w->grid, kRow, kIW, Qt::LeftButton);
        drawn = redraw.wait() && drawn;
    }
    for (benchmark::IterationCount i = 0; i < state.iterations(); ++i)
        tl::cycleSkill(expected, tl::kIW, true);
    if (!drawn || state.iterations() < 1 || w->ws.students()[kRow - 1].skills != expected ||
        w->grid->textMatrix(kRow, kIW) !=
            tl::toQString(tl::gridRowTexts(w->ws.students()[kRow - 1], false)[kIW])) {
        state.SkipWithError("the clicks did not cycle the skill");
    }
}
BENCHMARK(BM_SkillClick)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

std::string benchFile(const char* name) {
    return (memoryFolder() / ("tl_ui_bench_" + std::to_string(::getpid()) + "_" + name)).string();
}

QAction* action(const Window& w, const char* name) {
    return w.entry->findChild<QAction*>(name);
}

// The grid shows the class as a sort command leaves it.
bool showsSorted(const Window& w,
                 bool (*before)(const tl::StudentRecord&, const tl::StudentRecord&)) {
    const auto& s = w.ws.students();
    const bool course = action(w, "mnuShowCourse")->isChecked();
    return std::is_sorted(s.begin(), s.end(), before) && gridShows(*w.grid, s, course) &&
           w.prompts.messages().isEmpty();
}

bool nameBefore(const tl::StudentRecord& a, const tl::StudentRecord& b) {
    return std::tie(a.lastName, a.firstName) < std::tie(b.lastName, b.firstName);
}

// A sort command of the Sort menu on the class in another order, the grid redrawn.
void sortBench(benchmark::State& state, const char* command,
               void (*disorder)(std::vector<tl::StudentRecord>&),
               bool (*before)(const tl::StudentRecord&, const tl::StudentRecord&)) {
    auto w = classWindow(state);
    if (!w) return;
    // Sort Course is offered while the course codes are shown.
    if (std::string_view(command) == "mnuSortCourse") action(*w, "mnuShowCourse")->trigger();
    w->entry->fillflexGrid();
    QAction* sort = action(*w, command);
    Redraw redraw(w->grid->viewport());
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<tl::StudentRecord> students = w->ws.students();
        disorder(students);
        w->ws.doc.replaceClass(std::move(students));
        state.ResumeTiming();
        sort->trigger();
        if (!redraw.wait()) {
            state.SkipWithError("the grid was not drawn again");
            break;
        }
    }
    if (!showsSorted(*w, before)) state.SkipWithError("the class is not shown in sorted order");
}

void BM_SortByNameAndRedraw(benchmark::State& state) {
    sortBench(state, "mnuSortNames", tl::sortByMark, nameBefore);
}
BENCHMARK(BM_SortByNameAndRedraw)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SortByMarkAndRedraw(benchmark::State& state) {
    sortBench(state, "mnuSortMarks", tl::sortByName,
              [](const tl::StudentRecord& a, const tl::StudentRecord& b) {
                  return tl::leadingNumber(a.mark) > tl::leadingNumber(b.mark);
              });
}
BENCHMARK(BM_SortByMarkAndRedraw)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SortByClassAndRedraw(benchmark::State& state) {
    sortBench(state, "mnuSortCourse", tl::sortByName,
              [](const tl::StudentRecord& a, const tl::StudentRecord& b) {
                  return std::tie(a.classCode, a.lastName, a.firstName) <
                         std::tie(b.classCode, b.lastName, b.firstName);
              });
}
BENCHMARK(BM_SortByClassAndRedraw)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The Comments/Skills button, back and forth, the grid redrawn each time.
void BM_SwitchView(benchmark::State& state) {
    auto w = classWindow(state);
    if (!w) return;
    w->entry->fillflexGrid();
    auto* button = w->entry->findChild<QPushButton*>("cmdSwitch");
    if (button == nullptr) {
        state.SkipWithError("no cmdSwitch");
        return;
    }
    Redraw redraw(w->grid->viewport());
    for (auto _ : state) {
        button->click();
        if (!redraw.wait()) {
            state.SkipWithError("the grid was not drawn again");
            break;
        }
    }
    // An odd number of clicks leaves the skills view: the comment columns hidden.
    const bool skills = state.iterations() % 2 == 1;
    if (w->grid->colWidth(tl::grid::kFirstComment) !=
            tl::grid::columnWidth(tl::grid::kFirstComment, skills) ||
        w->grid->colWidth(tl::grid::kFirstSkill) !=
            tl::grid::columnWidth(tl::grid::kFirstSkill, skills)) {
        state.SkipWithError("the view did not switch");
    }
}
BENCHMARK(BM_SwitchView)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Open Existing Class File with a class open (its save question answered No):
// the file read, the grid filled and drawn.
void BM_OpenClassWindow(benchmark::State& state) {
    auto w = classWindow(state);
    if (!w) return;
    w->entry->fillflexGrid();
    const std::string file = benchFile("open.tlc");
    std::vector<tl::StudentRecord> inFile;
    if (!tl::saveClass(file, benchSchool().cls).written() || tl::openClass(file, inFile)) {
        state.SkipWithError("the class file could not be written");
        return;
    }
    QAction* open = action(*w, "mnuOpenClass");
    Redraw redraw(w->grid->viewport());
    for (auto _ : state) {
        w->prompts.yesNoAnswers << false;
        w->prompts.fileAnswers << QString::fromStdString(file);
        open->trigger();
        if (!redraw.wait()) {
            state.SkipWithError("the grid was not drawn again");
            break;
        }
    }
    if (w->ws.students() != inFile || !gridShows(*w->grid, w->ws.students()) ||
        w->prompts.unexpected != 0 || !w->prompts.messages().isEmpty()) {
        state.SkipWithError("the class was not opened");
    }
    std::error_code ec;
    std::filesystem::remove(file, ec);
}
BENCHMARK(BM_OpenClassWindow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Save: the class sorted by name, the grid redrawn and the class file written.
void BM_SaveClassWindow(benchmark::State& state) {
    auto w = classWindow(state);
    if (!w) return;
    w->entry->fillflexGrid();
    const std::string file = benchFile("save.tlc");
    QAction* save = action(*w, "mnuSave");
    Redraw redraw(w->grid->viewport());
    for (auto _ : state) {
        w->prompts.fileAnswers << QString::fromStdString(file);
        save->trigger();
        if (!redraw.wait()) {
            state.SkipWithError("the grid was not drawn again");
            break;
        }
    }
    const auto saved = tl::readWholeFile(file);
    if (!saved || *saved != tl::classFileText(w->ws.students()) || !showsSorted(*w, nameBefore))
        state.SkipWithError("the class was not saved");
    std::error_code ec;
    std::filesystem::remove(file, ec);
}
BENCHMARK(BM_SaveClassWindow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Undo of a skill click (the click itself untimed), the row redrawn.
void BM_UndoSkillClick(benchmark::State& state) {
    auto w = classWindow(state);
    if (!w) return;
    constexpr int kRow = 251;
    constexpr int kIW = tl::grid::kFirstSkill + tl::kIW;
    w->entry->fillflexGrid();
    w->entry->findChild<QPushButton*>("cmdSwitch")->click();
    const auto before = w->ws.students()[kRow - 1].skills;
    QAction* undo = action(*w, "mnuUndo");
    bool clicked = true;
    Redraw redraw(w->grid->viewport());
    for (auto _ : state) {
        state.PauseTiming();
        clickCell(w->grid, kRow, kIW, Qt::LeftButton);
        clicked = clicked && w->ws.students()[kRow - 1].skills != before && undo->isEnabled();
        state.ResumeTiming();
        undo->trigger();
        if (!redraw.wait()) {
            state.SkipWithError("the grid was not drawn again");
            break;
        }
    }
    if (!clicked || w->ws.students()[kRow - 1].skills != before || undo->isEnabled() ||
        w->grid->textMatrix(kRow, kIW) !=
            tl::toQString(tl::gridRowTexts(w->ws.students()[kRow - 1], false)[kIW])) {
        state.SkipWithError("the undo did not give the skill back");
    }
}
BENCHMARK(BM_UndoSkillClick)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The main window's start with a full library and favourites file: the
// start-up window answered with Open Favourites, the 10000 phrases and the
// 1000 favourites read, the main window shown with its list and drawn; with
// the Canadian English dictionary as every teacher's machine has it, or none.
void startUp(benchmark::State& state, bool dictionary) {
    namespace fs = std::filesystem;
    const fs::path root = memoryFolder() / ("tl_ui_bench_start_" + std::to_string(::getpid()));
    std::error_code ec;
    tl::Workspace written;
    tl::Locations locations;
    if (!tl::bench::writeStartUpFiles(root, written, locations)) {
        state.SkipWithError("the library or the favourites file could not be written");
        fs::remove_all(root, ec);
        return;
    }
    if (dictionary) {
        locations.dictionaryFolder = "/usr/share/hunspell";
        if (!fs::exists("/usr/share/hunspell/en_CA.dic")) {
            state.SkipWithError("no en_CA dictionary in /usr/share/hunspell");
            fs::remove_all(root, ec);
            return;
        }
    }
    bool started = true;
    for (auto _ : state) {
        tl::Workspace ws;
        tl::ScriptedPrompts prompts;
        prompts.fileAnswers << QString::fromStdString(written.favouritesFile);
        auto entry = std::make_unique<tl::frmEntry>(ws, prompts, locations);
        openFavouritesOnStartUp();
        started = entry->Form_Load() && started;
        QApplication::processEvents();
        state.PauseTiming();
        const auto* list = entry->findChild<QListWidget*>("lstFavourites");
        started = started && entry->isVisible() && ws.phraseCount() == tl::kMaxPhrases &&
                  ws.favourites == written.favourites && list != nullptr &&
                  list->count() >= tl::kMaxFavourites && prompts.messages().isEmpty();
        entry.reset();
        state.ResumeTiming();
    }
    if (!started) state.SkipWithError("the main window did not start with the library and list");
    fs::remove_all(root, ec);
}

void BM_StartUp(benchmark::State& state) {
    startUp(state, false);
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_StartUpWithDictionary(benchmark::State& state) {
    startUp(state, true);
}
BENCHMARK(BM_StartUpWithDictionary)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_OpenExportWindow(benchmark::State& state) {
    const BenchSchool& data = benchSchool();
    if (!data.error.empty()) {
        state.SkipWithError(data.error.c_str());
        return;
    }
    auto school = exportSchool(data);
    if (!school) {
        state.SkipWithError("the school could not be written");
        return;
    }
    // The main window stays open behind the export window, hidden, as in the program.
    tl::frmEntry entry(school->ws, school->prompts, school->locations);
    entry.show();
    entry.hide();
    // The preview shows each student's rows below the header row.
    int previewRows = 1;
    for (const tl::StudentRecord& s : data.cls)
        previewRows += static_cast<int>(tl::previewRows(s, data.phrases).size());
    bool ready = true;
    for (auto _ : state) {
        state.PauseTiming();
        school->ws.doc.replaceClass(data.cls);
        state.ResumeTiming();
        auto window =
            std::make_unique<tl::frmExport>(school->ws, school->prompts, school->locations);
        window->Form_Load();
        QApplication::processEvents();
        state.PauseTiming();
        const auto* confirm = window->findChild<QCheckBox*>("chkConfirm");
        const auto* preview = window->findChild<tl::FlexGrid*>("msfgClass");
        const auto* report = window->findChild<QPlainTextEdit*>("picOut");
        ready = ready && confirm != nullptr && confirm->isVisible() && preview != nullptr &&
                preview->rows() == previewRows && report != nullptr &&
                report->toPlainText().isEmpty();
        window.reset();  // closing it belongs to leaving the window
        state.ResumeTiming();
    }
    if (!ready || !school->prompts.messages().isEmpty() ||
        school->ws.studentCount() != tl::kMaxStudents) {
        state.SkipWithError("the export window did not reach its preview");
    }
}
BENCHMARK(BM_OpenExportWindow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

struct SelectionDesk {
    tl::Workspace ws;
    tl::ScriptedPrompts prompts;
    tl::Locations locations;
};

std::unique_ptr<SelectionDesk> selectionDesk(benchmark::State& state) {
    auto desk = std::make_unique<SelectionDesk>();
    desk->ws.phrases = fullLibrary();
    if (desk->ws.phraseCount() != tl::kMaxPhrases) {
        state.SkipWithError("the phrase library was not built");
        return nullptr;
    }
    return desk;
}

// The Search button in the Comment Selection window, the result list drawn.
void searchBench(benchmark::State& state, const char* and1, int expectedRows) {
    auto desk = selectionDesk(state);
    if (!desk) return;
    auto* window = new tl::frmSelection(desk->ws, desk->prompts, desk->locations);
    window->Form_Load();
    window->findChild<QLineEdit*>("txtAnd1")->setText(and1);
    auto* search = window->findChild<QPushButton*>("cmdSearch");
    auto* results = window->findChild<QListView*>("lstComments");
    for (auto _ : state) {
        search->click();
        results->repaint();
    }
    const int rows = results->model()->rowCount();
    if ((expectedRows >= 0 && rows != expectedRows) || rows == 0)
        state.SkipWithError("the search did not list what it should");
    delete window;
}

void BM_SelectionSearchEveryPhrase(benchmark::State& state) {
    searchBench(state, "", tl::kMaxPhrases);
}
BENCHMARK(BM_SelectionSearchEveryPhrase)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SelectionSearchByWords(benchmark::State& state) {
    searchBench(state, "UNDERSTANDING OF", -1);
}
BENCHMARK(BM_SelectionSearchByWords)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Opening Comment Selection with a full favourites list of 1000 entries.
void BM_OpenSelectionWindow(benchmark::State& state) {
    auto desk = selectionDesk(state);
    if (!desk) return;
    for (int i = 0; i < tl::kMaxFavourites; ++i)
        desk->ws.favourites.push_back(
            i % 10 == 9 ? tl::kSeparatorEntry : desk->ws.phrases[static_cast<std::size_t>(i)].code);
    bool shown = true;
    for (auto _ : state) {
        auto* window = new tl::frmSelection(desk->ws, desk->prompts, desk->locations);
        window->Form_Load();
        QApplication::processEvents();
        shown = shown &&
                window->findChild<QListWidget*>("lstFavourites")->count() == tl::kMaxFavourites;
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
    if (!shown) state.SkipWithError("the favourites list was not shown");
}
BENCHMARK(BM_OpenSelectionWindow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Initial Values Setup with 99 ranges: one mark each from 0 to 97, then 98 to
// 100 at the top, which Split can halve into the 100th range.
struct AutoFillDesk {
    tl::Workspace ws;
    tl::ScriptedPrompts prompts;
    tl::Locations locations;
    tl::frmAutoFill* window = nullptr;
    tl::FlexGrid* grid = nullptr;
    ~AutoFillDesk() { delete window; }
    QPushButton* button(const char* name) const { return window->findChild<QPushButton*>(name); }
    void clickCell(int row, int col, Qt::MouseButton mouse = Qt::LeftButton) const {
        const QRect cell = grid->cellGeometry(row, col);
        QTest::mouseClick(grid->viewport(), mouse, {},
                          grid->viewport()->mapFrom(grid, cell.center()));
    }
};

std::unique_ptr<AutoFillDesk> autoFillDesk(benchmark::State& state, bool load = true) {
    auto desk = std::make_unique<AutoFillDesk>();
    desk->ws.phrases = fullLibrary();
    desk->ws.favourites = benchSchool().favourites;
    desk->ws.favouritesFile = "/nonexistent/bench.tlf";  // never written: the window is not left
    tl::InitialValueRange top{98, 100, {"", "", ""}, {"3", "3", "3", "3", "3", "3"}};
    std::vector<tl::InitialValueRange> ranges = {top};
    for (int mark = 97; mark >= 0; --mark) {
        tl::InitialValueRange one = top;
        one.lowMark = one.highMark = mark;
        ranges.push_back(one);
    }
    desk->ws.doc.replaceRanges(std::move(ranges));
    desk->window = new tl::frmAutoFill(desk->ws, desk->prompts, desk->locations);
    if (load) {
        desk->window->Form_Load();
        QApplication::processEvents();
    }
    desk->grid = desk->window->findChild<tl::FlexGrid*>("msfgClass");
    if (desk->grid == nullptr || (load && desk->grid->rows() != 100)) {
        state.SkipWithError("the ranges are not shown");
        return nullptr;
    }
    return desk;
}

// Opening the window: the favourites list, the grid of 99 ranges, range 1.
void BM_AutoFillOpen(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto desk = autoFillDesk(state, false);
        state.ResumeTiming();
        if (!desk) break;
        desk->window->Form_Load();
        QApplication::processEvents();
        if (desk->grid->rows() != 100) state.SkipWithError("the ranges are not shown");
        state.PauseTiming();
        desk.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AutoFillOpen)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Open Favourites in the window: the 99 ranges written, read back and the
// grid refilled from them.
void BM_AutoFillReopen(benchmark::State& state) {
    auto desk = autoFillDesk(state);
    if (!desk) return;
    const std::string file =
        (std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path()) /
        ("tl_ui_bench_ranges_" + std::to_string(::getpid()) + ".tlf");
    desk->ws.favouritesFile = file;
    QPushButton* reopen = desk->button("cmdOpenFavourites");
    for (auto _ : state) {
        desk->prompts.fileAnswers << QString::fromStdString(file);
        reopen->click();
        desk->grid->repaint();
    }
    if (desk->grid->rows() != 100 || !desk->prompts.messages().isEmpty())
        state.SkipWithError("the ranges did not come back");
    std::error_code ec;
    std::filesystem::remove(file, ec);
}
BENCHMARK(BM_AutoFillReopen)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A code stamped from the list into CM1 of the top range.
void BM_AutoFillStamp(benchmark::State& state) {
    auto desk = autoFillDesk(state);
    if (!desk) return;
    auto* list = desk->window->findChild<QListWidget*>("lstFavourites");
    int stamps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        list->setCurrentRow(stamps++ % 2);  // another code each time
        state.ResumeTiming();
        desk->clickCell(1, 2);
        QApplication::processEvents();
    }
    if (desk->ws.doc.ranges()[0].codes[0] != desk->ws.favourites[(stamps - 1) % 2])
        state.SkipWithError("the code was not stamped");
}
BENCHMARK(BM_AutoFillStamp)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A skill click, and its Undo.
void BM_AutoFillSkillAndUndo(benchmark::State& state) {
    auto desk = autoFillDesk(state);
    if (!desk) return;
    QPushButton* undo = desk->button("cmdUndo");
    for (auto _ : state) {
        desk->clickCell(1, 5);
        undo->click();
        QApplication::processEvents();
    }
    if (desk->ws.doc.ranges()[0].skills[0] != "3" || undo->isEnabled())
        state.SkipWithError("the skill was not given back");
}
BENCHMARK(BM_AutoFillSkillAndUndo)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Split of the top range into the 100th, the grid redrawn (Delete, untimed,
// merges it back).
void BM_AutoFillSplit(benchmark::State& state) {
    auto desk = autoFillDesk(state);
    if (!desk) return;
    QPushButton* split = desk->button("cmdSplit");
    QPushButton* merge = desk->button("cmdDelete");
    desk->grid->setCurrentCell(1, 2);
    bool split100 = true;
    for (auto _ : state) {
        split->click();
        desk->grid->repaint();  // the frame drawn at once, not when the platform next asks
        state.PauseTiming();
        split100 = split100 && desk->ws.rangeCount() == 100;
        desk->grid->setCurrentCell(1, 2);
        merge->click();
        desk->grid->setCurrentCell(1, 2);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    if (!split100 || desk->ws.rangeCount() != 99) state.SkipWithError("the split did not happen");
}
BENCHMARK(BM_AutoFillSplit)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    tl::useQtEventLoop();
    QApplication app(argc, argv);
    tl::installFontSubstitutes();
    tl::installProgramStyle();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include "entry/frm_free_form_comment_entry.h"

namespace {

// The spelling check of a full free-form comment (460 characters, a student's
// name and a few misspelt words) with the Canadian English dictionary, the
// class's names and the demo library: what one keystroke waits for at most.
void BM_FreeFormSpellingCheck(benchmark::State& state) {
    const BenchSchool& b = benchSchool();
    if (!b.error.empty()) {
        state.SkipWithError(b.error.c_str());
        return;
    }
    tl::Workspace ws;
    ws.doc.replaceClass(b.cls);
    ws.phrases = b.phrases;
    tl::ScriptedPrompts prompts;
    QTemporaryDir words;
    tl::SpellingFolders folders = tl::SpellingFolders::forRunningProgram();
    folders.wordList = words.path();
    QElapsedTimer opening;
    opening.start();
    tl::frmFreeFormCommentEntry dialog(ws, prompts, nullptr, folders);
    state.counters["open_ms"] = static_cast<double>(opening.nsecsElapsed()) / 1e6;
    auto* box = dialog.findChild<QPlainTextEdit*>("txtComment");
    auto* highlighter = box->document()->findChild<tl::SpellingHighlighter*>();
    if (highlighter == nullptr) {
        state.SkipWithError("no en_CA dictionary in the Hunspell folder");
        return;
    }
    const QString name = tl::toQString(b.cls.front().firstName);
    QString comment;
    while (comment.size() < tl::kCommentLimit)
        comment += name +
                   " has worked steadily this term and shows a growing confidence with "
                   "quadratic relations. Her homwork is thorough, her questions are "
                   "thoughtfull, and she explains her reasoning clearly to the grop. ";
    comment.truncate(tl::kCommentLimit);
    dialog.show();
    dialog.setComment(comment);
    for (auto _ : state)
        highlighter->rehighlight();
    int misspelt = 0;
    for (const QTextLayout::FormatRange& r : box->document()->firstBlock().layout()->formats())
        misspelt += r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline;
    state.counters["misspelt"] = misspelt;
    if (misspelt == 0 || box->toPlainText().size() != tl::kCommentLimit)
        state.SkipWithError("the comment was not checked whole");
}
BENCHMARK(BM_FreeFormSpellingCheck)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Markbooks of the class ----------------------------------------------------

// The class's markbook as a spreadsheet program writes it: a heading row, the
// student number, "Last, First", two term marks and the final mark as a
// percentage, which differs from every student's mark in the class.
std::vector<std::array<QString, 5>> markbookRows(const std::vector<tl::StudentRecord>& cls) {
    std::vector<std::array<QString, 5>> rows;
    std::set<std::string> numbers;
    for (const tl::StudentRecord& s : cls) {
        // A student in two of the class's sections is one row of the markbook.
        if (!numbers.insert(s.studentNumber).second) continue;
        const int mark = (static_cast<int>(tl::leadingNumber(s.mark)) + 1) % 100;
        rows.push_back({QString::fromStdString(s.studentNumber),
                        tl::toQString(s.lastName + ", " + s.firstName), QString::number(mark),
                        QString::number(100 - mark), QString::number(mark / 100.0, 'f', 3)});
    }
    return rows;
}

QString xmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

bool zipParts(const QString& path, const std::vector<std::pair<QString, QByteArray>>& parts) {
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate)) return false;
    for (const auto& [name, bytes] : parts) {
        QuaZipFile part(&zip);
        if (!part.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) ||
            part.write(bytes) != bytes.size())
            return false;
        part.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

bool writeXlsx(const QString& path, const std::vector<std::array<QString, 5>>& rows) {
    QString strings, sheet;
    auto shared = [&strings, n = 0](const QString& text) mutable {
        strings += "<si><t>" + xmlEscaped(text) + "</t></si>";
        return QString::number(n++);
    };
    sheet += "<row r=\"1\">";
    const char* const headings[] = {"Student Number", "Name", "Term 1", "Term 2", "Final"};
    for (int c = 0; c < 5; ++c)
        sheet += QString("<c r=\"%1\" t=\"s\"><v>%2</v></c>")
                     .arg(QChar('A' + c))
                     .arg(shared(headings[c]));
    sheet += "</row>";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& row = rows[r];
        const QString n = QString::number(r + 2);
        sheet += "<row r=\"" + n + "\"><c r=\"A" + n + "\"><v>" + row[0] + "</v></c><c r=\"B" + n +
                 "\" t=\"s\"><v>" + shared(row[1]) + "</v></c><c r=\"C" + n + "\"><v>" + row[2] +
                 "</v></c><c r=\"D" + n + "\"><v>" + row[3] + "</v></c><c r=\"E" + n +
                 "\" s=\"1\"><v>" + row[4] + "</v></c></row>";
    }
    const QString main = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    return zipParts(
        path,
        {{"xl/workbook.xml", ("<workbook " + main +
                              "><sheets><sheet name=\"Marks\" sheetId=\"1\"/>"
                              "</sheets></workbook>")
                                 .toUtf8()},
         {"xl/sharedStrings.xml", ("<sst " + main + ">" + strings + "</sst>").toUtf8()},
         {"xl/styles.xml",
          ("<styleSheet " + main +
           "><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"10\"/></cellXfs></styleSheet>")
              .toUtf8()},
         {"xl/worksheets/sheet1.xml",
          ("<worksheet " + main + "><sheetData>" + sheet + "</sheetData></worksheet>").toUtf8()}});
}

bool writeOds(const QString& path, const std::vector<std::array<QString, 5>>& rows) {
    const auto text = [](const QString& t) {
        return "<table:table-cell office:value-type=\"string\"><text:p>" + xmlEscaped(t) +
               "</text:p></table:table-cell>";
    };
    const auto number = [](const QString& type, const QString& v) {
        return "<table:table-cell office:value-type=\"" + type + "\" office:value=\"" + v +
               "\"><text:p>" + v + "</text:p></table:table-cell>";
    };
    QString table = "<table:table-row>" + text("Student Number") + text("Name") + text("Term 1") +
                    text("Term 2") + text("Final") + "</table:table-row>";
    for (const auto& row : rows) {
        table += "<table:table-row>" + number("float", row[0]) + text(row[1]) +
                 number("float", row[2]) + number("float", row[3]) + number("percentage", row[4]) +
                 "</table:table-row>";
    }
    const QString content =
        "<office:document-content "
        "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body>"
        "<office:spreadsheet><table:table table:name=\"Marks\">" +
        table + "</table:table></office:spreadsheet></office:body></office:document-content>";
    return zipParts(path, {{"content.xml", content.toUtf8()}});
}

// The class's markbooks, made once: markbook.xlsx and markbook.ods.
const std::filesystem::path& markbookFolder() {
    static const std::filesystem::path folder = [] {
        const auto dir = memoryFolder() / ("tl_markbooks_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        const auto rows = markbookRows(benchSchool().cls);
        const QString at = QString::fromStdString(dir.string());
        if (!writeXlsx(at + "/markbook.xlsx", rows) || !writeOds(at + "/markbook.ods", rows))
            return std::filesystem::path();
        return dir;
    }();
    return folder;
}

struct MarkbookFolderRemover {
    ~MarkbookFolderRemover() {
        std::error_code ec;
        if (!markbookFolder().empty()) std::filesystem::remove_all(markbookFolder(), ec);
    }
};

// A 501-row markbook read and matched with the class: the preview's lines.
void BM_ImportMarksRead(benchmark::State& state) {
    static MarkbookFolderRemover remover;
    const BenchSchool& data = benchSchool();
    const char* name = state.range(0) == 0 ? "markbook.xlsx" : "markbook.ods";
    state.SetLabel(name);
    const QString path = QString::fromStdString((markbookFolder() / name).string());
    std::size_t changes = 0;
    for (auto _ : state) {
        const tl::MarkbookRead read = tl::readMarkbookFile(path);
        const tl::MarkbookColumns columns = tl::presetColumns(read.sheet, data.cls);
        const auto lines = tl::previewImport(read.sheet, columns, data.cls);
        changes = tl::marksToImport(lines, {}).size();
        benchmark::DoNotOptimize(lines.data());
    }
    if (changes != data.cls.size()) state.SkipWithError("the markbook's marks were not all read");
}
BENCHMARK(BM_ImportMarksRead)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Presses Import once the window is up, and times from there.
void pressImportWhenShown(benchmark::State& state) {
    QTimer::singleShot(0, [&state] {
        auto* window = qobject_cast<tl::frmImportMarks*>(QApplication::activeModalWidget());
        if (window == nullptr) return pressImportWhenShown(state);
        state.ResumeTiming();
        window->findChild<QPushButton*>("cmdImport")->click();
    });
}

// Import pressed on the preview of 501 changes: every mark set with the auto
// fill (the class's comments and skills vacant, so that it fills them all),
// the grid redrawn. Undo puts the class back between the imports, untimed.
void BM_ImportMarksApply(benchmark::State& state) {
    static MarkbookFolderRemover remover;
    auto w = classWindow(state);
    if (!w) return;
    std::vector<tl::StudentRecord> vacant = benchSchool().cls;
    for (tl::StudentRecord& s : vacant) {
        s.comments.fill("");
        s.skills.fill("3");
    }
    w->ws.doc.replaceClass(vacant);
    w->ws.doc.replaceRanges({{50, 100, {"0001", "0002", "0003"}, {"4", "4", "4", "4", "4", "4"}},
                             {0, 49, {"0004", "0005", "0006"}, {"2", "2", "2", "2", "2", "2"}}});
    w->entry->fillflexGrid();
    w->entry->findChild<QCheckBox*>("optAutoFill")->setChecked(true);
    w->entry->findChild<QAction*>("mnuImportMarks")->setEnabled(true);
    const QString path = QString::fromStdString((markbookFolder() / "markbook.xlsx").string());
    QAction* importMarks = action(*w, "mnuImportMarks");
    QAction* undo = action(*w, "mnuUndo");
    Redraw redraw(w->grid->viewport());
    bool imported = true;
    for (auto _ : state) {
        state.PauseTiming();
        w->prompts.fileAnswers << path;
        pressImportWhenShown(state);
        importMarks->trigger();
        imported = redraw.wait() && imported;
        state.PauseTiming();
        imported = imported && w->ws.students()[0].comments[0] != "" && undo->isEnabled();
        undo->trigger();
        redraw.wait();
        state.ResumeTiming();
    }
    if (!imported || w->ws.students() != vacant || !w->prompts.messages().isEmpty())
        state.SkipWithError("the marks were not imported, drawn and undone");
}
BENCHMARK(BM_ImportMarksApply)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
