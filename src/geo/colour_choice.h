#pragma once
// Which colour table each kind of layer is drawn with, and how opaque the
// cells are over the map: the user's own choice, carried with the
// configuration into every picture and export.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "geo/colour_table.h"

namespace kalvera {

enum class LayerKind { Reflectivity, EchoTops, Phenomena, Vil };
inline constexpr size_t kLayerKinds = 4;

struct ColourChoice {
    // Null: the palette (res/colors.bin), as the legend's 19 boxes show it.
    std::array<std::shared_ptr<const ColourTable>, kLayerKinds> tables;
    // Percent, kMinCellOpacity..100; below 100 the map shows through the cells.
    int cellOpacity = 100;
};

// The faintest cells offered: fainter ones vanish into the map, and a
// remembered choice would hide rain from the next operator on the login.
inline constexpr int kMinCellOpacity = 20;

// The name the palette goes by among the tables.
inline constexpr const char* kClassicTableName = "classic";

// A table file: its name (the file name less ".pal") and path.
struct ColourTableFile {
    std::string name;
    std::string path;
};
// The "*.pal" files of the folders in name order; a name found in an earlier
// folder hides the same name in a later one. Missing folders are skipped.
std::vector<ColourTableFile> ListColourTables(const std::vector<std::string>& folders);

// The units a kind of layer is usually tabled in ("dBZ", "m", "code",
// "kg/m2"): tables in other units are offered for that kind only when their
// units say nothing (empty) or name a length for echo tops.
bool TableSuitsKind(const ColourTable& table, LayerKind kind);

// The user's own tables: $XDG_CONFIG_HOME/kalvera/colors, else
// ~/.config/kalvera/colors.
std::string UserColourFolder();
// Where tables are looked for by name, in order: the start directory's
// res/colors, the presets shipped with the program (`shippedDataDir`/colors)
// and the user's folder.
std::vector<std::string> ColourTableFolders(const std::string& startDir,
                                            const std::string& shippedDataDir);

// A table as a user names it: "classic" (the palette: `table` becomes null),
// a path to a file, or the name of a table in `folders`. False, with the
// reason in `error`, when it names nothing or does not read.
bool ResolveColourTable(const std::string& nameOrPath, const std::vector<std::string>& folders,
                        std::shared_ptr<const ColourTable>& table, std::string& error,
                        std::vector<std::string>& warnings);

// Snaps to kMinCellOpacity..100 in steps of 5.
int OpacityStep(int percent);

}  // namespace kalvera
