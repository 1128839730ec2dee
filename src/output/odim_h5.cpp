// ODIM_H5 through the HDF5 C library. The file is built in the library's
// in-memory driver with no backing store and its image copied out, so that
// nothing reaches the disk until the whole file replaces its target.
//
// Attribute types are those the information model prescribes: strings are
// fixed-length and null-terminated, integers 64-bit, reals 64-bit doubles.

#include "output/odim_h5.h"

#include <hdf5.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "common/replace_file.h"
#include "output/map_georef.h"

namespace kalvera {

namespace {

constexpr const char* kConventions = "ODIM_H5/V2_4";
constexpr const char* kVersion = "H5rad 2.4";
// The grid is a plain longitude/latitude box (see map_georef.h).
constexpr const char* kProjdef = "+proj=longlat +ellps=WGS84 +datum=WGS84 +no_defs";
constexpr unsigned kDeflateLevel = 6;
// How far, in cells, products of one file may lie from the first one's grid.
constexpr double kGridSlack = 1e-3;

// An HDF5 identifier closed by its own function when it goes.
class Id {
  public:
    Id(hid_t id, herr_t (*close)(hid_t)) : id_(id), close_(close) {}
    ~Id() {
        if (id_ >= 0) close_(id_);
    }
    Id(const Id&) = delete;
    Id& operator=(const Id&) = delete;
    // Groups are kept open in a vector until their object is written.
    Id(Id&& other) noexcept : id_(std::exchange(other.id_, -1)), close_(other.close_) {}
    Id& operator=(Id&&) = delete;
    hid_t get() const { return id_; }
    bool ok() const { return id_ >= 0; }

  private:
    hid_t id_;
    herr_t (*close_)(hid_t);
};

// The innermost message of the library's error stack: the one that says why.
herr_t KeepMessage(unsigned, const H5E_error2_t* entry, void* data) {
    auto* message = static_cast<std::string*>(data);
    if (message->empty() && entry->desc != nullptr) *message = entry->desc;
    return 0;
}

std::string LibraryReason(const std::string& step) {
    std::string message;
    H5Ewalk2(H5E_DEFAULT, H5E_WALK_DOWNWARD, KeepMessage, &message);
    H5Eclear2(H5E_DEFAULT);
    return "HDF5 cannot " + step + (message.empty() ? "" : ": " + message);
}

// Creation properties that leave out the object's modification times, so
// that the same products give the same bytes and a checksum tells a changed
// product from a rerun.
Id Untimed(hid_t propertyClass) {
    Id properties(H5Pcreate(propertyClass), H5Pclose);
    if (properties.ok()) H5Pset_obj_track_times(properties.get(), 0);
    return properties;
}

class Writer {
  public:
    explicit Writer(std::string& error) : error_(error) {}

    bool Group(hid_t parent, const char* name, hid_t& out, std::vector<Id>& keep) {
        keep.emplace_back(
            H5Gcreate2(parent, name, H5P_DEFAULT, groupProperties_.get(), H5P_DEFAULT), H5Gclose);
        out = keep.back().get();
        return Check(keep.back().ok(), std::string("create the group ") + name);
    }

    bool String(hid_t owner, const char* name, const std::string& value) {
        const Id type(H5Tcopy(H5T_C_S1), H5Tclose);
        if (!Check(type.ok(), "make a string type")) return false;
        H5Tset_size(type.get(), value.size() + 1);
        H5Tset_strpad(type.get(), H5T_STR_NULLTERM);
        // The legend's names may be Cyrillic; the model's own texts are ASCII.
        H5Tset_cset(type.get(), IsAscii(value) ? H5T_CSET_ASCII : H5T_CSET_UTF8);
        return Attribute(owner, name, type.get(), type.get(), value.c_str());
    }

    bool Long(hid_t owner, const char* name, int64_t value) {
        return Attribute(owner, name, H5T_STD_I64LE, H5T_NATIVE_INT64, &value);
    }

    bool Double(hid_t owner, const char* name, double value) {
        return Attribute(owner, name, H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE, &value);
    }

    // A "simple array of doubles": a one-dimensional attribute.
    bool Doubles(hid_t owner, const char* name, const std::vector<double>& values) {
        const hsize_t count = values.size();
        const Id space(H5Screate_simple(1, &count, nullptr), H5Sclose);
        const Id attribute(
            H5Acreate2(owner, name, H5T_IEEE_F64LE, space.get(), H5P_DEFAULT, H5P_DEFAULT),
            H5Aclose);
        return Check(
            attribute.ok() && H5Awrite(attribute.get(), H5T_NATIVE_DOUBLE, values.data()) >= 0,
            std::string("write the attribute ") + name);
    }

