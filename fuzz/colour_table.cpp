// Colour tables come from other radar viewers and from users' folders: any
// bytes are read as a table, and a table that reads is written and read back
// as the same table.

#include "geo/colour_table.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kalvera;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ColourTable table;
    std::string error;
    std::vector<std::string> warnings;
    if (!ParseColourTable(text, "fuzz.pal", table, error, warnings)) return 0;
    // Every value a cell can take lands somewhere: below the first stop, in
    // a class or above the last.
    const std::vector<ColourClass> classes = ClassesOf(table);
    for (const ColourStop& stop : table.stops) {
        for (double v : {stop.value - 0.5, stop.value, stop.value + 0.5}) {
            const int k = ClassIndexOf(table, v);
            if (k >= static_cast<int>(classes.size())) std::abort();
            if ((k < 0) != !ColourAt(table, v).has_value()) std::abort();
        }
    }
    ColourTable again;
    if (!ParseColourTable(WriteColourTable(table), "again.pal", again, error, warnings) ||
        !(again == table)) {
        std::abort();
    }
    return 0;
}
