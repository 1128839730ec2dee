#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "output/header_lines.h"
#include "output/print_layout.h"

namespace kalvera {
namespace {

TEST(HeaderLines, OnlyTheSaveButtonFormHasABlankAfterTheAirportMark) {
    EXPECT_EQ(HeaderLine2(HeaderForm::SaveButton, "Внуково", "07.12.2026", "10.30"),
              "РРП а/п Внуково. Дата 07.12.2026 Время 10.30 сгв");
    EXPECT_EQ(HeaderLine2(HeaderForm::Automatic, "Внуково", "07.12.2026", "10.30"),
              "РРП а/пВнуково. Дата 07.12.2026 Время 10.30 сгв");
    EXPECT_EQ(HeaderLine3(22), "Слой 22");
}

TEST(HeaderLines, DateIsTheDisplayedDayNotTheTimeOfDay) {
    // 2009-03-15 at 23:59: the short date must not roll over to the 16th.
    const std::string text = ShortDateText(39887.0 + 0.9999);
    EXPECT_NE(text.find("15"), std::string::npos) << text;
    EXPECT_EQ(text.find("16"), std::string::npos) << text;
}

// The 200 mm square at the device's own resolution, centred across the page
// 40 mm down, under header lines at 10, 20 and 30 mm; a resolution that
// cannot hold a millimetre is refused.
TEST(PrintGeometry, TrueMillimetresCentredOnThePage) {
    struct Row {
        const char* name;
        int pageW;
        double dpi;
        bool ok;
        std::array<int, 6> sideLeftTopLines;
    };
    const Row rows[] = {
        {"A4 at 300 dpi", 2480, 300.0, true, {2360, 60, 472, 118, 236, 354}},
        {"A4 through the PDF writer", 2479, 300.0, true, {2360, 59, 472, 118, 236, 354}},
        {"A4 at 600 dpi", 4961, 600.0, true, {4720, 120, 945, 236, 472, 709}},
        {"no resolution", 2480, 0.0, false, {}},
        {"not a number", 2480, std::nan(""), false, {}},
        {"empty page", 0, 300.0, false, {}}};
    for (const Row& row : rows) {
        PrintLayout l;
        ASSERT_EQ(ComputePrintLayout(row.pageW, row.dpi, l), row.ok) << row.name;
        if (!row.ok) continue;
        EXPECT_EQ((std::array{l.mapSide, l.mapLeft, l.mapTop, l.headerTops[0], l.headerTops[1],
                              l.headerTops[2]}),
                  row.sideLeftTopLines)
            << row.name;
    }
}

}  // namespace
}  // namespace kalvera
