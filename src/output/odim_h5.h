#pragma once
// The exchange format of radar products between services: the OPERA data
// information model (ODIM_H5, version 2.4) in an HDF5 file. One file holds one
// object: a site's products of one term (IMAGE) or the composite of several
// sites (COMP), every product on the same grid.
//
// The grid goes in as it is held: raw cell values with a gain and an offset
// (value = offset + gain * raw), so that a reader gets back exactly the numbers
// the viewer shows. A cell no data covers keeps its raw kNoDataCell as
// `nodata`; 0, covered but nothing detected, is `undetect`.

#include <optional>
#include <string>
#include <vector>

#include "geo/radar_grid.h"

namespace kalvera {

// One class of classified data: its name and its raw value as text, as
// ODIM's legend dataset holds them.
struct OdimLegendEntry {
    std::string key;
    std::string value;
};

// One product: /datasetN with its one /datasetN/data1.
struct OdimDataset {
    std::string product;   // ODIM product: "CAPPI", "ETOP", "MAX", "VIL", "SURF", "COMP" ...
    std::string quantity;  // ODIM quantity: "DBZH", "HGHT", "VIL", "CLASS" ...
    // The product's parameter as the model's product table types it: one
    // double (a CAPPI's height in metres, an echo top's reflectivity level in
    // dBZ) or an array of doubles (VIL's bottom and top in metres); nothing
    // when the product has none.
    std::vector<double> prodpar;
    double gain = 1.0;
    double offset = 0.0;
    double nodata = 65535.0;
    double undetect = 0.0;
    GridValues values;                    // raw, rows from the south
    std::vector<OdimLegendEntry> legend;  // the classes of CLASS data
};

struct OdimObject {
    std::string object = "IMAGE";  // "IMAGE" for one site, "COMP" for a composite
    // what/source, the identifiers of the office and the radar (see
    // odim_source.h): required, a file without it cannot be traced.
    std::string source;
    std::string date;  // nominal YYYYMMDD (UTC)
    std::string time;  // nominal HHmmss (UTC)
    // A composite's contributing sites (how/nodes) and the way it chose among
    // them (how/camethod, ODIM's "MAXIMUM", "NEAREST" ...).
    std::vector<std::string> nodes;
    std::string camethod;
    std::string software = "Kalvera";
    // All on one grid: products within a thousandth of a cell of the first
    // one's grid are written on it.
    std::vector<OdimDataset> datasets;
};

// The file's bytes (made in memory: no file is touched), or nothing with the
// reason in `error`: no source, no dataset, datasets on different grids or a
// grid no GIS program can place, or the library failed. The same object gives
// the same bytes: no object carries the time it was made.
std::optional<std::string> EncodeOdimH5(const OdimObject& object, std::string& error);

// Encodes the object and replaces `path` with it whole; false with a reason
// naming the file.
bool WriteOdimFile(const OdimObject& object, const std::string& path, std::string& error);

}  // namespace kalvera
