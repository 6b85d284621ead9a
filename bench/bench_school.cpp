// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench_school.h"

#include <unistd.h>
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <system_error>
#include <utility>

#include "core/favourites_file.h"
#include "core/file_io.h"
#include "core/limits.h"
#include "core/sorting.h"
#include "entry/frm_entry.h"
#include "entry/frm_splash.h"
#include "platform/flex_grid.h"

namespace tl::bench {

const std::vector<tl::Phrase>& fullLibrary() {
    static const std::vector<tl::Phrase> phrases = [] {
        std::vector<tl::Phrase> demo;
        tl::loadPhraseLibrary(TL_DEMO_DIR, demo);
        std::vector<tl::Phrase> all;
        for (int i = 0; !demo.empty() && i < tl::kMaxPhrases; ++i) {
            tl::Phrase p = demo[static_cast<std::size_t>(i) % demo.size()];
            p.code = std::to_string(10000 + i).substr(1);
            p.text += " (" + std::to_string(i) + ")";
            all.push_back(std::move(p));
        }
        return all;
    }();
    return phrases;
}

std::vector<std::string> fullFavourites(const std::vector<tl::Phrase>& phrases) {
    std::vector<std::string> favourites;
    for (int i = 0; i < tl::kMaxFavourites && i < static_cast<int>(phrases.size()); ++i)
        favourites.push_back(i % 10 == 9 ? tl::kSeparatorEntry
                                         : phrases[static_cast<std::size_t>(i)].code);
    return favourites;
}

const BenchSchool& benchSchool() {
    static const BenchSchool data = [] {
        BenchSchool b;
        if (tl::loadPhraseLibrary(TL_DEMO_DIR, b.phrases).status != tl::LibraryStatus::Loaded) {
            b.error = "the demo phrase library did not load";
            return b;
        }
        const tl::demo::CommentBands bands = tl::demo::demoLibraryBands();
        for (const auto* band : {&bands.high, &bands.middle, &bands.low})
            for (const std::string& code : *band)
                if (tl::findPhrase(b.phrases, code) < 0) b.error = "no phrase " + code;
        tl::demo::SchoolPlan plan;
        plan.seed = 5150;
        plan.studentsPerGrade = 1250;
        plan.fixedCourse = tl::demo::FixedCourse{
            .course = "MPM2D1", .sections = 3, .records = tl::kMaxStudents, .doubleEnrolments = 1};
        b.school = tl::demo::makeSchool(plan);
        auto cls = tl::demo::classOfSections(b.school, b.school.fixedSections());
        if (!cls || cls->size() != static_cast<std::size_t>(tl::kMaxStudents)) {
            b.error = "the class does not have 501 students";
            return b;
        }
        tl::demo::Random rnd(5151);
        tl::demo::EntryPlan entries;
        entries.comments = bands;
        entries.minComments = 2;
        entries.maxComments = 3;
        entries.flagPercent = 10;
        tl::demo::fillEntries(rnd, *cls, entries);
        tl::sortByName(*cls);
        b.cls = std::move(*cls);
        b.phrases = fullLibrary();
        b.favourites = fullFavourites(b.phrases);
        return b;
    }();
    return data;
}

std::filesystem::path memoryFolder() {
    std::error_code ec;
    return std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                         : std::filesystem::temp_directory_path();
}

Window::~Window() = default;

std::unique_ptr<Window> openClassWindow(const BenchSchool& data, std::string& error) {
    if (!data.error.empty()) {
        error = data.error;
        return nullptr;
    }
    auto w = std::make_unique<Window>();
    w->ws.phrases = data.phrases;
    w->ws.favourites = data.favourites;
    w->ws.doc.replaceClass(data.cls);
    w->entry = std::make_unique<tl::frmEntry>(w->ws, w->prompts, w->locations);
    w->entry->show();
    w->grid = w->entry->findChild<tl::FlexGrid*>("msfgClass");
    if (w->grid == nullptr) {
        error = "no msfgClass";
        return nullptr;
    }
    return w;
}

ExportSchool::~ExportSchool() {
    std::error_code ec;
    if (!root.empty()) std::filesystem::remove_all(root, ec);
}

std::unique_ptr<ExportSchool> exportSchool(const BenchSchool& data) {
    namespace fs = std::filesystem;
    auto s = std::make_unique<ExportSchool>();
    std::error_code ec;
    s->root = memoryFolder() / ("tl_ui_bench_" + std::to_string(::getpid()));
    fs::create_directories(s->root / "Tallyleaf", ec);
    fs::create_directories(s->root / tl::kDataFolderName, ec);
    s->locations = tl::Locations{QString::fromStdString((s->root / "Tallyleaf").string()),
                                 QString::fromStdString(s->root.string())};
    if (!tl::writeFileAtomically((s->root / tl::kDataFolderName / tl::kMasterFileName).string(),
                                 data.school.enrolmentText())) {
        return nullptr;
    }
    s->ws.phrases = data.phrases;
    return s;
}

bool writeStartUpFiles(const std::filesystem::path& root, tl::Workspace& written,
                       tl::Locations& locations) {
    std::error_code ec;
    std::filesystem::create_directories(root / "Tallyleaf", ec);
    std::vector<tl::Phrase> demo;
    tl::loadPhraseLibrary(TL_DEMO_DIR, demo);
    std::string library = "Code,Comment,Category\r\n";
    for (int i = 0; !demo.empty() && i < tl::kMaxPhrases; ++i) {
        const tl::Phrase& p = demo[static_cast<std::size_t>(i) % demo.size()];
        const std::string code = std::to_string(10000 + i).substr(1);
        library += code + "," + p.text + "," + p.category + "\r\n";
        if (i < tl::kMaxFavourites)
            written.favourites.push_back(i % 10 == 9 ? tl::kSeparatorEntry : code);
    }
    written.favouritesFile = (root / "full.tlf").string();
    locations.programFolder = QString::fromStdString((root / "Tallyleaf").string());
    locations.homeFolder = QString::fromStdString(root.string());
    return tl::writeFileAtomically((root / "Tallyleaf" / tl::kPhraseLibraryName).string(),
                                   library) &&
           tl::writeFavouritesFile(written).written();
}

void openFavouritesOnStartUp(std::function<void(tl::frmSplash&)> beforeClick) {
    QTimer::singleShot(0, [beforeClick = std::move(beforeClick)]() mutable {
        auto* splash = qobject_cast<tl::frmSplash*>(QApplication::activeModalWidget());
        if (splash == nullptr) {
            openFavouritesOnStartUp(std::move(beforeClick));
            return;
        }
        if (beforeClick) beforeClick(*splash);
        splash->findChild<QPushButton*>("cmdOpenFavourites")->click();
    });
}

}  // namespace tl::bench
