#include <QApplication>

#include "core/file_io.h"
#include "core/workspace.h"
#include "entry/frm_entry.h"
#include "platform/fonts.h"
#include "platform/locations.h"
#include "platform/prompts.h"

int main(int argc, char* argv[]) {
    // Under a file-size limit a save fails and is reported; the program goes on.
    tl::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tallyleaf");
    tl::installFontSubstitutes();

    tl::Workspace ws;
    tl::QtPrompts prompts;
    const tl::Locations locations = tl::Locations::forRunningProgram();
    tl::frmEntry entry(ws, prompts, locations);
    if (!entry.Form_Load()) return 1;
    return QApplication::exec();
}
