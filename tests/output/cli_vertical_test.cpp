// kalvera-cli section and history hold, field for field, what probe reads at
// the same points; max and vil work wherever a layer is asked for.
#include <QImage>
#include <map>
#include <sstream>

#include "decode/picture_loader.h"
#include "geo/map_resources.h"
#include "output/cli_fixture.h"
#include "render/legend_tables.h"

namespace kalvera {
namespace {

using CliVertical = testing::CliArchive;

std::vector<std::vector<std::string>> CsvRows(const std::string& csv) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(csv);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with('#')) continue;
        auto& row = rows.emplace_back();
        std::istringstream fields(line + ",");
        for (std::string field; std::getline(fields, field, ',');) row.push_back(field);
    }
    return rows;
}

class VerticalProbe : public CliVertical {
  protected:
    std::string day() const {
        return " --start-dir " + start_ + " --site " + site_ + " --day " + day_;
    }
    // probe's value text for a layer at a point, or "(none)" when it finds no picture.
    std::string probe(const std::string& term, const std::string& layer, const std::string& lat,
                      const std::string& lon) {
        if (run("probe" + day() + " --term " + term + " --layer " + layer + " --lat " + lat +
                " --lon " + lon) != 0)
            return "(none)";
        const std::string json = printed;
        const size_t start = json.find("\"value\": \"") + 10;
        return json.substr(start, json.find('"', start) - start);
    }
    // The site of the suite's term, as the decoder places it.
    GeoPoint site() const {
        DisplayState state;
        state.siteCode = site_;
        state.indexPath = start_ + "/archive/" + site_ + "/" + day_ + ".ind";
        state.basePath = start_ + "/archive/" + site_ + "/" + day_ + ".bas";
        state.layerCode = 1;
        RadarPicture picture;
        loadPicture(FindMessageOffset(state.indexPath, term_, 1), picture, state);
        return {state.siteLat, state.siteLon};
    }
};

TEST_F(VerticalProbe, SectionSamplesAreWhatProbeReads) {
    const GeoPoint s = site();
    const std::string out = dir.file("section.csv");
    std::ostringstream ends;
    ends << " --from " << s.lat - 1.5f << "," << s.lon - 2.5f << " --to " << s.lat + 1.4f << ","
         << s.lon + 2.6f;
    ASSERT_EQ(run("section" + day() + " --term " + term_ + ends.str() + " --out " + out), 0) << err;
    const auto rows = CsvRows(testing::ReadWholeFile(out));
    ASSERT_GT(rows.size(), 300u);
    ASSERT_EQ(rows[0].size(), 14u);
    EXPECT_EQ(rows[0][3], "v1");
    EXPECT_EQ(rows[0][13], "top");
    // The first sample lies off the grid; the others where something shows.
    std::vector<size_t> picked = {1};
    for (size_t r = 2; r < rows.size() && picked.size() < 4; r += 7) {
        if (rows[r][4] != "0" || rows[r][13] != "0") picked.push_back(r);
    }
    for (const size_t r : picked) {
        const auto& row = rows[r];
        for (int layer = 1; layer <= 11; ++layer) {
            const std::string code = layer == 11 ? "21" : std::to_string(layer);
            const std::string field = row[static_cast<size_t>(2 + layer)];
            EXPECT_EQ(probe(term_, code, row[1], row[2]), field.empty() ? "(none)" : field)
                << "sample " << row[0] << " km, layer " << code;
        }
    }
}

TEST_F(VerticalProbe, HistoryRowsAreWhatProbeReads) {
    const GeoPoint s = site();
    std::ostringstream point;
    point.precision(9);
    point << " --lat " << s.lat + 0.3f << " --lon " << s.lon - 0.4f;
    ASSERT_EQ(run("history" + day() + point.str() + " --csv"), 0) << err;
    const auto rows = CsvRows(printed);
    std::vector<std::string> terms;
    ASSERT_GT(LoadTermList(start_ + "/archive/" + site_ + "/" + day_ + ".ind", terms), 0);
    ASSERT_EQ(rows.size(), terms.size() + 1);
    EXPECT_EQ(rows[0].back(), "vil");
    const std::string lat = point.str().substr(7, point.str().find(" --lon") - 7);
    const std::string lon = point.str().substr(point.str().find("--lon ") + 6);
    const char* layers[] = {"1", "2", "3",  "4",  "5",  "6",   "7",
                            "8", "9", "10", "21", "22", "max", "vil"};
    for (const size_t r : {size_t{1}, rows.size() - 1}) {
        const auto& row = rows[r];
        for (size_t f = 1; f < row.size(); ++f) {
            std::string expected = row[f].empty() ? "(none)" : row[f];
            // probe names the phenomenon where the history gives its code.
            if (f == 12 && !row[f].empty())
                expected = std::string(LegendLabel(22, std::stoi(row[f])));
            EXPECT_EQ(probe(row[0], layers[f - 1], lat, lon), expected)
                << "term " << row[0] << ", layer " << layers[f - 1];
        }
    }
}

TEST_F(CliVertical, SavedFilesSayWhatTheyHold) {
    const std::string day = " --start-dir " + start_ + " --site " + site_ + " --day " + day_;
    const std::string line = " --term " + term_ + " --from 55,37 --to 56,38 --out ";
    ASSERT_EQ(run("section" + day + line + dir.file("s.csv")), 0) << err;
    ASSERT_EQ(run("section" + day + line + dir.file("s.png")), 0) << err;
    const std::string said = "# site: " + site_ + "\n# day: " + day_ + "\n# term: " + term_;
    EXPECT_NE(testing::ReadWholeFile(dir.file("s.csv")).find(said), std::string::npos);
    const QImage png(QString::fromStdString(dir.file("s.png")));
    EXPECT_TRUE(
        png.text(QStringLiteral("Description")).contains(QString::fromStdString("term: " + term_)));
    ASSERT_EQ(run("history" + day + " --lat 55 --lon 37 --csv"), 0) << err;
    EXPECT_NE(printed.find("# site: " + site_ + "\n# day: " + day_ + "\n# point: "),
              std::string::npos);
}

TEST_F(CliVertical, DerivedLayersRenderAndProbe) {
    for (const char* layer : {"max", "vil"}) {
        EXPECT_EQ(run("render --start-dir " + start_ + " --site " + site_ + " --day " + day_ +
                      " --term " + term_ + " --layer " + layer + " --out " + dir.file("d.png")),
                  0)
            << layer << ": " << err;
    }
}

TEST_F(CliVertical, UsageErrorsExitTwoAndMissingDataOne) {
    const std::string day = " --start-dir " + start_ + " --site " + site_ + " --day " + day_;
    const std::string line = " --term " + term_ + " --from 55,37 --to 56,38";
    const struct {
        std::string args;
        int status;
    } rows[] = {
        {"section" + day + line + " --out " + dir.file("s.txt"), 2},
        {"section" + day + " --term " + term_ + " --from 95,37 --to 56,38 --out " +
             dir.file("s.csv"),
         2},
        {"section" + day + " --term 25.61 --from 55,37 --to 56,38 --out " + dir.file("s.csv"), 1},
        {"history" + day + " --lat 55", 2},
        {"history --start-dir " + start_ + " --site 00000 --day " + day_ + " --lat 55 --lon 37", 1},
        {"probe" + day + " --term " + term_ + " --layer vill --lat 55 --lon 37", 2},
    };
    for (const auto& row : rows) EXPECT_EQ(run(row.args), row.status) << row.args << "\n" << err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("s.csv")));
}

}  // namespace
}  // namespace kalvera
