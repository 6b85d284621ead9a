// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace tl {

struct Workspace;
class Prompts;
struct Locations;
class CommonDialog;

// Where a window's favourites dialog starts: the home folder when it is there,
// or only when it lists a file. Otherwise the dialog keeps its own folder.
enum class FavouritesStart { HomePresent, HomeHoldsFile };

// What saving on leaving does with a list that has no file yet.
enum class UnnamedList { Skip, AskForName };

// The favourites file commands of one window: its file dialog with the
// favourites filter, reading, merging and writing the file, and the save
// question. The windows name the current favourites file only through here.
class FavouritesFileCommands {
  public:
    // The dialog is the window's own (the main window shares it with class
    // files); it must outlive this object.
    FavouritesFileCommands(Workspace& ws, Prompts& prompts, const Locations& locations,
                           FavouritesStart start, CommonDialog& dialog);

    // The Open dialog; a chosen file becomes the current one and is read, a
    // refused file's message shown. False when the dialog was cancelled.
    bool open();
    // The Open dialog; a chosen file becomes the current one, unread. False
    // when cancelled, and the current file stays.
    bool nameChosenFile();
    // Reads the current file into the favourites and ranges, showing a
    // refused file's message.
    void readCurrentFile();
    // No current file.
    void clearCurrentFile();
    // Add to Favourites: the Open dialog, and a chosen file's entries appended.
    // False when cancelled.
    bool add();
    // Writes the current file, showing the write's notice; true when written.
    // A list without a file is not written.
    bool save();
    // The Save dialog (the overwrite question included); a chosen name becomes
    // the current file and is written. True when written.
    bool saveAs();
    // Before New and Open: a named list is offered a save. False when it was
    // to be saved and could not be, so that the command stops and the list stays.
    bool savePrompt();
    // Saves as a window is left: the current file is written; a list without
    // one is offered the Save dialog when asked to.
    void saveOnLeaving(UnnamedList unnamed);

  private:
    void prepareDialog(bool confirmOverwrite);
    void setCurrentFile(const QString& path);

    Workspace& ws_;
    Prompts& prompts_;
    const Locations& locations_;
    FavouritesStart start_;
    CommonDialog& dialog_;
};

}  // namespace tl
