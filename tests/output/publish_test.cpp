// res/publish.txt and the update tick's exports that it lists.
#include <gtest/gtest.h>

#include "output/automatic_export.h"
#include "output/output_test_support.h"
#include "output/picture_export.h"
#include "output/publish_list.h"
#include "products/derived_products.h"

namespace kalvera {
namespace {

TEST(PublishLine, ALayerCodeAndAPathWithAMapSuffix) {
    const struct {
        const char* line;
        bool read;
        int layer;
        const char* path;
        bool mosaic = false;
    } rows[] = {{"3 out/a.tif", true, 3, "/start/out/a.tif"},
                {"mosaic max\tc.tif", true, kLayerColumnMax, "/start/c.tif", true},
                {"mosaic 22 /srv/c.kmz", true, 22, "/srv/c.kmz", true},
                {"mosaicmax c.tif", false, 0, ""},
                {"mosaic c.tif", false, 0, ""},
                {"22\t/srv/www/radar map.GeoJSON ", true, 22, "/srv/www/radar map.GeoJSON"},
                {"0 a.gpkg", true, 0, "/start/a.gpkg"},
                {"vil a.kmz", true, kLayerVil, "/start/a.kmz"},
                {"max a.tif", true, kLayerColumnMax, "/start/a.tif"},
                {"x a.tif", false, 0, ""},
                {"3", false, 0, ""},
                {"3 a.jpg", false, 0, ""},
                {"25 a.tif", false, 0, ""},
                {"-1 a.tif", false, 0, ""}};
    for (const auto& row : rows) {
        PublishEntry entry;
        ASSERT_EQ(ParsePublishLine(row.line, "/start", entry), row.read) << row.line;
        if (!row.read) continue;
        EXPECT_EQ(entry.layerCode, row.layer) << row.line;
        EXPECT_EQ(entry.path, row.path) << row.line;
        EXPECT_EQ(entry.mosaic, row.mosaic) << row.line;
    }
}

TEST(PublishList, SkipsCommentsAndBlanksAndNumbersTheLinesItCannotRead) {
    testing::TempDir dir;
    testing::WriteWholeFile(dir.file("res/publish.txt"),
                            "# products\n\n3 a.tif\nnonsense\n22 b.geojson\r\n");
    const PublishList list = ReadPublishList(dir.path());
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[1].lineNumber, 5);
    ASSERT_EQ(list.unreadable.size(), 1u);
    EXPECT_EQ(list.unreadable[0].first, 4);
    EXPECT_TRUE(ReadPublishList(dir.file("nowhere")).entries.empty());
}

}  // namespace
}  // namespace kalvera
