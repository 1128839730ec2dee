// A Google Earth file: the cells as a ground overlay on the grid square, the
// legend pinned to the screen and the site as a placemark, in one zip.

#include <cpl_conv.h>
#include <cpl_minixml.h>
#include <cpl_string.h>
#include <cpl_vsi.h>

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>

#include "common/date_time.h"
#include "common/little_endian.h"
#include "geo/map_projection.h"
#include "nowcast/extrapolation.h"
#include "output/gdal_session.h"
#include "output/map_export.h"
#include "output/map_georef.h"
#include "output/map_images.h"
#include "render/legend_tables.h"
#include "render/nowcast_layer.h"

namespace kalvera {

namespace {

constexpr const char* kOverlayName = "overlay.png";
constexpr const char* kLegendName = "legend.png";

std::string Degrees(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9f", value);
    return text;
}

CPLXMLNode* Element(CPLXMLNode* parent, const char* name, const std::string& value = {}) {
    return value.empty() ? CPLCreateXMLNode(parent, CXT_Element, name)
                         : CPLCreateXMLElementAndValue(parent, name, value.c_str());
}

// <name x="..." y="..." xunits="fraction" yunits="fraction"/>
void FractionPoint(CPLXMLNode* parent, const char* name, double x, double y) {
    CPLXMLNode* point = Element(parent, name);
    CPLAddXMLAttributeAndValue(point, "x", CPLSPrintf("%g", x));
    CPLAddXMLAttributeAndValue(point, "y", CPLSPrintf("%g", y));
    CPLAddXMLAttributeAndValue(point, "xunits", "fraction");
    CPLAddXMLAttributeAndValue(point, "yunits", "fraction");
}

void AddGroundOverlay(CPLXMLNode* document, const MapSource& source) {
    CPLXMLNode* overlay = Element(document, "GroundOverlay");
    Element(overlay, "name", LayerTitle(source.layerCode));
    const std::string when = ValidTimeOf(source);
    if (!when.empty()) Element(Element(overlay, "TimeStamp"), "when", when);
    Element(Element(overlay, "Icon"), "href", kOverlayName);
    const GeoBox box = GridBoxOf(source.Cells().grid);
    CPLXMLNode* bounds = Element(overlay, "LatLonBox");
    Element(bounds, "north", Degrees(box.north));
    Element(bounds, "south", Degrees(box.south));
    // KML wants -180..180; across the antimeridian east then reads less than west.
    Element(bounds, "east", Degrees(LonInRange(box.east)));
    Element(bounds, "west", Degrees(LonInRange(box.west)));
}

void AddLegend(CPLXMLNode* document) {
    CPLXMLNode* legend = Element(document, "ScreenOverlay");
    Element(legend, "name",
            QCoreApplication::translate("kalvera::Header", "Легенда").toStdString());
    Element(Element(legend, "Icon"), "href", kLegendName);
    // The top-left corner of the legend at the top left of the view; the
    // image keeps its own size.
    FractionPoint(legend, "overlayXY", 0.0, 1.0);
    FractionPoint(legend, "screenXY", 0.01, 0.98);
    FractionPoint(legend, "size", 0.0, 0.0);
}

void AddSite(CPLXMLNode* document, const std::string& name, const std::string& code, float lat,
             float lon) {
    CPLXMLNode* site = Element(document, "Placemark");
    Element(site, "name", name.empty() ? code : name);
    Element(site, "description",
            QCoreApplication::translate("kalvera::Header", "РРП ").toStdString() + code);
    Element(Element(site, "Point"), "coordinates", Degrees(lon) + "," + Degrees(lat));
}

// A forecast says so in its name, with its lead and, from +40 minutes on,
// that it is of low skill.
std::string ForecastNote(const MapSource& source) {
    if (source.leadMinutes <= 0) return "";
    return ", " + ForecastLabel(source.leadMinutes) +
           (IsLowSkillLead(source.leadMinutes) ? ", " + LowSkillText() : std::string());
}

std::string KmlText(const MapSource& source) {
    CPLXMLNode* kml = CPLCreateXMLNode(nullptr, CXT_Element, "kml");
    CPLAddXMLAttributeAndValue(kml, "xmlns", "http://www.opengis.net/kml/2.2");
    CPLXMLNode* document = Element(kml, "Document");
    Element(document, "name",
            source.siteName + " " + IsoTimeOf(source.dayName, source.termText).substr(0, 10) + " " +
                source.termText +
                QCoreApplication::translate("kalvera::Header", " сгв — ").toStdString() +
                LayerTitle(source.layerCode) + ForecastNote(source));
    AddGroundOverlay(document, source);
    AddLegend(document);
    if (source.composite) {
        for (const MosaicSite& site : source.compositeSites) {
            AddSite(document, site.code, site.code, site.lat, site.lon);
        }
    } else {
        AddSite(document, source.siteName, source.siteCode, source.siteLat, source.siteLon);
    }
    char* text = CPLSerializeXMLTree(kml);
    std::string kmlText = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") + text;
    CPLFree(text);
    CPLDestroyXMLNode(kml);
    return kmlText;
}

bool AddToZip(const std::string& zip, const char* name, const std::string& bytes) {
    VSILFILE* file = VSIFOpenL(("/vsizip/" + zip + "/" + name).c_str(), "wb");
    if (!file) return false;
    const bool written = VSIFWriteL(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return VSIFCloseL(file) == 0 && written;
}

unsigned char* At(std::string& bytes, size_t at) {
    return reinterpret_cast<unsigned char*>(bytes.data()) + at;
}

// GDAL's zip writer leaves every entry's DOS date at zero, which unzip
// lists as 1980 or as no date at all. This stamps `when` on each entry, in its central directory
// record and in its local header. An archive it cannot walk is left as it is.
void StampZipEntries(std::string& zip, double when) {
    constexpr size_t kEndRecord = 22, kCentralRecord = 46, kLocalHeader = 30;
    if (zip.size() < kEndRecord) return;
    // The end record is last but for an archive comment.
    size_t end = zip.size() - kEndRecord;
    while (ReadLe32(At(zip, end)) != 0x06054b50) {
        if (end == 0) return;
        --end;
    }
    const CivilDate date = DecodeDate(when);
    const CivilTime time = DecodeTime(when);
    const auto dosDate = static_cast<uint16_t>((std::clamp(date.year, 1980, 2107) - 1980) << 9 |
                                               date.month << 5 | date.day);
    const auto dosTime =
        static_cast<uint16_t>(time.hour << 11 | time.minute << 5 | time.second / 2);
    size_t record = ReadLe32(At(zip, end + 16));
    for (int entries = ReadLe16(At(zip, end + 10)); entries > 0; --entries) {
        if (record + kCentralRecord > end || ReadLe32(At(zip, record)) != 0x02014b50) return;
        const size_t local = ReadLe32(At(zip, record + 42));
        if (local + kLocalHeader > record || ReadLe32(At(zip, local)) != 0x04034b50) return;
        WriteLe16(At(zip, record + 12), dosTime);
        WriteLe16(At(zip, record + 14), dosDate);
        WriteLe16(At(zip, local + 10), dosTime);
        WriteLe16(At(zip, local + 12), dosDate);
        record += kCentralRecord + ReadLe16(At(zip, record + 28)) + ReadLe16(At(zip, record + 30)) +
                  ReadLe16(At(zip, record + 32));
    }
}

// The entries' date: the term's own time (GMT), not the clock's, so that the
// same term gives the same archive byte for byte and a checksum tells a
// changed picture from a rerun.
double EntryTimeOf(const MapSource& source) {
    const std::string iso = ValidTimeOf(source);  // 2026-12-07T12:00:00Z
    if (iso.size() < 19) return EncodeDate(1980, 1, 1);
    const auto field = [&iso](size_t at, size_t size) { return std::stoi(iso.substr(at, size)); };
    return EncodeDateTime({field(0, 4), field(5, 2), field(8, 2)},
                          {field(11, 2), field(14, 2), field(17, 2)});
}

}  // namespace

std::optional<std::string> EncodeKmz(const MapSource& source, std::string& error) {
    const MapImages images = DrawMapImages(source);
    if (images.overlayPng.empty() || images.legendPng.empty()) {
        error = "the overlay images could not be drawn";
        return std::nullopt;
    }
    GdalQuiet quiet;
    MemoryDir memory;
    const std::string zip = memory.path("map.kmz");
    // The archive is finished when its own handle closes; Google Earth reads
    // the first .kml entry, so doc.kml goes first.
    VSILFILE* archive = VSIFOpenL(("/vsizip/" + zip).c_str(), "wb");
    bool ok = archive != nullptr && AddToZip(zip, "doc.kml", KmlText(source)) &&
              AddToZip(zip, kOverlayName, images.overlayPng) &&
              AddToZip(zip, kLegendName, images.legendPng);
    if (archive && VSIFCloseL(archive) != 0) ok = false;
    if (!ok) {
        error = GdalQuiet::LastReason("the KMZ archive could not be made");
        return std::nullopt;
    }
    std::optional<std::string> kmz = memory.read("map.kmz");
    if (kmz) StampZipEntries(*kmz, EntryTimeOf(source));
    return kmz;
}

}  // namespace kalvera
