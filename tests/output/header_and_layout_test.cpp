#include <gtest/gtest.h>

#include <array>

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

// Printer pixels per millimetre from the page; the 200 mm map square from
// 40 mm, centred under the header lines at 10, 20 and 30 mm; too small a page
// is refused.
TEST(PrintGeometry, PagesInPrinterPixels) {
    struct Row {
        const char* name;
        int pageW, pageH;
        bool ok;
        std::array<int, 5> ppmXYMapWHLeft;
    };
    const Row rows[] = {{"A4 at 300 dpi", 2480, 3508, true, {11, 11, 2200, 2200, 55}},
                        {"600 x 300 dpi", 4960, 3508, true, {23, 11, 4600, 2200, 115}},
                        {"too narrow", 209, 3508, false, {}},
                        {"too low", 2480, 296, false, {}},
                        {"empty", 0, 0, false, {}}};
    for (const Row& row : rows) {
        PrintLayout l;
        ASSERT_EQ(ComputePrintLayout(row.pageW, row.pageH, l), row.ok) << row.name;
        if (!row.ok) continue;
        EXPECT_EQ((std::array{l.ppmX, l.ppmY, l.mapWidth, l.mapHeight, l.mapLeft}),
                  row.ppmXYMapWHLeft)
            << row.name;
        EXPECT_EQ(l.mapTop, 40 * l.ppmY) << row.name;
        EXPECT_EQ((std::array{l.headerTops[0], l.headerTops[1], l.headerTops[2]}),
                  (std::array{10 * l.ppmY, 20 * l.ppmY, 30 * l.ppmY}))
            << row.name;
        EXPECT_EQ(l.mapLeft * 2 + l.mapWidth, l.lineWidth) << row.name;
    }
}

}  // namespace
}  // namespace kalvera
