#pragma once

#include <QString>

// Where "Elaborate", "ResizedOne.bmp" and "resizer.cfg" live. A program folder that can be
// written holds all three, as it always has. An installed program's folder cannot (or must
// not) be written; its files then go where a desktop user looks for them:
//   resizer.cfg     the per-user configuration folder  (~/.config/Velmora/Tessaro)
//   ResizedOne.bmp  the per-user data folder           (~/.local/share/Velmora/Tessaro)
//   Elaborate       the user's Pictures folder         (~/Pictures/Elaborate)
namespace programfolder {

struct Layout {
    QString settingsFile;
    QString intermediateBitmap;
    QString outputFolder;
    bool perUser = false;
};

// The layout for `programFolder`, asking the file system whether it can be written.
Layout LayoutFor(const QString& programFolder);
// The layout once that question is answered; the per-user folders it names are created.
Layout LayoutFor(const QString& programFolder, bool programFolderWritable);

// The program folder: `chosen` when given (the headless --folder), else the folder
// TESSARO_PROGRAM_FOLDER names (`make run`), else the executable's own folder. Absolute; a
// chosen or named folder that is missing is created when it can be.
QString Resolve(const QString& chosen = {});

// The user's Pictures folder (XDG_PICTURES_DIR, ~/.config/user-dirs.dirs), or an empty string
// when the desktop names none.
QString PicturesFolder();

// True when a file can be created in `folder` (or, while it is missing, in the folder it would
// be made in) and it is not a folder the program is installed into, which is never written,
// not even by root. Leaves nothing behind.
bool IsWritable(const QString& folder);

}  // namespace programfolder
