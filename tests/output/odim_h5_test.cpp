// ODIM_H5 files as other radar services read them: the structure and every
// attribute's type through libhdf5, the place through GDAL's HDF5 driver, and
// the values against what probe reads.
#include "output/odim_h5.h"

#include <gtest/gtest.h>
#include <hdf5.h>

#include <cmath>
#include <map>

#include "output/cli_fixture.h"
#include "output/map_test_support.h"
#include "render/legend_tables.h"

namespace kalvera {
namespace {

using testing::OpenWithGdal;

// What the tests read of an attribute: its type class, size and text or number.
struct Attribute {
    H5T_class_t kind = H5T_NO_CLASS;
    size_t size = 0;
    bool fixedNullTerminated = false;
    std::string text;
    double number = 0.0;
};

class OdimFile {
  public:
    explicit OdimFile(const std::string& path)
        : file_(H5Fopen(path.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT)) {}
    ~OdimFile() {
        if (file_ >= 0) H5Fclose(file_);
    }
    bool ok() const { return file_ >= 0; }

    Attribute attribute(const std::string& object, const std::string& name) const {
        Attribute a;
        const hid_t id =
            H5Aopen_by_name(file_, object.c_str(), name.c_str(), H5P_DEFAULT, H5P_DEFAULT);
        if (id < 0) return a;
        const hid_t type = H5Aget_type(id);
        a.kind = H5Tget_class(type);
        a.size = H5Tget_size(type);
        if (a.kind == H5T_STRING) {
            a.fixedNullTerminated =
                H5Tis_variable_str(type) == 0 && H5Tget_strpad(type) == H5T_STR_NULLTERM;
            std::string text(a.size, '\0');
            H5Aread(id, type, text.data());
            a.text = text.c_str();
        } else if (a.kind == H5T_INTEGER) {
            int64_t value = 0;
            H5Aread(id, H5T_NATIVE_INT64, &value);
            a.number = static_cast<double>(value);
        } else if (a.kind == H5T_FLOAT) {
            // An array (VIL's prodpar) reads as its first value.
            const hid_t space = H5Aget_space(id);
            std::vector<double> values(
                static_cast<size_t>(std::max<hssize_t>(1, H5Sget_simple_extent_npoints(space))));
            H5Aread(id, H5T_NATIVE_DOUBLE, values.data());
            a.number = values.front();
            H5Sclose(space);
        }
        H5Tclose(type);
        H5Aclose(id);
        return a;
    }
    double number(const std::string& object, const std::string& name) const {
        return attribute(object, name).number;
    }
    std::string text(const std::string& object, const std::string& name) const {
        return attribute(object, name).text;
    }

    // Rows from the north, as the file holds them.
    std::vector<int32_t> data(const std::string& dataset, bool& deflated) const {
        std::vector<int32_t> values(100 * 100);
        const hid_t id = H5Dopen2(file_, (dataset + "/data1/data").c_str(), H5P_DEFAULT);
        const hid_t properties = H5Dget_create_plist(id);
        deflated = false;
        for (int i = 0; i < H5Pget_nfilters(properties); ++i) {
            unsigned flags = 0, config = 0;
            size_t count = 0;
            deflated =
                deflated || H5Pget_filter2(properties, static_cast<unsigned>(i), &flags, &count,
                                           nullptr, 0, nullptr, &config) == H5Z_FILTER_DEFLATE;
        }
        H5Dread(id, H5T_NATIVE_INT32, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data());
        H5Pclose(properties);
        H5Dclose(id);
        return values;
    }

    // The classes of a CLASS dataset: value -> key.
    std::map<std::string, std::string> legend(const std::string& dataset) const {
        std::map<std::string, std::string> classes;
        const hid_t id = H5Dopen2(file_, (dataset + "/data1/legend").c_str(), H5P_DEFAULT);
        if (id < 0) return classes;
        const hid_t type = H5Dget_type(id);
        const hid_t space = H5Dget_space(id);
        const auto count = static_cast<size_t>(H5Sget_simple_extent_npoints(space));
        const size_t row = H5Tget_size(type);
        std::vector<char> bytes(count * row);
        H5Dread(id, type, H5S_ALL, H5S_ALL, H5P_DEFAULT, bytes.data());
        const size_t keyAt = H5Tget_member_offset(type, H5Tget_member_index(type, "key"));
        const size_t valueAt = H5Tget_member_offset(type, H5Tget_member_index(type, "value"));
        for (size_t i = 0; i < count; ++i)
            classes[&bytes[i * row + valueAt]] = &bytes[i * row + keyAt];
        H5Sclose(space);
        H5Tclose(type);
        H5Dclose(id);
        return classes;
    }

