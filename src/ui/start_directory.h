#pragma once
// Where the viewer finds its `settings` and `res/`. The directory it is started
// in comes first, so that an office's start directory works as it always has;
// a desktop menu starts it in the home directory, and then the start directory
// chosen at an earlier first start, else the user's own one under the XDG data
// directory (where the demo archive goes) is taken. Where none holds a settings
// file, the first-start window asks what to do.

#include <QString>
#include <functional>

#include "ui/dialogs.h"

namespace kalvera {

// The user preference that keeps a start directory chosen at a first start.
inline constexpr const char* kStartDirectoryKey = "startDirectory";

// $XDG_DATA_HOME/kalvera (~/.local/share/kalvera); scripts/run-demo writes
// its demo archive there too.
QString UserStartDirectory();

bool HoldsSettings(const QString& dir);

struct StartPlaces {
    QString current;     // the working directory at start
    QString remembered;  // chosen at an earlier first start; may be empty
    QString user;        // UserStartDirectory()
};

// The first of the places that holds a settings file; empty when none does.
QString ResolveStartDirectory(const StartPlaces& places);

// Writes the demo archive into `dir`; false with a message in `error` (empty
// when cancelled).
using DemoWriter = std::function<bool(const QString& dir, BackgroundWork& work, QString& error)>;

struct StartChoice {
    QString directory;      // empty: the operator chose to quit
    bool remember = false;  // chosen in the first-start window, for later starts
};

// Resolves the places; where none holds settings, asks until a directory
// with settings is had or the operator quits.
StartChoice ChooseStartDirectory(const StartPlaces& places, Dialogs& dialogs,
                                 const DemoWriter& writeDemo);

// The demo archive of the first start: three days of four sites up to now.
bool WriteDemoArchive(const QString& dir, BackgroundWork& work, QString& error);

// Chooses as above from the real places with the real demo writer, remembers a
// chosen directory and makes the start directory current. False when the
// program is to end without its window.
bool EnterStartDirectory(Dialogs& dialogs);

}  // namespace kalvera
