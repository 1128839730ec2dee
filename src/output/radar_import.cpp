#include "output/radar_import.h"

#include <gdal_priv.h>
#include <hdf5.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <optional>

#include "common/domain_constants.h"
#include "geo/radar_grid.h"
#include "output/gdal_session.h"

namespace kalvera {

namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
// The largest source grid read (half a gigabyte of doubles); a whole OPERA
// composite is a quarter of it.
constexpr double kMaxSourceCells = 64.0 * 1024 * 1024;
// Covered, nothing seen: below every class.
constexpr double kNothingSeen = -std::numeric_limits<double>::infinity();

// An HDF5 handle closed with its own function when it goes.
class Handle {
  public:
    Handle(hid_t id, herr_t (*close)(hid_t)) : id_(id), close_(close) {}
    ~Handle() {
        if (id_ >= 0) close_(id_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    hid_t get() const { return id_; }
    bool ok() const { return id_ >= 0; }

  private:
    hid_t id_;
    herr_t (*close_)(hid_t);
};

bool GroupExists(hid_t file, const std::string& path) {
    return H5Lexists(file, path.c_str(), H5P_DEFAULT) > 0;
}

std::optional<std::string> StringAttribute(hid_t file, const std::string& group, const char* name) {
    if (!GroupExists(file, group) || H5Aexists_by_name(file, group.c_str(), name, H5P_DEFAULT) <= 0)
        return std::nullopt;
    Handle attr(H5Aopen_by_name(file, group.c_str(), name, H5P_DEFAULT, H5P_DEFAULT), H5Aclose);
    if (!attr.ok()) return std::nullopt;
    Handle type(H5Aget_type(attr.get()), H5Tclose);
    if (!type.ok() || H5Tget_class(type.get()) != H5T_STRING) return std::nullopt;
    if (H5Tis_variable_str(type.get()) > 0) {
        Handle memType(H5Tcopy(H5T_C_S1), H5Tclose);
        H5Tset_size(memType.get(), H5T_VARIABLE);
        char* text = nullptr;
        if (H5Aread(attr.get(), memType.get(), &text) < 0 || text == nullptr) return std::nullopt;
        std::string out(text);
        H5free_memory(text);
        return out;
    }
    const size_t size = H5Tget_size(type.get());
    if (size == 0 || size > 1 << 20) return std::nullopt;
    std::string text(size, '\0');
    Handle memType(H5Tcopy(H5T_C_S1), H5Tclose);
    H5Tset_size(memType.get(), size);
    if (H5Aread(attr.get(), memType.get(), text.data()) < 0) return std::nullopt;
    text.resize(std::strlen(text.c_str()));
    return text;
}

std::optional<double> NumberAttribute(hid_t file, const std::string& group, const char* name) {
    if (!GroupExists(file, group) || H5Aexists_by_name(file, group.c_str(), name, H5P_DEFAULT) <= 0)
        return std::nullopt;
    Handle attr(H5Aopen_by_name(file, group.c_str(), name, H5P_DEFAULT, H5P_DEFAULT), H5Aclose);
    if (!attr.ok()) return std::nullopt;
    Handle type(H5Aget_type(attr.get()), H5Tclose);
    const H5T_class_t kind = type.ok() ? H5Tget_class(type.get()) : H5T_NO_CLASS;
    if (kind == H5T_STRING) {
        // Some writers keep numbers as text.
        const auto text = StringAttribute(file, group, name);
        char* end = nullptr;
        const double v = text ? std::strtod(text->c_str(), &end) : 0.0;
        if (!text || end == text->c_str()) return std::nullopt;
        return v;
    }
    if (kind != H5T_INTEGER && kind != H5T_FLOAT) return std::nullopt;
    Handle space(H5Aget_space(attr.get()), H5Sclose);
    const hssize_t count = space.ok() ? H5Sget_simple_extent_npoints(space.get()) : 0;
    if (count < 1 || count > 64) return std::nullopt;
    std::vector<double> values(static_cast<size_t>(count));
    if (H5Aread(attr.get(), H5T_NATIVE_DOUBLE, values.data()) < 0) return std::nullopt;
    return values.front();
}

// The first of the groups (most specific first) that holds the attribute.
template <typename T, typename Read>
std::optional<T> Inherited(const std::vector<std::string>& groups, Read read) {
    for (const std::string& g : groups) {
        if (auto v = read(g)) return v;
    }
    return std::nullopt;
}

// "ODIM_H5/V2_3", "H5rad 2.3": heights came in km before 2.4.
bool HeightsInKm(hid_t file) {
    for (const auto& [group, name] :
         {std::pair{"/", "Conventions"}, std::pair{"/what", "version"}}) {
        const auto text = StringAttribute(file, group, name);
        if (!text) continue;
        int major = 0, minor = 0;
        const size_t at = text->find_first_of("0123456789");
        if (at == std::string::npos) continue;
        if (std::sscanf(text->c_str() + at, "%d%*[._]%d", &major, &minor) == 2)
            return major < 2 || (major == 2 && minor < 4);
    }
    return false;
}

// The archive layer a reflectivity product lands on: a CAPPI at its height,
// anything else (a PPI, a pseudo-CAPPI, a composite) on the lowest layer.
int ReflectivityLayer(const std::optional<std::string>& product, std::optional<double> prodpar) {
    if (product && (*product == "CAPPI" || *product == "PCAPPI") && prodpar && *prodpar >= 0)
        return std::clamp(static_cast<int>(*prodpar / 1000.0), kFirstHeightLayer, kLastHeightLayer);
    return kFirstHeightLayer;
}

bool ReadDataset(hid_t file, const std::string& path, int width, int height,
                 std::vector<double>& out) {
    Handle data(H5Dopen2(file, path.c_str(), H5P_DEFAULT), H5Dclose);
    if (!data.ok()) return false;
    Handle space(H5Dget_space(data.get()), H5Sclose);
    hsize_t dims[2] = {0, 0};
    if (!space.ok() || H5Sget_simple_extent_ndims(space.get()) != 2 ||
        H5Sget_simple_extent_dims(space.get(), dims, nullptr) != 2 ||
        dims[0] != static_cast<hsize_t>(height) || dims[1] != static_cast<hsize_t>(width)) {
        return false;
    }
    out.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0.0);
    return H5Dread(data.get(), H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, out.data()) >= 0;
}

// An item of a GDAL_METADATA block that GDAL kept as raw text because its
// items carry attributes of their own (as some services write gain, offset,
// nodata, undetect and the observation time).
std::optional<std::string> RawMetadataItem(const char* block, const std::string& name) {
    if (block == nullptr) return std::nullopt;
    const std::string text(block);
    const size_t at = text.find("<Item name=\"" + name + "\"");
    if (at == std::string::npos) return std::nullopt;
    const size_t open = text.find('>', at), close = text.find("</Item>", at);
    if (open == std::string::npos || close == std::string::npos || close < open)
        return std::nullopt;
    return text.substr(open + 1, close - open - 1);
}

std::optional<double> RawMetadataNumber(const char* block, const std::string& name) {
    const auto text = RawMetadataItem(block, name);
    if (!text) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(text->c_str(), &end);
    if (end == text->c_str() || !std::isfinite(v)) return std::nullopt;
    return v;
}

bool ParseDateTime(const std::string& date, const std::string& time, ImportSource& source) {
    int second = 0;
    return std::sscanf(date.c_str(), "%4d%2d%2d", &source.year, &source.month, &source.day) == 3 &&
           std::sscanf(time.c_str(), "%2d%2d%2d", &source.hour, &source.minute, &second) >= 2 &&
           source.month >= 1 && source.month <= 12 && source.day >= 1 && source.day <= 31 &&
           source.hour >= 0 && source.hour <= 23 && source.minute >= 0 && source.minute <= 59;
}

// The projected place of the top-left outer corner from the corner's
// longitude and latitude.
bool CornerInProjection(const std::string& projdef, double lon, double lat, double& x, double& y,
                        std::string& error) {
    OGRSpatialReference wgs84, target;
    wgs84.SetWellKnownGeogCS("WGS84");
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (target.SetFromUserInput(projdef.c_str()) != OGRERR_NONE) {
        error = "unknown projection '" + projdef + "'";
        return false;
    }
    target.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<OGRCoordinateTransformation> t(
        OGRCreateCoordinateTransformation(&wgs84, &target));
    x = lon;
    y = lat;
    if (!t || !t->Transform(1, &x, &y)) {
        error = "cannot place the grid in '" + projdef + "'";
        return false;
    }
    return true;
}

}  // namespace

bool ReadOdimSource(const std::string& path, ImportSource& source, std::string& error) {
    // Errors are reported by name here, not printed by the library.
    H5E_auto2_t oldFunc = nullptr;
    void* oldData = nullptr;
    H5Eget_auto2(H5E_DEFAULT, &oldFunc, &oldData);
    H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
    struct Restore {
        H5E_auto2_t f;
        void* d;
        ~Restore() { H5Eset_auto2(H5E_DEFAULT, f, d); }
    } restore{oldFunc, oldData};

    source = {};
    Handle file(H5Fopen(path.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT), H5Fclose);
    if (!file.ok()) {
        error = "not an HDF5 file";
        return false;
    }
    const hid_t f = file.get();
    const auto object = StringAttribute(f, "/what", "object");
    if (!object || (*object != "IMAGE" && *object != "COMP")) {
        error = "not an ODIM_H5 IMAGE or COMP object" + (object ? " (" + *object + ")" : "");
        return false;
    }
    const auto date = StringAttribute(f, "/what", "date");
    const auto time = StringAttribute(f, "/what", "time");
    if (!date || !time || !ParseDateTime(*date, *time, source)) {
        error = "no valid what/date and what/time";
        return false;
    }
    const bool km = HeightsInKm(f);
    for (int n = 1; n < 1000; ++n) {
        const std::string set = "/dataset" + std::to_string(n);
        if (!GroupExists(f, set)) break;
        for (int m = 1; m < 100; ++m) {
            const std::string data = set + "/data" + std::to_string(m);
            if (!GroupExists(f, data)) break;
            const std::vector<std::string> whats = {data + "/what", set + "/what", "/what"};
            const std::vector<std::string> wheres = {data + "/where", set + "/where", "/where"};
            auto text = [&](const char* name) {
                return Inherited<std::string>(
                    whats, [&](const std::string& g) { return StringAttribute(f, g, name); });
            };
            auto number = [&](const std::vector<std::string>& groups, const char* name) {
                return Inherited<double>(
                    groups, [&](const std::string& g) { return NumberAttribute(f, g, name); });
            };
            const auto quantity = text("quantity");
            if (!quantity) continue;
            ImportField field;
            if (*quantity == "DBZH" || *quantity == "TH") {
                field.layerCode = ReflectivityLayer(text("product"), number(whats, "prodpar"));
            } else if (*quantity == "HGHT") {
                field.layerCode = kLayerEchoTops;
            } else if (*quantity == "CLASS" &&
                       text("product") == std::optional<std::string>("SURF")) {
                field.layerCode = kLayerWeather;
            } else {
                continue;
            }
            // A product the archive holds already keeps its first source.
            if (std::any_of(source.fields.begin(), source.fields.end(),
                            [&](const ImportField& o) { return o.layerCode == field.layerCode; }))
                continue;
            const auto xsize = number(wheres, "xsize"), ysize = number(wheres, "ysize");
            const auto xscale = number(wheres, "xscale"), yscale = number(wheres, "yscale");
            const auto ulLon = number(wheres, "UL_lon"), ulLat = number(wheres, "UL_lat");
            const auto projdef = Inherited<std::string>(
                wheres, [&](const std::string& g) { return StringAttribute(f, g, "projdef"); });
            if (!xsize || !ysize || !xscale || !yscale || !ulLon || !ulLat || !projdef ||
                *xsize < 1 || *ysize < 1 || *xsize * *ysize > kMaxSourceCells || *xscale <= 0 ||
                *yscale <= 0) {
                error = data +
                        ": incomplete or oversized grid (where/projdef, xsize, ysize, xscale, "
                        "yscale, UL_lon, UL_lat)";
                return false;
            }
            field.width = static_cast<int>(*xsize);
            field.height = static_cast<int>(*ysize);
            double x0 = 0, y0 = 0;
            if (!CornerInProjection(*projdef, *ulLon, *ulLat, x0, y0, error)) return false;
            field.transform = {x0, *xscale, 0.0, y0, 0.0, -*yscale};
            field.srs = *projdef;
            if (!ReadDataset(f, data + "/data", field.width, field.height, field.values)) {
                error = data + "/data: not a " + std::to_string(field.height) + " x " +
                        std::to_string(field.width) + " image";
                return false;
            }
            const double gain = number(whats, "gain").value_or(1.0);
            const double offset = number(whats, "offset").value_or(0.0);
            const auto nodata = number(whats, "nodata");
            const auto undetect = number(whats, "undetect");
            const double unit = field.layerCode == kLayerEchoTops && km ? 1000.0 : 1.0;
            for (double& v : field.values) {
                if (nodata && v == *nodata)
                    v = kNoValue;
                else if (undetect && v == *undetect)
                    v = kNothingSeen;
                else
                    v = (offset + gain * v) * unit;
            }
            source.fields.push_back(std::move(field));
        }
    }
    if (source.fields.empty()) {
        error = "no DBZH, TH, HGHT or CLASS data";
        return false;
    }
    return true;
}

bool ReadGeoTiffSource(const std::string& path, ImportSource& source, std::string& error) {
    GdalQuiet quiet;
    source = {};
    std::unique_ptr<GDALDataset> dataset(
        static_cast<GDALDataset*>(GDALOpen(path.c_str(), GA_ReadOnly)));
    if (!dataset) {
        error = GdalQuiet::LastReason("not a raster GDAL can open");
        return false;
    }
    if (dataset->GetRasterCount() != 1) {
        error =
            "not a single-band raster (" + std::to_string(dataset->GetRasterCount()) + " bands)";
        return false;
    }
    ImportField field;
    field.width = dataset->GetRasterXSize();
    field.height = dataset->GetRasterYSize();
    if (static_cast<double>(field.width) * field.height > kMaxSourceCells) {
        error = "a raster of " + std::to_string(field.width) + " x " +
                std::to_string(field.height) + " cells is larger than read";
        return false;
    }
    const OGRSpatialReference* srs = dataset->GetSpatialRef();
    if (dataset->GetGeoTransform(field.transform.data()) != CE_None || srs == nullptr ||
        field.transform[2] != 0.0 || field.transform[4] != 0.0) {
        error = "no north-up georeference";
        return false;
    }
    char* wkt = nullptr;
    srs->exportToWkt(&wkt);
    field.srs = wkt ? wkt : "";
    CPLFree(wkt);
    // The time: ours in TIME, others in the TIFF's date and time tag.
    const char* iso = dataset->GetMetadataItem("TIME");
    const char* tag = dataset->GetMetadataItem("TIFFTAG_DATETIME");
    const char* raw = dataset->GetMetadataItem("GDAL_METADATA");
    const auto observed = RawMetadataItem(raw, "Observation time");
    int second = 0;
    const bool timed =
        (iso && std::sscanf(iso, "%d-%d-%dT%d:%d", &source.year, &source.month, &source.day,
                            &source.hour, &source.minute) == 5) ||
        (tag && std::sscanf(tag, "%d:%d:%d %d:%d:%d", &source.year, &source.month, &source.day,
                            &source.hour, &source.minute, &second) >= 5) ||
        (observed && observed->size() == 12 &&
         std::sscanf(observed->c_str(), "%4d%2d%2d%2d%2d", &source.year, &source.month, &source.day,
                     &source.hour, &source.minute) == 5);
    if (!timed || source.month < 1 || source.month > 12 || source.day < 1 || source.day > 31 ||
        source.hour < 0 || source.hour > 23 || source.minute < 0 || source.minute > 59) {
        error = "no nominal time (TIME or TIFFTAG_DATETIME metadata)";
        return false;
    }
    field.layerCode = kFirstHeightLayer;
    if (const char* layer = dataset->GetMetadataItem("LAYER")) {
        char* end = nullptr;
        const long code = std::strtol(layer, &end, 10);
        if (end != layer && *end == '\0' &&
            ((code >= kFirstHeightLayer && code <= kLastHeightLayer) || code == kLayerEchoTops ||
             code == kLayerWeather)) {
            field.layerCode = static_cast<int>(code);
        } else {
            error = std::string("layer '") + layer + "' is derived, not a stored product";
            return false;
        }
    }
    GDALRasterBand* band = dataset->GetRasterBand(1);
    int hasNoData = 0, hasScale = 0, hasOffset = 0;
    double nodata = band->GetNoDataValue(&hasNoData);
    double scale = band->GetScale(&hasScale), offset = band->GetOffset(&hasOffset);
    // The raw block's coding where the band has none of its own.
    if (!hasScale && !hasOffset) {
        scale = RawMetadataNumber(raw, "Gain").value_or(scale);
        offset = RawMetadataNumber(raw, "Offset").value_or(offset);
    }
    if (!hasNoData) {
        if (const auto v = RawMetadataNumber(raw, "Nodata")) nodata = *v, hasNoData = 1;
    }
    const std::optional<double> undetect = RawMetadataNumber(raw, "Undetect");
    field.values.assign(static_cast<size_t>(field.width) * static_cast<size_t>(field.height), 0.0);
    if (band->RasterIO(GF_Read, 0, 0, field.width, field.height, field.values.data(), field.width,
                       field.height, GDT_Float64, 0, 0) != CE_None) {
        error = GdalQuiet::LastReason("cannot read the raster");
        return false;
    }
    for (double& v : field.values) {
        if ((hasNoData && (v == nodata || (std::isnan(nodata) && std::isnan(v)))) ||
            !std::isfinite(v))
            v = kNoValue;
        else if (undetect && v == *undetect)
            v = kNothingSeen;
        else
            v = offset + scale * v;
    }
    source.fields.push_back(std::move(field));
    return true;
}

bool ReadImportSource(const std::string& path, ImportSource& source, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot be opened";
        return false;
    }
    char magic[8] = {};
    in.read(magic, sizeof magic);
    static const char kHdf5[8] = {'\x89', 'H', 'D', 'F', '\r', '\n', '\x1a', '\n'};
    if (in.gcount() == 8 && std::memcmp(magic, kHdf5, 8) == 0)
        return ReadOdimSource(path, source, error);
    return ReadGeoTiffSource(path, source, error);
}