    bool Check(bool ok, const std::string& step) {
        if (!ok && error_.empty()) error_ = LibraryReason(step);
        return ok;
    }

    static bool IsAscii(const std::string& text) {
        for (const unsigned char c : text) {
            if (c >= 0x80) return false;
        }
        return true;
    }

  private:
    const Id groupProperties_ = Untimed(H5P_GROUP_CREATE);

    bool Attribute(hid_t owner, const char* name, hid_t fileType, hid_t memoryType,
                   const void* value) {
        const Id space(H5Screate(H5S_SCALAR), H5Sclose);
        const Id attribute(H5Acreate2(owner, name, fileType, space.get(), H5P_DEFAULT, H5P_DEFAULT),
                           H5Aclose);
        return Check(attribute.ok() && H5Awrite(attribute.get(), memoryType, value) >= 0,
                     std::string("write the attribute ") + name);
    }

    std::string& error_;
};

// The messages of one term may carry the site's position in codings of
// different precision, which moves their squares by a few millionths of a
// degree; a file has one grid, and such products share the first one's.
bool SameGrid(const RadarGrid& a, const RadarGrid& b) {
    const double lonSlack = std::abs(a.cellLon()) * kGridSlack;
    const double latSlack = std::abs(a.cellLat()) * kGridSlack;
    return a.rows() == b.rows() && a.columns() == b.columns() &&
           std::abs(a.lonMin() - b.lonMin()) <= lonSlack &&
           std::abs(a.latMin() - b.latMin()) <= latSlack &&
           std::abs(a.cellLon() - b.cellLon()) * a.columns() <= lonSlack &&
           std::abs(a.cellLat() - b.cellLat()) * a.rows() <= latSlack;
}

std::string Check(const OdimObject& object) {
    if (object.source.empty()) return "there is no what/source to identify it";
    if (object.datasets.empty()) return "there is no product to write";
    const RadarGrid& grid = object.datasets.front().values.grid;
    for (const OdimDataset& dataset : object.datasets) {
        if (!SameGrid(dataset.values.grid, grid)) return "the products lie on different grids";
        if (dataset.values.values.size() !=
            static_cast<size_t>(grid.rows()) * static_cast<size_t>(grid.columns()))
            return "a product's values do not fill its grid";
    }
    if (!IsPlaceable(GridBoxOf(grid))) return "the grid has no place on the earth";
    return {};
}

bool WriteTopWhat(Writer& w, hid_t file, const OdimObject& object, std::vector<Id>& keep) {
    hid_t what = -1;
    return w.String(file, "Conventions", kConventions) && w.Group(file, "what", what, keep) &&
           w.String(what, "object", object.object) && w.String(what, "version", kVersion) &&
           w.String(what, "date", object.date) && w.String(what, "time", object.time) &&
           w.String(what, "source", object.source);
}

bool WriteTopWhere(Writer& w, hid_t file, const RadarGrid& grid, std::vector<Id>& keep) {
    const GeoBox box = GridBoxOf(grid);
    hid_t where = -1;
    return w.Group(file, "where", where, keep) && w.String(where, "projdef", kProjdef) &&
           w.Long(where, "xsize", grid.columns()) && w.Long(where, "ysize", grid.rows()) &&
           w.Double(where, "xscale", grid.cellLon()) && w.Double(where, "yscale", grid.cellLat()) &&
           w.Double(where, "LL_lon", box.west) && w.Double(where, "LL_lat", box.south) &&
           w.Double(where, "UL_lon", box.west) && w.Double(where, "UL_lat", box.north) &&
           w.Double(where, "UR_lon", box.east) && w.Double(where, "UR_lat", box.north) &&
           w.Double(where, "LR_lon", box.east) && w.Double(where, "LR_lat", box.south);
}

// A sequence is a comma-separated string; node names are quoted in it.
std::string NodeSequence(const std::vector<std::string>& nodes) {
    std::string text;
    for (const std::string& node : nodes) text += (text.empty() ? "'" : ",'") + node + "'";
    return text;
}

bool WriteTopHow(Writer& w, hid_t file, const OdimObject& object, std::vector<Id>& keep) {
    hid_t how = -1;
    if (!w.Group(file, "how", how, keep) || !w.String(how, "software", object.software))
        return false;
    if (!object.nodes.empty() && !w.String(how, "nodes", NodeSequence(object.nodes))) return false;
    return object.camethod.empty() || w.String(how, "camethod", object.camethod);
}

bool WriteValues(Writer& w, hid_t group, const GridValues& values) {
    const RadarGrid& grid = values.grid;
    const hsize_t dims[2] = {static_cast<hsize_t>(grid.rows()),
                             static_cast<hsize_t>(grid.columns())};
    // The image's first row is its northern edge; the grid keeps the south first.
    std::vector<int32_t> northUp(values.values.size());
    const auto columns = static_cast<size_t>(grid.columns());
    for (size_t row = 0; row < dims[0]; ++row) {
        std::memcpy(&northUp[(dims[0] - 1 - row) * columns], &values.values[row * columns],
                    columns * sizeof(int32_t));
    }
    // The library serialises every call under one lock; compressed here,
    // the grid costs the lock only its copying, so that workers encode in
    // parallel. The bytes are what the library's own deflate filter makes
    // (zlib at the same level), and like that filter a grid that does not
    // shrink is stored as it is, its filter marked skipped.
    static_assert(std::endian::native == std::endian::little, "the file's integers are LE");
    const auto rawSize = static_cast<uLong>(northUp.size() * sizeof(int32_t));
    std::vector<Bytef> packed(compressBound(rawSize));
    uLongf packedSize = packed.size();
    const bool shrinks =
        compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(northUp.data()),
                  rawSize, static_cast<int>(kDeflateLevel)) == Z_OK &&
        packedSize < rawSize;
    const Id space(H5Screate_simple(2, dims, nullptr), H5Sclose);
    const Id properties = Untimed(H5P_DATASET_CREATE);
    if (!w.Check(space.ok() && properties.ok() && H5Pset_chunk(properties.get(), 2, dims) >= 0 &&
                     H5Pset_deflate(properties.get(), kDeflateLevel) >= 0,
                 "set up the compressed data"))
        return false;
    const Id data(H5Dcreate2(group, "data", H5T_STD_I32LE, space.get(), H5P_DEFAULT,
                             properties.get(), H5P_DEFAULT),
                  H5Dclose);
    const hsize_t origin[2] = {0, 0};
    const uint32_t skipped = shrinks ? 0u : 1u;  // bit 0: the first filter, deflate
    return w.Check(
        data.ok() &&
            H5Dwrite_chunk(data.get(), H5P_DEFAULT, skipped, origin, shrinks ? packedSize : rawSize,
                           shrinks ? static_cast<const void*>(packed.data()) : northUp.data()) >= 0,
        "write the data");
}

// The legend of classified data: a table of (key, value) pairs, both
// fixed-length strings.
bool WriteLegend(Writer& w, hid_t group, const std::vector<OdimLegendEntry>& legend) {
    size_t keySize = 1, valueSize = 1;
    bool ascii = true;
    for (const OdimLegendEntry& entry : legend) {
        keySize = std::max(keySize, entry.key.size() + 1);
        valueSize = std::max(valueSize, entry.value.size() + 1);
        ascii = ascii && Writer::IsAscii(entry.key);
    }
    const Id keyType(H5Tcopy(H5T_C_S1), H5Tclose);
    const Id valueType(H5Tcopy(H5T_C_S1), H5Tclose);
    const Id row(H5Tcreate(H5T_COMPOUND, keySize + valueSize), H5Tclose);
    if (!w.Check(keyType.ok() && valueType.ok() && row.ok(), "make the legend's type"))
        return false;
    H5Tset_size(keyType.get(), keySize);
    H5Tset_strpad(keyType.get(), H5T_STR_NULLTERM);
    H5Tset_cset(keyType.get(), ascii ? H5T_CSET_ASCII : H5T_CSET_UTF8);
    H5Tset_size(valueType.get(), valueSize);
    H5Tset_strpad(valueType.get(), H5T_STR_NULLTERM);
    H5Tinsert(row.get(), "key", 0, keyType.get());
    H5Tinsert(row.get(), "value", keySize, valueType.get());
    std::vector<char> rows(legend.size() * (keySize + valueSize), '\0');
    for (size_t i = 0; i < legend.size(); ++i) {
        char* at = rows.data() + i * (keySize + valueSize);
        std::memcpy(at, legend[i].key.data(), legend[i].key.size());
        std::memcpy(at + keySize, legend[i].value.data(), legend[i].value.size());
    }
    const hsize_t count = legend.size();
    const Id space(H5Screate_simple(1, &count, nullptr), H5Sclose);
    const Id properties = Untimed(H5P_DATASET_CREATE);
    const Id data(H5Dcreate2(group, "legend", row.get(), space.get(), H5P_DEFAULT, properties.get(),
                             H5P_DEFAULT),
                  H5Dclose);
    return w.Check(data.ok() && H5Dwrite(data.get(), row.get(), H5S_ALL, H5S_ALL, H5P_DEFAULT,
                                         rows.data()) >= 0,
                   "write the legend");
}

bool WriteDataset(Writer& w, hid_t file, int index, const OdimObject& object,
                  const OdimDataset& dataset) {
    std::vector<Id> keep;
    hid_t group = -1, what = -1, data = -1, dataWhat = -1;
    const std::string name = "dataset" + std::to_string(index);
    if (!w.Group(file, name.c_str(), group, keep) || !w.Group(group, "what", what, keep) ||
        !w.String(what, "product", dataset.product))
        return false;
    if (dataset.prodpar.size() == 1 && !w.Double(what, "prodpar", dataset.prodpar.front()))
        return false;
    if (dataset.prodpar.size() > 1 && !w.Doubles(what, "prodpar", dataset.prodpar)) return false;
    if (!w.String(what, "startdate", object.date) || !w.String(what, "starttime", object.time) ||
        !w.String(what, "enddate", object.date) || !w.String(what, "endtime", object.time))
        return false;
    if (!w.Group(group, "data1", data, keep) || !w.Group(data, "what", dataWhat, keep) ||
        !w.String(dataWhat, "quantity", dataset.quantity) ||
        !w.Double(dataWhat, "gain", dataset.gain) ||
        !w.Double(dataWhat, "offset", dataset.offset) ||
        !w.Double(dataWhat, "nodata", dataset.nodata) ||
        !w.Double(dataWhat, "undetect", dataset.undetect))
        return false;
    if (!WriteValues(w, data, dataset.values)) return false;
    return dataset.legend.empty() || WriteLegend(w, data, dataset.legend);
}

bool WriteObject(Writer& w, hid_t file, const OdimObject& object) {
    std::vector<Id> keep;
    if (!WriteTopWhat(w, file, object, keep) ||
        !WriteTopWhere(w, file, object.datasets.front().values.grid, keep) ||
        !WriteTopHow(w, file, object, keep))
        return false;
    for (size_t i = 0; i < object.datasets.size(); ++i) {
        if (!WriteDataset(w, file, static_cast<int>(i) + 1, object, object.datasets[i]))
            return false;
    }
    return true;
}

std::optional<std::string> FileImage(Writer& w, hid_t file) {
    if (!w.Check(H5Fflush(file, H5F_SCOPE_GLOBAL) >= 0, "finish the file")) return std::nullopt;
    const ssize_t size = H5Fget_file_image(file, nullptr, 0);
    if (!w.Check(size > 0, "size the file")) return std::nullopt;
    std::string bytes(static_cast<size_t>(size), '\0');
    if (!w.Check(H5Fget_file_image(file, bytes.data(), bytes.size()) == size, "copy the file"))
        return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::string> EncodeOdimH5(const OdimObject& object, std::string& error) {
    error = Check(object);
    if (!error.empty()) return std::nullopt;
    // The library reports through `error`, never on standard error.
    H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
    Writer w(error);
    const Id access(H5Pcreate(H5P_FILE_ACCESS), H5Pclose);
    if (!w.Check(access.ok() && H5Pset_fapl_core(access.get(), 1 << 16, 0) >= 0,
                 "set up a file in memory"))
        return std::nullopt;
    // The in-memory driver tells files apart by name: each encoding has its own.
    static std::atomic<unsigned long> next{0};
    const std::string name = "odim-" + std::to_string(next++) + ".h5";
    std::optional<std::string> bytes;
    {
        // The root group, too, is made without a time.
        const Id creation = Untimed(H5P_FILE_CREATE);
        const Id file(H5Fcreate(name.c_str(), H5F_ACC_EXCL, creation.get(), access.get()),
                      H5Fclose);
        if (!w.Check(file.ok(), "create a file in memory")) return std::nullopt;
        if (!WriteObject(w, file.get(), object)) return std::nullopt;
        bytes = FileImage(w, file.get());
    }
    return bytes;
}

bool WriteOdimFile(const OdimObject& object, const std::string& path, std::string& error) {
    const std::optional<std::string> bytes = EncodeOdimH5(object, error);
    if (!bytes) {
        error = "Cannot make " + path + ": " + error;
        return false;
    }
    return ReplaceFileContents(path, *bytes, error);
}

}  // namespace kalvera
