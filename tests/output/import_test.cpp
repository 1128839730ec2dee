// kalvera-cli import: a real composite lands on a site's grid as GDAL reads
// it, our own export comes back cell for cell, and bad files change nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/day_archive.h"
#include "demo/demo_sites.h"
#include "output/cli_fixture.h"
#include "output/radar_import.h"
#include "support/file_bytes.h"

namespace kalvera::testing {
namespace {

const std::string kOperaCrop =
    std::string(KALVERA_SOURCE_DIR) + "/tests/output/data/opera_dbzh_crop.h5";

class Import : public CliArchive {
  protected:
    // An empty start directory beside the suite's, with its resources.
    std::string emptyStart() {
        const std::string start = dir.file("import-start");
        std::filesystem::create_directories(start + "/archive");
        std::filesystem::copy(start_ + "/res", start + "/res",
                              std::filesystem::copy_options::recursive);
        std::string settings = ReadWholeFile(start_ + "/settings");
        settings = start + "/archive/" + settings.substr(settings.find('\n'));
        WriteWholeFile(start + "/settings", settings);
        return start;
    }
    // The 10 000 values of a stored layer as the decoder reads them.
    std::vector<long> decoded(const std::string& start, const std::string& site,
                              const std::string& day, const std::string& term, int layer) {
        const DayArchive archive = DayArchive::Of(start + "/archive/", site, day);
        const int32_t offset = FindMessageOffset(archive.indexPath, term, layer);
        std::vector<long> values;
        if (offset < 0 || run("decode " + archive.basePath + " " + std::to_string(offset) +
                              " --layer " + std::to_string(layer) + " --site " + site) != 0)
            return values;
        const size_t at = printed.find("\"values\"");
        if (at == std::string::npos) return values;
        const char* p = printed.c_str() + printed.find('[', at) + 1;
        char* end = nullptr;
        for (long v = std::strtol(p, &end, 10); end != p; v = std::strtol(p, &end, 10)) {
            values.push_back(v);
            p = end + (*end == ',' ? 1 : 0);
        }
        return values;
    }
};

// Cells of a made-up site at 62.83 N 31.96 E and what gdallocationinfo
// -wgs84 reads in the fixture at each cell's centre, as archive values
// (half dBZ): undetect (-8888000) is 0, nodata (-9999000) and points off the
// raster are no data, a negative dBZ is 0.
TEST_F(Import, RealCompositeCellsAreWhatGdalReads) {
    const std::string start = emptyStart();
    ASSERT_EQ(run("import --from " + kOperaCrop + " --start-dir " + start +
                  " --site 90001 --centre 62.83,31.96"),
              0)
        << err;
    const std::vector<long> cells = decoded(start, "90001", "241126", "01.00", 1);
    ASSERT_EQ(cells.size(), 10000u);
    struct Case {
        int row, column;
        long value;  // GDAL's reading
    };
    const Case cases[] = {
        {30, 30, 42},     // 21 dBZ
        {45, 50, 54},     // 27 dBZ
        {60, 40, 44},     // 22 dBZ
        {75, 60, 26},     // 13 dBZ
        {33, 78, 0},      // undetect
        {87, 52, 0},      // -0.5 dBZ
        {70, 88, 65535},  // nodata
        {45, 90, 65535},  // off the raster
        {3, 10, 65535},   // off the raster
    };
    for (const Case& c : cases)
        EXPECT_EQ(cells[static_cast<size_t>(c.row * 100 + c.column)], c.value)
            << c.row << "," << c.column;
}

TEST_F(Import, OwnOdimExportComesBackCellForCell) {
    const std::string out = dir.file("term.h5"), back = dir.file("back.h5");
    ASSERT_EQ(run("export --start-dir " + start_ + " --site " + site_ + " --day " + day_ +
                  " --term " + term_ + " --layers 1,2,3,4,5,6,7,8,9,10,21,22 --out " + out),
              0)
        << err;
    const std::string start = emptyStart();
    ASSERT_EQ(run("import --from " + out + " --start-dir " + start + " --sites " + site_), 0)
        << err;
    ASSERT_EQ(run("export --start-dir " + start + " --site " + site_ + " --day " + day_ +
                  " --term " + term_ + " --layers 1,2,3,4,5,6,7,8,9,10,21,22 --out " + back),
              0)
        << err;
    ImportSource sent, received;
    std::string error;
    ASSERT_TRUE(ReadOdimSource(out, sent, error)) << error;
    ASSERT_TRUE(ReadOdimSource(back, received, error)) << error;
    ASSERT_EQ(sent.fields.size(), 12u);
    ASSERT_EQ(received.fields.size(), sent.fields.size());
    for (size_t k = 0; k < sent.fields.size(); ++k) {
        EXPECT_EQ(received.fields[k].layerCode, sent.fields[k].layerCode);
        EXPECT_EQ(received.fields[k].values, sent.fields[k].values)
            << "layer " << sent.fields[k].layerCode;
    }
}

TEST_F(Import, OwnGeoTiffComesBackOnItsLayer) {
    const std::string tif = dir.file("layer.tif");
    ASSERT_EQ(run(args(tif, 2, "export")), 0) << err;
    const std::string start = emptyStart();
    ASSERT_EQ(run("import --from " + tif + " --start-dir " + start + " --sites " + site_), 0)
        << err;
    const std::vector<long> original = decoded(start_, site_, day_, term_, 2);
    ASSERT_EQ(original.size(), 10000u);
    EXPECT_EQ(decoded(start, site_, day_, term_, 2), original);
}

TEST_F(Import, UnreadableFilesAreNamedAndLeaveNoArchive) {
    const std::string text = dir.file("notes.h5"), missing = dir.file("missing.tif");
    WriteWholeFile(text, "not a radar file\n");
    const std::string start = emptyStart();
    EXPECT_EQ(run("import --from " + text + " " + missing + " --start-dir " + start +
                  " --site 90001 --centre 55,37"),
              1);
    EXPECT_NE(err.find(text), std::string::npos) << err;
    EXPECT_NE(err.find(missing), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(start + "/archive/90001"));
}

}  // namespace
}  // namespace kalvera::testing