bool ResampleToSite(const ImportField& field, double siteLat, double siteLon,
                    std::vector<int32_t>& cells, std::string& error) {
    GdalQuiet quiet;
    OGRSpatialReference wgs84, target;
    wgs84.SetWellKnownGeogCS("WGS84");
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (target.SetFromUserInput(field.srs.c_str()) != OGRERR_NONE) {
        error = "unknown projection";
        return false;
    }
    target.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<OGRCoordinateTransformation> t(
        OGRCreateCoordinateTransformation(&wgs84, &target));
    if (!t) {
        error = GdalQuiet::LastReason("cannot place the site in the source's projection");
        return false;
    }
    const RadarGrid grid =
        RadarGrid::AroundSite(static_cast<float>(siteLon), static_cast<float>(siteLat));
    const int rows = grid.rows(), columns = grid.columns();
    std::vector<double> xs, ys;
    std::vector<int> ok(static_cast<size_t>(rows * columns), 0);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < columns; ++j) {
            xs.push_back(static_cast<double>(grid.EdgeLon(j)) + 0.5 * grid.cellLon());
            ys.push_back(static_cast<double>(grid.EdgeLat(i)) + 0.5 * grid.cellLat());
        }
    }
    t->Transform(static_cast<int>(xs.size()), xs.data(), ys.data(), nullptr, ok.data());
    cells.assign(xs.size(), kImportNoData);
    const auto& g = field.transform;
    for (size_t k = 0; k < xs.size(); ++k) {
        if (!ok[k]) continue;
        const double px = std::floor((xs[k] - g[0]) / g[1]);
        const double py = std::floor((ys[k] - g[3]) / g[5]);
        if (!(px >= 0 && py >= 0 && px < field.width && py < field.height)) continue;
        const double v = field.values[static_cast<size_t>(py) * static_cast<size_t>(field.width) +
                                      static_cast<size_t>(px)];
        if (std::isnan(v)) continue;
        double archived = v;
        double top = 65534.0;
        if (field.layerCode >= kFirstHeightLayer && field.layerCode <= kLastHeightLayer) {
            archived = 2.0 * v;  // half decibels
            top = 254.0;
        } else if (field.layerCode == kLayerWeather) {
            top = 31.0;
        }
        cells[k] = static_cast<int32_t>(std::lround(std::clamp(archived, 0.0, top)));
    }
    return true;
}

}  // namespace kalvera