  private:
    hid_t file_;
};

class OdimExport : public testing::CliArchive {
  protected:
    std::string exportTerm() {
        const std::string path = dir.file("term.h5");
        EXPECT_EQ(run("export --start-dir " + start_ + " --site " + site_ + " --day " + day_ +
                      " --term " + term_ + " --out " + path),
                  0)
            << err;
        return path;
    }
};

TEST_F(OdimExport, EveryAttributeHasTheTypeTheModelPrescribes) {
    const OdimFile file(exportTerm());
    ASSERT_TRUE(file.ok());
    const struct {
        const char* object;
        const char* name;
        H5T_class_t kind;
        const char* text;  // for strings
    } rows[] = {
        {"/", "Conventions", H5T_STRING, "ODIM_H5/V2_4"},
        {"/what", "object", H5T_STRING, "IMAGE"},
        {"/what", "version", H5T_STRING, "H5rad 2.4"},
        {"/what", "source", H5T_STRING, nullptr},
        {"/what", "date", H5T_STRING, nullptr},
        {"/what", "time", H5T_STRING, nullptr},
        {"/where", "projdef", H5T_STRING, "+proj=longlat +ellps=WGS84 +datum=WGS84 +no_defs"},
        {"/where", "xsize", H5T_INTEGER, nullptr},
        {"/where", "ysize", H5T_INTEGER, nullptr},
        {"/where", "xscale", H5T_FLOAT, nullptr},
        {"/where", "yscale", H5T_FLOAT, nullptr},
        {"/where", "LL_lon", H5T_FLOAT, nullptr},
        {"/where", "UR_lat", H5T_FLOAT, nullptr},
        {"/how", "software", H5T_STRING, "Kalvera"},
        {"/dataset1/what", "product", H5T_STRING, "CAPPI"},
        {"/dataset1/what", "prodpar", H5T_FLOAT, nullptr},
        {"/dataset1/what", "startdate", H5T_STRING, nullptr},
        {"/dataset1/what", "endtime", H5T_STRING, nullptr},
        {"/dataset1/data1/what", "quantity", H5T_STRING, "DBZH"},
        {"/dataset1/data1/what", "gain", H5T_FLOAT, nullptr},
        {"/dataset1/data1/what", "offset", H5T_FLOAT, nullptr},
        {"/dataset1/data1/what", "nodata", H5T_FLOAT, nullptr},
        {"/dataset1/data1/what", "undetect", H5T_FLOAT, nullptr},
        {"/dataset11/what", "product", H5T_STRING, "ETOP"},
        {"/dataset11/data1/what", "quantity", H5T_STRING, "HGHT"},
        {"/dataset12/data1/what", "quantity", H5T_STRING, "CLASS"},
        {"/dataset14/what", "prodpar", H5T_FLOAT, nullptr},
    };
    for (const auto& row : rows) {
        const Attribute a = file.attribute(row.object, row.name);
        const std::string where = std::string(row.object) + " " + row.name;
        EXPECT_EQ(a.kind, row.kind) << where;
        if (row.kind == H5T_STRING) {
            EXPECT_TRUE(a.fixedNullTerminated) << where;
            EXPECT_EQ(a.size, a.text.size() + 1) << where;
        } else {
            EXPECT_EQ(a.size, 8u) << where << ": 64-bit integers and doubles";
        }
        if (row.text) {
            EXPECT_EQ(a.text, row.text) << where;
        }
    }
    // The office's identifiers first, then the site's (the demo's res/odim.txt).
    EXPECT_EQ(file.text("/what", "source"), "ORG:demo,CMT:Kalvera demo office,NOD:xx" +
                                                site_.substr(site_.size() - 3) + ",WMO:" + site_);
    // Echo tops in metres, as the archive holds them.
    EXPECT_EQ(file.number("/dataset11/data1/what", "gain"), 1.0);
    EXPECT_EQ(file.text("/what", "date"), "20" + day_);
    EXPECT_EQ(file.text("/what", "time"), term_.substr(0, 2) + term_.substr(3, 2) + "00");
    EXPECT_EQ(file.number("/where", "xsize"), 100.0);
    EXPECT_EQ(file.number("/dataset1/data1/what", "gain"), 0.5);
    EXPECT_EQ(file.number("/dataset1/data1/what", "nodata"), 65535.0);
    EXPECT_EQ(file.number("/dataset1/what", "prodpar"), 1500.0);
    bool deflated = false;
    file.data("/dataset1", deflated);
    EXPECT_TRUE(deflated);
    const auto classes = file.legend("/dataset12");
    EXPECT_EQ(classes.size(), 19u);
    EXPECT_EQ(classes.count("19") ? classes.at("19") : "", "tornado");
}

// The echo tops' level is the office's setting; without it ETOP has none.
TEST_F(OdimExport, TheEchoTopsLevelComesFromTheSetting) {
    const std::string settings = start_ + "/res/odim.txt";
    const std::string saved = testing::ReadWholeFile(settings);
    for (const char* level : {"", "18", "-7.5"}) {
        testing::WriteWholeFile(
            settings, saved + (*level ? "etop " + std::string(level) + "\n" : std::string()));
        const OdimFile file(exportTerm());
        ASSERT_TRUE(file.ok()) << level;
        const Attribute prodpar = file.attribute("/dataset11/what", "prodpar");
        if (*level == '\0') {
            EXPECT_EQ(prodpar.kind, H5T_NO_CLASS);
        } else {
            EXPECT_EQ(prodpar.kind, H5T_FLOAT) << level;
            EXPECT_EQ(prodpar.number, std::stod(level));
        }
    }
    testing::WriteWholeFile(settings, saved);
}

TEST_F(OdimExport, GdalPlacesItWhereTheGeoTiffLies) {
    const std::string h5 = exportTerm();
    const std::string tif = dir.file("layer.tif");
    ASSERT_EQ(run(args(tif, 1, "export")), 0) << err;
    double expected[6], got[6];
    const auto geotiff = OpenWithGdal(tif, GDAL_OF_RASTER);
    ASSERT_TRUE(geotiff);
    ASSERT_EQ(geotiff->GetGeoTransform(expected), CE_None);
    for (const char* dataset : {"dataset1", "dataset12", "dataset14"}) {
        const auto odim =
            OpenWithGdal("HDF5:\"" + h5 + "\"://" + dataset + "/data1/data", GDAL_OF_RASTER);
        ASSERT_TRUE(odim) << dataset;
        ASSERT_EQ(odim->GetGeoTransform(got), CE_None) << dataset;
        for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], expected[i], 1e-9) << dataset << " " << i;
    }
}

