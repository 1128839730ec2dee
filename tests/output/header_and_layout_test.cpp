#include <gtest/gtest.h>

#include "output/header_lines.h"
#include "output/print_layout.h"

namespace kalvera {
namespace {

TEST(HeaderLines, SaveButtonFormHasABlankAfterTheAirportMark) {
    EXPECT_EQ(HeaderLine2(HeaderForm::SaveButton, "Внуково", "07.12.2026", "10.30"),
              "РРП а/п Внуково. Дата 07.12.2026 Время 10.30 сгв");
}

TEST(HeaderLines, AutomaticFormGluesTheSiteToTheAirportMark) {
    EXPECT_EQ(HeaderLine2(HeaderForm::Automatic, "Внуково", "07.12.2026", "10.30"),
              "РРП а/п"
              "Внуково. Дата 07.12.2026 Время 10.30 сгв");
}

TEST(HeaderLines, FirstAndThirdLines) {
    EXPECT_EQ(HeaderLine1(), "КАЛВЕРА");
    EXPECT_EQ(HeaderLine3(4), "Слой 4");
    EXPECT_EQ(HeaderLine3(22), "Слой 22");
}

TEST(HeaderLines, DateIsTheDisplayedDayNotTheTimeOfDay) {
    // 2009-03-15 at 23:59: the short date must not roll over to the 16th.
    const double date = 39887.0 + 0.9999;
    const std::string text = ShortDateText(date);
    EXPECT_NE(text.find("15"), std::string::npos) << text;
    EXPECT_EQ(text.find("16"), std::string::npos) << text;
}

TEST(PrintGeometry, A4At300DotsPerInch) {
    PrintLayout layout;
    ASSERT_TRUE(ComputePrintLayout(2480, 3508, layout));
    EXPECT_EQ(layout.ppmX, 11);
    EXPECT_EQ(layout.ppmY, 11);
    EXPECT_EQ(layout.mapWidth, 2200);
    EXPECT_EQ(layout.mapHeight, 2200);
    EXPECT_EQ(layout.mapTop, 440);
    EXPECT_EQ(layout.headerTops[0], 110);
    EXPECT_EQ(layout.headerTops[1], 220);
    EXPECT_EQ(layout.headerTops[2], 330);
    EXPECT_EQ(layout.lineWidth, 2310);
    // Centred like the header lines, clear of the unprintable margin.
    EXPECT_EQ(layout.mapLeft, 55);
    EXPECT_EQ(layout.mapLeft * 2 + layout.mapWidth, layout.lineWidth);
}

TEST(PrintGeometry, UnevenResolutionsKeepTheirOwnScale) {
    PrintLayout layout;
    ASSERT_TRUE(ComputePrintLayout(4960, 3508, layout));  // 600 x 300 dpi
    EXPECT_EQ(layout.ppmX, 23);
    EXPECT_EQ(layout.ppmY, 11);
    EXPECT_EQ(layout.mapWidth, 4600);
    EXPECT_EQ(layout.mapHeight, 2200);
    EXPECT_EQ(layout.mapLeft, 115);
}

TEST(PrintGeometry, PageTooSmallIsRefused) {
    PrintLayout layout;
    EXPECT_FALSE(ComputePrintLayout(209, 3508, layout));
    EXPECT_FALSE(ComputePrintLayout(2480, 296, layout));
    EXPECT_FALSE(ComputePrintLayout(0, 0, layout));
}

}  // namespace
}  // namespace kalvera
