// SPDX-License-Identifier: GPL-3.0-or-later

#include "favourites/favourites_commands.h"

#include "core/favourites_file.h"
#include "core/workspace.h"
#include "platform/encoding.h"
#include "platform/locations.h"
#include "platform/prompts.h"

namespace tl {

FavouritesFileCommands::FavouritesFileCommands(Workspace& ws, Prompts& prompts,
                                               const Locations& locations, FavouritesStart start,
                                               CommonDialog& dialog)
    : ws_(ws), prompts_(prompts), locations_(locations), start_(start), dialog_(dialog) {}

void FavouritesFileCommands::prepareDialog(bool confirmOverwrite) {
    const bool atHome = start_ == FavouritesStart::HomePresent ? locations_.homePresent()
                                                               : locations_.homeHoldsFile();
    dialog_.prepare(atHome ? locations_.homeFolder : QString(), {}, kFavouritesFilter,
                    confirmOverwrite);
}

void FavouritesFileCommands::setCurrentFile(const QString& path) {
    ws_.favouritesFile = toPath(path);
}

bool FavouritesFileCommands::nameChosenFile() {
    prepareDialog(false);
    const QString chosen = dialog_.showOpen();
    if (chosen.isEmpty()) return false;
    setCurrentFile(chosen);
    return true;
}

bool FavouritesFileCommands::open() {
    if (!nameChosenFile()) return false;
    readCurrentFile();
    return true;
}

void FavouritesFileCommands::readCurrentFile() {
    if (const Failure failure = readFavouritesFile(ws_)) prompts_.message(*failure);
}

void FavouritesFileCommands::clearCurrentFile() {
    setCurrentFile(QString());
}

bool FavouritesFileCommands::add() {
    prepareDialog(false);
    const QString chosen = dialog_.showOpen();
    if (chosen.isEmpty()) return false;
    if (const Failure failure = addFavouritesFromFile(ws_, toPath(chosen)))
        prompts_.message(*failure);
    return true;
}

bool FavouritesFileCommands::save() {
    if (ws_.favouritesFile.empty()) return false;
    const SaveResult saved = writeFavouritesFile(ws_);
    if (saved.notice) prompts_.message(*saved.notice);
    return saved.written();
}

bool FavouritesFileCommands::saveAs() {
    prepareDialog(true);
    const QString chosen = dialog_.showSave();
    if (chosen.isEmpty()) return false;
    setCurrentFile(chosen);
    return save();
}

bool FavouritesFileCommands::savePrompt() {
    // An unnamed list is discarded without a question.
    if (ws_.favouritesFile.empty()) return true;
    if (!prompts_.askYesNo("Do you want to save the current Favourites File?",
                           "Load New Favourites File")) {
        return true;
    }
    return save();
}

void FavouritesFileCommands::saveOnLeaving(UnnamedList unnamed) {
    if (!ws_.favouritesFile.empty()) {
        save();
    } else if (unnamed == UnnamedList::AskForName) {
        saveAs();
    }
}

}  // namespace tl