TEST_F(OdimExport, ValuesReadAsProbeReadsThem) {
    const OdimFile file(exportTerm());
    ASSERT_TRUE(file.ok());
    const double west = file.number("/where", "UL_lon"), north = file.number("/where", "UL_lat");
    const double dx = file.number("/where", "xscale"), dy = file.number("/where", "yscale");
    bool deflated = false;
    const std::vector<int32_t> weather = file.data("/dataset12", deflated);
    const auto classes = file.legend("/dataset12");
    // Cells where something is seen, apart from each other, and the corner
    // cell, which no data covers. The demo's weather at its newest term may
    // be small, so every cell is looked at.
    std::vector<size_t> cells = {0};
    for (size_t i = 0; i < weather.size() && cells.size() < 4; ++i) {
        if (weather[i] > 0 && weather[i] < 20) {
            cells.push_back(i);
            i += 372;
        }
    }
    ASSERT_GT(cells.size(), 1u) << "the demo term shows weather";
    const struct {
        const char* layer;
        const char* dataset;
    } products[] = {{"1", "/dataset1"},
                    {"21", "/dataset11"},
                    {"22", "/dataset12"},
                    {"max", "/dataset13"},
                    {"vil", "/dataset14"}};
    for (const auto& product : products) {
        const std::vector<int32_t> raw = file.data(product.dataset, deflated);
        const double gain = file.number(std::string(product.dataset) + "/data1/what", "gain");
        for (const size_t cell : cells) {
            const double lat = north - (static_cast<double>(cell / 100) + 0.5) * dy;
            const double lon = west + (static_cast<double>(cell % 100) + 0.5) * dx;
            char point[96];
            std::snprintf(point, sizeof point, " --lat %.6f --lon %.6f", lat, lon);
            ASSERT_EQ(run("probe --start-dir " + start_ + " --site " + site_ + " --day " + day_ +
                          " --term " + term_ + " --layer " + product.layer + point),
                      0)
                << err;
            std::string expected = std::to_string(raw[cell]);
            // Phenomena read as their class's name; a cell of no class as nothing.
            if (std::string(product.layer) == "22")
                expected = classes.count(expected) ? LegendLabel(22, raw[cell]) : "";
            if (std::string(product.layer) == "vil" && raw[cell] != kOutsideGrid) {
                char text[32];
                std::snprintf(text, sizeof text, "%.1f", raw[cell] * gain);
                expected = text;
            }
            EXPECT_NE(printed.find("\"value\": \"" + expected + "\""), std::string::npos)
                << product.layer << " cell " << cell << ": " << printed;
        }
    }
}

