// SPDX-License-Identifier: GPL-3.0-or-later

// tl_instructions SCENARIO: one scenario of the instruction-count gate
// (scripts/instructions.sh), run once. The set-up runs before the measured
// region; the scenario itself, up to its window drawn, runs between
// CALLGRIND_START_INSTRUMENTATION and CALLGRIND_STOP_INSTRUMENTATION, so that
// `valgrind --tool=callgrind --instr-atstart=no` counts its instructions alone.
// Outside valgrind the macros do nothing and the scenario simply runs.
// Exit status 0 when the scenario did what it should, 1 (with the reason on
// standard error) when not, 2 for an unknown scenario.
//
// Each scenario is deterministic: fixed seeds, Qt's hash seed fixed, no
// blinking cursor, and no timer that would fire sooner or later depending on
// how fast the machine runs.
#include <valgrind/callgrind.h>

#include <unistd.h>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHashSeed>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench_school.h"
#include "core/limits.h"
#include "core/pronouns.h"
#include "entry/frm_entry.h"
#include "entry/frm_splash.h"
#include "entry/grid_columns.h"
#include "export/efile.h"
#include "export/frm_export.h"
#include "platform/flex_grid.h"
#include "platform/fonts.h"
#include "platform/program_style.h"
#include "platform/spelling.h"
#include "ready/frm_ready.h"
#include "selection/frm_selection.h"

namespace {

namespace fs = std::filesystem;
using tl::bench::benchSchool;

// The measured region. Started at most once, so that a scenario that starts
// it from a signal cannot count twice.
class Measured {
  public:
    static void start() {
        if (started_) return;
        started_ = true;
        CALLGRIND_START_INSTRUMENTATION;
    }
    static void stop() {
        CALLGRIND_STOP_INSTRUMENTATION;
        stopped_ = started_;
    }
    static bool done() { return stopped_; }

  private:
    static inline bool started_ = false;
    static inline bool stopped_ = false;
};

// Counts the paint events a widget receives.
class PaintWatch : public QObject {
  public:
    explicit PaintWatch(QWidget* widget) : widget_(widget) { widget->installEventFilter(this); }
    ~PaintWatch() override {
        if (widget_) widget_->removeEventFilter(this);
    }
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }

  private:
    QPointer<QWidget> widget_;
};

// Runs the event loop until every watched widget has been painted (at most a
// few rounds: the first normally paints everything); false when one was not.
bool runUntilDrawn(std::initializer_list<const PaintWatch*> watches) {
    const auto drawn = [&watches] {
        for (const PaintWatch* w : watches)
            if (w->paints == 0) return false;
        return true;
    };
    for (int round = 0; round < 10; ++round) {
        QApplication::processEvents();
        if (drawn()) return true;
    }
    return false;
}

// Gives a window the keyboard, as a click on it would (outside the measured region).
bool activate(QWidget* window) {
    for (int i = 0; i < 100 && QApplication::activeWindow() != window; ++i) {
        window->activateWindow();
        QApplication::processEvents();
    }
    return QApplication::activeWindow() == window;
}

using Scenario = std::function<std::string()>;  // "" when it did what it should

std::unique_ptr<tl::bench::Window> classWindow(std::string& error) {
    auto w = tl::bench::openClassWindow(benchSchool(), error);
    if (w) QApplication::processEvents();  // the empty window drawn before
    return w;
}

// (1) The main grid filled for the 501-student class and drawn.
std::string fillGrid() {
    std::string error;
    auto w = classWindow(error);
    if (!w) return error;
    PaintWatch painted(w->grid->viewport());
    Measured::start();
    w->entry->fillflexGrid();
    const bool drawn = runUntilDrawn({&painted});
    Measured::stop();
    if (!drawn) return "the grid was not drawn";
    if (w->grid->rows() != tl::kMaxStudents + 1 ||
        w->grid->textMatrix(tl::kMaxStudents, tl::grid::kMark) !=
            QString::fromStdString(w->ws.students().back().mark) ||
        !w->prompts.messages().isEmpty()) {
        return "the grid does not show the class";
    }
    return {};
}

// (2) The eFile window opened on the class and drawn, the main window hidden
// behind it as in the program.
std::string exportWindow() {
    const tl::bench::BenchSchool& data = benchSchool();
    if (!data.error.empty()) return data.error;
    auto school = tl::bench::exportSchool(data);
    if (!school) return "the school could not be written";
    tl::frmEntry entry(school->ws, school->prompts, school->locations);
    entry.show();
    entry.hide();
    school->ws.doc.replaceClass(data.cls);
    QApplication::processEvents();
    int previewRows = 1;
    for (const tl::StudentRecord& s : data.cls)
        previewRows += static_cast<int>(tl::previewRows(s, data.phrases).size());

    Measured::start();
    auto window = std::make_unique<tl::frmExport>(school->ws, school->prompts, school->locations);
    auto* preview = window->findChild<tl::FlexGrid*>("msfgClass");
    if (preview == nullptr) return "no msfgClass in the export window";
    PaintWatch painted(preview->viewport());
    window->Form_Load();
    const bool drawn = runUntilDrawn({&painted});
    Measured::stop();
    if (!drawn) return "the preview was not drawn";
    const auto* confirm = window->findChild<QWidget*>("chkConfirm");
    if (confirm == nullptr || !confirm->isVisible() || preview->rows() != previewRows ||
        !school->prompts.messages().isEmpty()) {
        return "the export window did not reach its preview";
    }
    return {};
}

