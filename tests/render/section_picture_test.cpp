// The section's and the history's pictures: a colour key, a time axis that
// is linear in time, and a picture that says what it shows.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QLocale>
#include <set>

#include "render/cell_layer.h"
#include "render/section_render.h"

namespace kalvera {
namespace {

std::vector<HistoryRow> Terms(std::initializer_list<const char*> terms) {
    std::vector<HistoryRow> rows;
    for (const char* term : terms) rows.emplace_back().term = term;
    return rows;
}

TEST(SectionPicture, ShowsEveryColourOfItsKey) {
    Palette palette{};
    for (size_t k = 0; k < palette.size(); ++k)
        palette[k] = 0x010203 * static_cast<uint32_t>(k + 7);
    const QImage image = DrawSectionImage(Section{}, palette, 900, 500);
    std::set<uint32_t> seen;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) seen.insert(PixelAt(image, x, y));
    }
    for (int k = 1; k <= kLegendBoxes; ++k)
        EXPECT_TRUE(seen.count(palette[static_cast<size_t>(k)])) << "class " << k;
}

TEST(SectionPicture, ItsPngSaysWhatItShows) {
    Section section;
    section.site = "27612";
    section.day = "261207";
    section.term = "12.00";
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    ASSERT_TRUE(DrawSectionImage(section, Palette{}, 900, 500).save(&png, "PNG"));
    const QImage back = QImage::fromData(png.data(), "PNG");
    EXPECT_EQ(back.text(QStringLiteral("Description")).toStdString(), SectionSubject(section));
    EXPECT_TRUE(back.text(QStringLiteral("Title")).contains(QStringLiteral("27612")));
}

TEST(SectionPicture, ItsTitleDatesTheDayInTheChosenLanguage) {
    Section section;
    section.site = "27612";
    section.day = "261207";
    section.term = "12.00";
    const struct {
        QLocale::Language language;
        const char* title;
    } rows[] = {
        {QLocale::Russian,
         "Станция 27612, 07.12.2026, срок 12.00. Разрез 0 км: слои 1–10 и верхняя граница"},
        {QLocale::English,
         "Станция 27612, 12/7/26, срок 12.00. Разрез 0 км: слои 1–10 и верхняя граница"},
    };
    const QLocale before;
    for (const auto& row : rows) {
        QLocale::setDefault(QLocale(row.language));
        EXPECT_EQ(DrawSectionImage(section, Palette{}, 900, 500).text(QStringLiteral("Title")),
                  QString::fromUtf8(row.title));
    }
    QLocale::setDefault(before);
}

TEST(HistoryTime, SpansTheDaysDataInWholeHours) {
    const struct {
        std::vector<HistoryRow> rows;
        int first, last;
    } cases[] = {
        {Terms({"09.10", "09.20", "11.30"}), 9, 12},
        {Terms({"00.00", "23.50"}), 0, 24},
        {Terms({"14.00"}), 14, 15},
        {Terms({}), 0, 24},
    };
    for (const auto& c : cases) {
        const HourSpan span = HistoryHours(c.rows);
        EXPECT_EQ(span.first, c.first) << c.rows.size() << " terms";
        EXPECT_EQ(span.last, c.last) << c.rows.size() << " terms";
    }
}

TEST(HistoryTime, ColumnsStandAtTheirTermsTime) {
    // The term 09.30 is missing: 10.00 stands three steps from 09.20, not one.
    const std::vector<SectionSample> columns =
        HistoryColumns(Terms({"09.00", "09.10", "09.20", "10.00"}));
    ASSERT_EQ(columns.size(), 4u);
    const double step = columns[1].distanceKm - columns[0].distanceKm;
    EXPECT_NEAR(step, 1.0 / 6.0, 1e-9);
    EXPECT_NEAR(columns[3].distanceKm - columns[2].distanceKm, 4 * step, 1e-9);
}

TEST(HistoryTime, TheReadoutFindsATermOnlyWhereOneWas) {
    const std::vector<HistoryRow> rows = Terms({"09.00", "09.10", "10.00"});
    EXPECT_NE(HistoryReadout(rows, 9.0 + 11.0 / 60, 2.5).find("09.10"), std::string::npos);
    EXPECT_EQ(HistoryReadout(rows, 9.5, 2.5), "");
}

}  // namespace
}  // namespace kalvera