// The composite as a COMP: every site of the demo archive as a node, the
// method, and the same place as the composite's GeoTIFF.
TEST_F(OdimExport, TheCompositeIsACompWhereItsGeoTiffLies) {
    const std::string term = "mosaic --start-dir " + start_ + " --day " + day_ + " --term " +
                             term_ + " --method nearest";
    const std::string h5 = dir.file("mosaic.h5"), tif = dir.file("mosaic.tif");
    ASSERT_EQ(run(term + " --layers 1,22 --out " + h5), 0) << err;
    ASSERT_EQ(run(term + " --layer 1 --out " + tif), 0) << err;
    const OdimFile file(h5);
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.text("/what", "object"), "COMP");
    EXPECT_EQ(file.text("/how", "camethod"), "NEAREST");
    EXPECT_NE(file.text("/how", "nodes").find("'" + site_ + "'"), std::string::npos);
    EXPECT_EQ(file.text("/dataset2/data1/what", "quantity"), "CLASS");
    EXPECT_EQ(file.number("/dataset1/data1/what", "nodata"), 65535.0);
    EXPECT_EQ(file.number("/dataset1/data1/what", "undetect"), 0.0);
    double expected[6], got[6];
    const auto geotiff = OpenWithGdal(tif, GDAL_OF_RASTER);
    ASSERT_TRUE(geotiff);
    ASSERT_EQ(geotiff->GetGeoTransform(expected), CE_None);
    const auto odim = OpenWithGdal("HDF5:\"" + h5 + "\"://dataset1/data1/data", GDAL_OF_RASTER);
    ASSERT_TRUE(odim);
    ASSERT_EQ(odim->GetGeoTransform(got), CE_None);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], expected[i], 1e-9) << i;
}

TEST(OdimEncoder, RefusesWhatItCannotPlaceOrHold) {
    OdimObject object;
    std::string error;
    EXPECT_FALSE(EncodeOdimH5(object, error));
    EXPECT_NE(error.find("what/source"), std::string::npos);
    object.source = "ORG:247";
    EXPECT_FALSE(EncodeOdimH5(object, error));
    EXPECT_NE(error.find("no product"), std::string::npos);
    OdimDataset a;
    a.values = {RadarGrid::Regular(30.0f, 50.0f, 0.1f, 0.1f, 2, 3), std::vector<int32_t>(6, 0)};
    OdimDataset b = a;
    b.values.grid = RadarGrid::Regular(30.0f, 50.0f, 0.1f, 0.1f, 3, 2);
    object.datasets = {a, b};
    EXPECT_FALSE(EncodeOdimH5(object, error));
    EXPECT_NE(error.find("different grids"), std::string::npos);
    a.values.grid = RadarGrid::Regular(30.0f, 89.95f, 0.1f, 0.1f, 2, 3);
    object.datasets = {a};
    EXPECT_FALSE(EncodeOdimH5(object, error));
    EXPECT_NE(error.find("no place on the earth"), std::string::npos);
}

TEST(OdimEncoder, ACompositeNamesItsSitesAndItsMethod) {
    OdimObject object;
    object.object = "COMP";
    object.source = "ORG:247,CMT:Kalvera composite";
    object.nodes = {"27612", "26063"};
    object.camethod = "MAXIMUM";
    OdimDataset dataset;
    dataset.product = "COMP";
    dataset.quantity = "DBZH";
    dataset.values = {RadarGrid::Regular(30.0f, 50.0f, 0.25f, 0.125f, 100, 100),
                      std::vector<int32_t>(100 * 100, 0)};
    object.datasets = {dataset};
    testing::TempDir dir;
    const std::string path = dir.file("comp.h5");
    std::string error;
    ASSERT_TRUE(WriteOdimFile(object, path, error)) << error;
    const OdimFile file(path);
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.text("/what", "object"), "COMP");
    EXPECT_EQ(file.text("/how", "nodes"), "'27612','26063'");
    EXPECT_EQ(file.text("/how", "camethod"), "MAXIMUM");
    EXPECT_EQ(file.number("/where", "UR_lon"), 55.0);
    EXPECT_EQ(file.number("/where", "UR_lat"), 62.5);
}

}  // namespace
}  // namespace kalvera