// (3) Comment Selection opened with 1000 favourites and drawn.
std::string selectionWindow() {
    tl::Workspace ws;
    tl::ScriptedPrompts prompts;
    tl::Locations locations;
    ws.phrases = tl::bench::fullLibrary();
    ws.favourites = tl::bench::fullFavourites(ws.phrases);
    if (ws.phraseCount() != tl::kMaxPhrases || ws.favouriteCount() != tl::kMaxFavourites)
        return "the phrase library or the favourites were not built";

    Measured::start();
    auto window = std::make_unique<tl::frmSelection>(ws, prompts, locations);
    auto* list = window->findChild<QListWidget*>("lstFavourites");
    if (list == nullptr) return "no lstFavourites in Comment Selection";
    PaintWatch painted(list->viewport());
    window->Form_Load();
    const bool drawn = runUntilDrawn({&painted});
    Measured::stop();
    if (!drawn) return "the favourites list was not drawn";
    if (list->count() != tl::kMaxFavourites || !prompts.messages().isEmpty())
        return "the favourites list was not shown";
    return {};
}

// The program folder with the 10000-phrase library and the favourites file,
// removed at the end.
struct StartUpFolder {
    fs::path root = tl::bench::memoryFolder() / ("tl_instructions_" + std::to_string(::getpid()));
    tl::Workspace written;
    tl::Locations locations;
    bool ok = tl::bench::writeStartUpFiles(root, written, locations);
    ~StartUpFolder() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

// (4) The phrase library of 10000 phrases loaded.
std::string phraseLibrary() {
    StartUpFolder folder;
    if (!folder.ok) return "the phrase library could not be written";
    const std::string programFolder = folder.locations.programFolderPath();
    std::vector<tl::Phrase> phrases;

    Measured::start();
    const tl::LibraryLoad load = tl::loadPhraseLibrary(programFolder, phrases);
    Measured::stop();
    if (load.status != tl::LibraryStatus::Loaded || phrases.size() != tl::kMaxPhrases)
        return "the phrase library did not load";
    return {};
}

// (5) Start-up as the program opens it, with the Canadian English dictionary
// installed: the start-up window answered with Open Favourites (not
// counted); from its closing the 10000 phrases read, the 1000 favourites
// read and the main window shown and drawn.
std::string startUp() {
    StartUpFolder folder;
    if (!folder.ok) return "the library or the favourites file could not be written";
    tl::Locations locations = folder.locations;
    locations.dictionaryFolder = tl::Locations::forRunningProgram().dictionaryFolder;
    for (const char* file : {"en_CA.aff", "en_CA.dic"})
        if (!QFileInfo(QDir(locations.dictionaryFolder).filePath(file)).isFile())
            return "no " + std::string(file) + " in " + locations.dictionaryFolder.toStdString() +
                   " (Debian's hunspell-en-ca, installed by scripts/deps.sh)";
    tl::Workspace ws;
    tl::ScriptedPrompts prompts;
    prompts.fileAnswers << QString::fromStdString(folder.written.favouritesFile);
    tl::frmEntry entry(ws, prompts, locations);
    auto* list = entry.findChild<QListWidget*>("lstFavourites");
    if (list == nullptr) return "no lstFavourites";
    PaintWatch painted(list->viewport());
    bool splashShown = false;
    tl::bench::openFavouritesOnStartUp([&splashShown](tl::frmSplash& splash) {
        splashShown = true;
        QObject::connect(&splash, &QObject::destroyed, [] { Measured::start(); });
    });

    const bool loaded = entry.Form_Load();
    const bool drawn = runUntilDrawn({&painted});
    Measured::stop();
    if (!splashShown) return "the start-up window was not shown";
    if (!loaded) return "the main window did not start";
    if (!drawn) return "the main window was not drawn";
    // No they-form is made before a they-student needs one; then it is the
    // dictionary's.
    for (const tl::Phrase& phrase : ws.phrases)
        if (phrase.theyText) return "phrase " + phrase.code + " had its they-form made at start";
    std::vector<tl::Phrase> expected(ws.phrases.begin(), ws.phrases.begin() + 20);
    tl::useDictionary(expected, tl::dictionaryWords(locations.dictionaryFolder));
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (tl::theyForm(ws.phrases[i]) != tl::theyForm(expected[i]))
            return "phrase " + expected[i].code + " has not the dictionary's they-form";
    if (!entry.isVisible() || ws.phraseCount() != tl::kMaxPhrases ||
        ws.favourites != folder.written.favourites || list->count() < tl::kMaxFavourites ||
        !prompts.messages().isEmpty()) {
        return "the main window did not start with the library and the list";
    }
    return {};
}

// (6) A mark typed into the MRK cell and Enter, with Ready for the Office
// open beside the main window, until both are drawn.
std::string markWithReady() {
    std::string error;
    auto w = classWindow(error);
    if (!w) return error;
    // The student has no mark yet: the list names it, and the typed mark takes
    // the line away.
    constexpr int kRow = 251;
    std::vector<tl::StudentRecord> students = w->ws.students();
    students[kRow - 1].mark.clear();
    w->ws.doc.replaceClass(std::move(students));
    w->entry->fillflexGrid();
    auto* menuReady = w->entry->findChild<QAction*>("mnuReady");
    if (menuReady == nullptr) return "no mnuReady";
    menuReady->trigger();
    auto* ready = w->entry->findChild<tl::frmReady*>("frmReady");
    auto* problems = ready == nullptr ? nullptr : ready->findChild<QListWidget*>("lstProblems");
    if (problems == nullptr) return "Ready for the Office did not open with its list";
    QApplication::processEvents();
    if (!activate(w->entry.get())) return "the main window did not take the keyboard";
    w->grid->setCurrentCell(kRow, tl::grid::kMark);
    w->grid->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    if (QApplication::focusWidget() != w->grid) return "the grid does not have the keyboard";
    const std::string mark = "73";
    const int problemsBefore = problems->count();
    PaintWatch gridPainted(w->grid->viewport());
    PaintWatch listPainted(problems->viewport());

    Measured::start();
    for (const char ch : mark)
        QTest::keyClick(QApplication::focusWidget(), ch);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    const bool drawn = runUntilDrawn({&gridPainted, &listPainted});
    Measured::stop();
    if (!drawn)
        return "the grid and the list were not drawn (" + std::to_string(gridPainted.paints) +
               " and " + std::to_string(listPainted.paints) + " paints)";
    tl::frmReady fresh(w->ws);
    const auto* freshList = fresh.findChild<QListWidget*>("lstProblems");
    bool sameList = freshList->count() == problems->count();
    for (int i = 0; sameList && i < problems->count(); ++i)
        sameList = freshList->item(i)->text() == problems->item(i)->text();
    if (w->ws.students()[kRow - 1].mark != mark || w->grid->row() != kRow + 1 ||
        w->grid->textMatrix(kRow, tl::grid::kMark) != QString::fromStdString(mark) ||
        !ready->isVisible() || !sameList || problems->count() != problemsBefore - 1 ||
        !w->prompts.messages().isEmpty()) {
        return "the mark was not stored, shown and followed by the list";
    }
    return {};
}

// In the order of the gate's table.
const std::vector<std::pair<std::string, Scenario>>& scenarios() {
    static const std::vector<std::pair<std::string, Scenario>> all = {
        {"fill_grid", fillGrid},
        {"export_window", exportWindow},
        {"selection_window", selectionWindow},
        {"phrase_library", phraseLibrary},
        {"start_up", startUp},
        {"mark_with_ready", markWithReady},
    };
    return all;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const auto& [name, run] : scenarios())
            std::cout << name << '\n';
        return 0;
    }
    const auto found =
        argc != 2
            ? scenarios().end()
            : std::find_if(scenarios().begin(), scenarios().end(),
                           [argv](const auto& scenario) { return scenario.first == argv[1]; });
    if (found == scenarios().end()) {
        std::cerr << "Usage: tl_instructions --list | SCENARIO\n";
        return 2;
    }
    // The same hashing in every run: a QHash's collisions do not vary.
    QHashSeed::setDeterministicGlobalSeed();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    tl::useQtEventLoop();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tallyleaf");
    tl::installFontSubstitutes();
    tl::installProgramStyle();
    // No blinking cursor: its timer would paint as often as the run is slow.
    QApplication::setCursorFlashTime(0);
    // The font database, the style and the image format plugins made ready, as
    // a program with a window open has them: how much fontconfig's start-up
    // and the plugins' loading take depends on the machine, not on Tallyleaf.
    QImageReader::supportedImageFormats();
    {
        QLabel warmUp("Tallyleaf");
        warmUp.grab();
    }
    const std::string error = found->second();
    if (!Measured::done()) {
        std::cerr << found->first << ": the measured region was not reached\n";
        return 1;
    }
    if (!error.empty()) {
        std::cerr << found->first << ": " << error << '\n';
        return 1;
    }
    return 0;
}
