#pragma once
// The picture menu's colour tables, one per kind of layer, and the cells'
// opacity. The choice is the user's own: it is kept in the user's settings
// file, never in the office's `settings` or `res/`.

#include <QString>
#include <string>
#include <vector>

#include "geo/app_config.h"

class QMenu;

namespace kalvera {

class Dialogs;
class TForm1;

// The folders tables are offered from: the start directory's res/colors, the
// presets shipped with the program and the user's own folder.
std::vector<std::string> ColourFolders(const AppConfig& config);
// The user's folder of tables (beside the user's settings file).
QString UserColourFolderPath();

// How the menu names a table given by name or path: the palette and the
// shipped presets by what they are, in the chosen language; a user's own
// table by its file's name less ".pal".
QString ColourTableDisplayName(const std::string& name);

// Puts the tables and opacity remembered for this user into `config`. A
// table that no longer reads leaves its kind on the palette.
void LoadColourChoice(AppConfig& config);

// Adds the tables' submenus and the opacity submenu to the picture's menu.
// Choosing one redraws the picture shown and remembers the choice.
void AddColourMenus(QMenu& menu, TForm1& window, Dialogs& dialogs);

}  // namespace kalvera
