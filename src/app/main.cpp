// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <cstring>
#include <iostream>

#include "core/file_io.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/pronouns.h"
#include "core/workspace.h"
#include "entry/frm_entry.h"
#include "platform/encoding.h"
#include "platform/fonts.h"
#include "platform/locations.h"
#include "platform/program_style.h"
#include "platform/prompts.h"
#include "platform/spelling.h"

namespace {

// tallyleaf --check-library [FILE]: the phrases of the library (the program
// folder's, or FILE) whose they-forms need a look, without a window.
int checkLibrary(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 3) {
        std::cerr << "Usage: tallyleaf --check-library [FILE]\n";
        return 2;
    }
    const tl::Locations locations = tl::Locations::forRunningProgram();
    const QString path =
        args.size() == 3 ? args[2] : QDir(locations.programFolder).filePath(tl::kPhraseLibraryName);
    std::vector<tl::Phrase> phrases;
    const tl::LibraryLoad load = tl::loadPhraseLibraryFile(tl::toPath(path), phrases);
    if (load.status != tl::LibraryStatus::Loaded) {
        // A library that is no plain file cannot be read either.
        const tl::Notice notice = load.status == tl::LibraryStatus::Fatal && load.notice
                                      ? *load.notice
                                      : tl::msg::tl2PhraseLibraryMissing();
        std::cerr << tl::toQString(notice.text).replace("\r\n", "\n").toStdString() << '\n';
        return 1;
    }
    const std::string report =
        tl::theyCheckReport(phrases, tl::dictionaryWords(locations.dictionaryFolder));
    std::cout << tl::toQString(report).toStdString() << std::flush;
    return std::cout ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc > 1 && std::strcmp(argv[1], "--check-library") == 0) return checkLibrary(argc, argv);
    // Under a file-size limit a save fails and is reported; the program goes on.
    tl::ignoreFileSizeSignal();
    tl::useQtEventLoop();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tallyleaf");
    tl::installFontSubstitutes();
    tl::installProgramStyle();

    tl::Workspace ws;
    tl::QtPrompts prompts;
    const tl::Locations locations = tl::Locations::forRunningProgram();
    tl::frmEntry entry(ws, prompts, locations);
    if (!entry.Form_Load()) return 1;
    return QApplication::exec();
}
