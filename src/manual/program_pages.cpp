// What kalvera, kalvera-cli and kalvera-demo tell about themselves.

#include "manual/manual_page.h"

namespace kalvera::manual {

namespace {

const Option kHelp{"--help", "Prints the usage and exits."};
const Option kVersion{"--version", "Prints the program's version and exits."};

const Option kStartDir{"--start-dir DIR",
                       "The start directory: its settings file names the data root, and its res/ "
                       "holds the map resources and the palette."};
const Option kSite{"--site CODE", "The radar site, as the archive's folders name it."};
const Option kDay{"--day YYMMDD", "The day (UTC), a real calendar date in 2000 to 2099."};
const Option kTerm{"--term HH.MM", "The term (UTC) of that day."};
const Option kLayer{"--layer N|max|vil",
                    "The layer: an archive layer code (0 to 255; 1 to 10 reflectivity, 21 echo "
                    "tops, 22 phenomena), max for the column maximum of layers 1 to 10 or vil "
                    "for the vertically integrated liquid. The codes 256 and 257 are refused: "
                    "say max or vil."};
const Option kSide{"--side PX", "The side of the map square in pixels, 64 to 8000 (default 700)."};
const Option kCentre{"--centre LAT,LON",
                     "The centre of the view in degrees (latitude -89 to 89); by default the "
                     "radar site."};
const Option kPictureLang{"--lang ru|en",
                          "The language of the texts drawn on the picture (header lines, "
                          "legend, titles): ru (the default) or en."};
const Option kLat{"--lat LAT", "Latitude of the point in degrees, -90 to 90."};
const Option kLon{"--lon LON", "Longitude of the point in degrees, -360 to 360."};
const Option kHalfExtent{"--half-extent KM",
                         "Half the side of the view in kilometres, 10 to 5000 (default 200)."};
const Option kColors{"--colors FILE|PRESET",
                     "The colour table of the layer's kind: a table file in the text format "
                     "other radar viewers share, or a preset by name (classic, the palette of "
                     "res/colors.bin and the default; colourblind-reflectivity, "
                     "colourblind-phenomena, greyscale; or a table in DIR/res/colors or "
                     "~/.config/kalvera/colors). The legend follows the table."};
const Option kOpacity{"--opacity PERCENT",
                      "How opaque the cells are over the map, 20 to 100 in steps of 5 (default "
                      "100: the map's outlines show through as in the viewer)."};

const Option kSrs{"--srs EPSG:NNNN|PROJ",
                  "With a .tif: the grid warped by GDAL, nearest neighbour, into this spatial "
                  "reference (an EPSG code, a PROJ string or any text GDAL takes), no data kept "
                  "as -9999."};
const Option kSites{"--sites A,B,...",
                    "The sites of the composite, as the archive's folders name them (default: "
                    "every site folder of the data root)."};
const Option kMethod{"--method max|nearest",
                     "How overlapping sites make one value: max (the default; for phenomena the "
                     "most severe class) or nearest (the site nearest the cell's centre)."};
const Option kTolerance{"--tolerance MINUTES",
                        "Each site gives its term nearest the asked one within this many "
                        "minutes, 0 to 720 (default 5); a site without one is missing."};

const char* kCliText =
    "kalvera-cli does from a script what the kalvera viewer does on the screen. It reads the "
    "start directory's settings file, the site's day archive (an index file and a base file "
    "per day) and the map resources under DIR/res. No display is needed: the offscreen "
    "platform is used when QT_QPA_PLATFORM is not set.\n\n"
    "Every file it writes is made whole in memory and then replaces the target, so that a "
    "program reading it sees the old file or the new one; a failure leaves the target as it "
    "was. Options that the chosen output has no use for are refused rather than ignored.";

Command Render() {
    return {"render",
            "--start-dir DIR --site CODE --day YYMMDD --term HH.MM --layer N|max|vil --out FILE "
            "[--side PX] [--centre LAT,LON] [--half-extent KM] [--colors FILE|PRESET] "
            "[--opacity PERCENT] [--lang ru|en]",
            "The picture of a term as JPEG, PNG or the printed page.",
            "Loads the term and layer and composes the picture as the viewer's automatic export "
            "does: the header band with its two lines, the map with the cells over it and the "
            "legend, (side + 100) x (side + 40) pixels.",
            {kStartDir,
             kSite,
             kDay,
             kTerm,
             kLayer,
             {"--out FILE",
              "A name ending in .png is written as PNG, one ending in .pdf as the printed A4 "
              "page (which has a map square of its own size, so --side is refused), anything "
              "else as a baseline JPEG of quality 90."},
             kSide,
             kCentre,
             kHalfExtent,
             kColors,
             kOpacity,
             kPictureLang}};
}

Command Loop() {
    return {"loop",
            "--start-dir DIR --site CODE --day YYMMDD --term HH.MM --frames N --layer N|max|vil "
            "--out FILE.gif [--fps F] [--dwell SECONDS] [--side PX] [--centre LAT,LON] "
            "[--half-extent KM] [--colors FILE|PRESET] [--opacity PERCENT] [--lang ru|en]",
            "The newest terms up to a term as an animated GIF.",
            "Writes the N newest terms up to and including --term, oldest first, as a GIF that "
            "loops forever; when the day holds fewer, the loop reaches back into the days "
            "before it (up to ten days). Each frame is the picture that render writes for its "
            "term with the same options. Terms that cannot be decoded are left out and counted "
            "on standard error.",
            {kStartDir,
             kSite,
             kDay,
             kTerm,
             {"--frames N", "How many terms, 2 to 72."},
             kLayer,
             {"--out FILE.gif", "The GIF; another suffix is refused."},
             {"--fps F", "Frames per second, 1 to 15 (default 4)."},
             {"--dwell SECONDS", "How long the newest frame stays, 0 to 30 (default 1.5)."},
             kSide,
             kCentre,
             kHalfExtent,
             kColors,
             kOpacity,
             kPictureLang}};
}

Command Export() {
    return {"export",
            "--start-dir DIR --site CODE --day YYMMDD --term HH.MM --layer N|max|vil --out FILE "
            "[--world-file [--side PX] [--centre LAT,LON] [--half-extent KM] [--opacity PERCENT]] "
            "[--srs SRS] [--colors FILE|PRESET] [--lang ru|en]",
            "A term's layer for GIS programs, Google Earth and web pages.",
            "Writes the term's layer, through GDAL, in the format that the suffix of FILE names "
            "(in any case). All files are in WGS 84 longitude and latitude (EPSG:4326):\n\n"
            "- .tif: a GeoTIFF of the 100 x 100 grid in physical values (dBZ, metres of echo "
            "top, the phenomenon code, kg/m2 of VIL), no data as -9999.\n"
            "- .kmz: a Google Earth file: the cells as a ground overlay on the grid square, 8 "
            "pixels a cell, the legend as a screen overlay and the site as a placemark.\n"
            "- .geojson (also .json) and .gpkg: the polygons of each legend class, with the "
            "attributes class, label, min_value, max_value and units; with a colour table the "
            "classes are the table's, cut at its bounds, with min, max and the table's units.\n"
            "- .png with --world-file: the map square alone with NAME.pgw, NAME.prj and "
            "NAME.png.aux.xml beside it, the four files replaced together or not at all.\n\n"
            "- .h5: ODIM_H5 2.4 (OPERA's exchange format), an IMAGE object with one dataset "
            "per product the term holds (layers 1 to 10 as CAPPI, 21 as ETOP, 22 as SURF "
            "CLASS with its legend, max as MAX, vil as VIL), raw values with gain, offset, "
            "nodata 65535 and undetect 0, echo tops in metres. what/source comes from "
            "res/odim.txt (the office's ORG, the site's NOD); without them no file is "
            "written. --layer does not apply: --layers chooses.\n\n"
            "The grid files hold the grid square whatever the view, so they refuse --side, "
            "--centre, --half-extent and --opacity. The GeoTIFF holds physical values whatever "
            "--colors says.",
            {kStartDir,
             kSite,
             kDay,
             kTerm,
             kLayer,
             {"--out FILE.tif|.kmz|.geojson|.gpkg|.png|.h5", "The file to write."},
             {"--layers LIST",
              "With a .h5 only: all (the default) or the products to hold, as a "
              "comma-separated list of 1 to 10, 21, 22, max and vil."},
             {"--world-file", "Required with a .png, refused with any other format."},
             kSrs,
             kSide,
             kCentre,
             kHalfExtent,
             kOpacity,
             kColors,
             kPictureLang}};
}

Command Import() {
    return {"import",
            "--from FILE... --start-dir DIR --sites A,B,...|--site CODE --centre LAT,LON",
            "Other services' ODIM_H5 and GeoTIFF radar rasters into the archive.",
            "Reads each FILE: an ODIM_H5 IMAGE or COMP object (DBZH or TH, HGHT for echo "
            "tops, a SURF CLASS for phenomena) or a single-band georeferenced GeoTIFF of "
            "reflectivity in dBZ (or of what its LAYER metadata names). Each product is "
            "resampled onto the 100 x 100 grid of every site named: each cell takes the source "
            "cell under its centre (nearest), in the source's own projection. A CAPPI lands on "
            "the layer of its height, any other reflectivity on layer 1. The term keeps the "
            "source's nominal time (what/date and what/time; the GeoTIFF's TIME or "
            "TIFFTAG_DATETIME) and is appended to the site's day archive as the archiver "
            "appends, so that a reader never sees half a term; a term the archive holds is "
            "left alone. Cells without data stay without data (65535); covered cells with "
            "nothing seen are 0. A file that cannot be read is named on standard error and "
            "skipped; the status is 1 when no file could be imported.",
            {{"--from FILE...", "The files to import."},
             kStartDir,
             {"--sites A,B,...", "Sites of the archive, where their newest messages place them."},
             {"--site CODE", "A site of one's own, with --centre."},
             {"--centre LAT,LON", "The made-up site's position, degrees."}}};
}

Command Batch() {
    return {"batch",
            "--start-dir DIR --from YYMMDD --to YYMMDD [--sites A,B,...|all] [--mosaic] "
            "[--method max|nearest] [--tolerance MINUTES] --layers LIST --format tif|h5|png|kmz "
            "--out DIR [--jobs N] [--shard K/N] [--allow-missing] [--lang ru|en]",
            "Every term of a range of days at many sites, a file per product.",
            "Writes each product of every term of every day from --from to --to at every site "
            "chosen as OUT/SITE/YYMMDD/SITE_YYMMDD_HHMM_PRODUCT.EXT (PRODUCT 1 to 10, 21, 22, "
            "max or vil); an ODIM_H5 file holds all the products of its term and is named "
            "OUT/SITE/YYMMDD/SITE_YYMMDD_HHMM.h5. tif and kmz are what export writes, png the "
            "picture that render writes.\n\n"
            "With --mosaic the files are the composite's, OUT/mosaic/YYMMDD/"
            "mosaic_YYMMDD_HHMM_PRODUCT.EXT (mosaic_YYMMDD_HHMM.h5, a COMP object): one per term "
            "that any of the sites has that day, png the picture that mosaic writes; --shard "
            "then deals out the days.\n\n"
            "Files are written whole, so a file that exists is complete. Each site day's folder "
            "keeps a record (.batch-record) of what each file was asked to be: a rerun skips a "
            "file made as now asked and rebuilds one made with other products, method, "
            "tolerance or sites, or a composite made without a site that can take part now; "
            "an interrupted run resumes where it stopped, and the temporary files a killed run "
            "left are removed. An unknown site code is a usage error. On a terminal a progress "
            "line shows terms done, the rate and the time left; otherwise a line is printed per "
            "finished day. The run ends with a summary (files written, skipped, absent from the "
            "archive, failed, and with --mosaic the composite terms made without an asked site) "
            "and the reasons on standard error; the status is 1 if anything failed or, unless "
            "--allow-missing, if a composite lacks an asked site.\n\n"
            "--shard K/N takes the K-th of N parts of the site days: the site days in order, "
            "day by day and site by site, dealt out in turn. The parts are disjoint, together "
            "whole and the same on every machine given the same arguments, so N machines or "
            "a batch system's job array share a range without talking to each other.",
            {kStartDir,
             {"--from YYMMDD", "The first day (UTC)."},
             {"--to YYMMDD", "The last day (UTC), included."},
             {"--sites A,B,...|all",
              "The sites; all (the default) takes every folder of the data root."},
             {"--mosaic", "The composite of the sites rather than each site."},
             {"--method max|nearest", "With --mosaic: how the composite chooses, as for mosaic."},
             {"--tolerance MINUTES",
              "With --mosaic: how far a site's term may lie from the composite's, as for mosaic."},
             {"--layers LIST", "all or a comma-separated list of 1 to 10, 21, 22, max and vil."},
             {"--format tif|h5|png|kmz", "The kind of file written."},
             {"--out DIR", "Where the files go; made as needed."},
             {"--jobs N",
              "Workers on this machine, 1 (the default) to 256: threads, processes for h5."},
             {"--shard K/N", "Do only part K of N (1 <= K <= N)."},
             {"--allow-missing",
              "With --mosaic: a composite made without an asked site is no failure."},
             kPictureLang}};
}

Command Probe() {
    return {"probe",
            "--start-dir DIR --site CODE|--mosaic --day YYMMDD --term HH.MM --layer N|max|vil "
            "--lat LAT --lon LON [--centre LAT,LON] [--sites A,B,...] [--method max|nearest] "
            "[--tolerance MINUTES]",
            "The readout at a point, as JSON.",
            "Prints as one JSON object the texts that the header's value, azimuth, range, "
            "latitude and longitude cells would show with the mouse over the point (azimuth "
            "and range from the view centre). With --mosaic it reads the composite instead: "
            "the value (\"nodata\" where no site covers the point), the site that gave it, "
            "and the sites used and missing.",
            {kStartDir,
             kSite,
             {"--mosaic", "Reads the composite of the sites rather than one site."},
             kDay,
             kTerm,
             kLayer,
             kLat,
             kLon,
             kCentre,
             kSites,
             kMethod,
             kTolerance}};
}

Command Mosaic() {
    return {"mosaic",
            "--start-dir DIR --day YYMMDD --term HH.MM --layer N|max|vil|--layers LIST "
            "[--sites A,B,...] [--method max|nearest] [--tolerance MINUTES] --out FILE "
            "[--srs SRS] [--colors FILE|PRESET] [--opacity PERCENT] [--lang ru|en]",
            "The composite of the sites for a term, as a picture or a map file.",
            "Joins the sites' grids of a term on one latitude/longitude grid over the union of "
            "their squares, with cells half a site cell on a side. Reflectivity, max and echo "
            "tops take the maximum of the sites (or the nearest site's value), phenomena the "
            "most severe class; max and VIL are made from the composited layers 1 to 10. Cells "
            "no site covers are no data, apart from covered cells where nothing was detected. "
            "Standard error names the sites used, with their terms, and those missing with "
            "the reason.",
            {kStartDir,
             kDay,
             kTerm,
             kLayer,
             {"--layers LIST",
              "With a .h5 instead of --layer: all (the default) or a comma-separated list of 1 "
              "to 10, 21, 22, max and vil."},
             kSites,
             kMethod,
             kTolerance,
             {"--out FILE.png|.tif|.kmz|.geojson|.gpkg|.h5",
              "A .png is the picture: a header line, the map with the cells, grey where no site "
              "covers, the sites' squares, and the legend. The others are the map files that "
              "export writes, on the composite's grid; the GeoTIFF's metadata lists the SITES "
              "and the METHOD, the polygons add class 0 for the covered area. A .h5 is an "
              "ODIM_H5 COMP object: the products as datasets, the sites that made them as "
              "nodes and the method as camethod."},
             kSrs,
             kColors,
             kOpacity,
             kPictureLang}};
}

Command Section() {
    return {"section",
            "--start-dir DIR --site CODE --day YYMMDD --term HH.MM --from LAT,LON --to LAT,LON "
            "--out FILE.png|FILE.csv [--lang ru|en]",
            "A vertical section along a line, as a picture or numbers.",
            "Writes the section window's picture (PNG, 900 x 500) or its numbers (CSV), one "
            "sample every kilometre along the line: distance_km,lat,lon,v1,...,v10,top. Each "
            "vN is what probe --layer N reads at that point.",
            {kStartDir,
             kSite,
             kDay,
             kTerm,
             {"--from LAT,LON", "Where the line starts, in degrees."},
             {"--to LAT,LON", "Where the line ends, in degrees."},
             {"--out FILE.png|FILE.csv", "The picture or the numbers."},
             kPictureLang}};
}

const Option kSiteOrMosaic{"--site CODE|--mosaic",
                           "The radar site, as the archive's folders name it, or --mosaic: the "
                           "composite of the sites (as mosaic makes it, with --sites, --method "
                           "and --tolerance), whose terms are those any of its sites has on the "
                           "day, one of two closer than the tolerance standing for both."};
const Option kCsv{"--csv", "Comma-separated values instead of aligned columns."};

Command Nowcast() {
    return {"nowcast",
            "--start-dir DIR --site CODE|--mosaic --day YYMMDD --term HH.MM --layer N|max|vil "
            "--lead MINUTES[,MINUTES...] --out FILE [--sites A,B,...] [--method max|nearest] "
            "[--tolerance MINUTES]",
            "A term's layer carried on along the echoes' motion.",
            "Reads the motion of the echoes from the column maximum of the term and up to two "
            "terms before it, across midnight from the day before where the term is among the "
            "day's first (optical flow, by their real time differences), and carries the "
            "term's layer along it for the lead (backward semi-Lagrangian extrapolation; "
            "phenomena and echo tops keep their values, reflectivity and VIL are "
            "interpolated). Leads of 40 minutes and more are of low skill and say so.",
            {kStartDir,
             kSiteOrMosaic,
             kDay,
             kTerm,
             kLayer,
             {"--lead MINUTES[,MINUTES...]",
              "The lead: 10, 20, 30, 40, 50 or 60, or several with commas (10,20,30,40,50,60) "
              "made in one call; then each lead's file is named with +MINUTES before the "
              "extension of --out (f.png gives f+10.png, f+20.png ...)."},
             {"--out FILE",
              "A .png is the picture as render draws it, headed with the lead and the base "
              "term; .tif, .kmz, .geojson and .gpkg are the map files of export. The GeoTIFF's "
              "metadata gives BASE_TERM, LEAD_MIN, the valid TIME and SKILL. With --mosaic the "
              "picture and files are those of mosaic, on the composite's grid."},
             kSites,
             kMethod,
             kTolerance}};
}

Command Cells() {
    return {"cells",
            "--start-dir DIR --site CODE|--mosaic --day YYMMDD [--term HH.MM] [--threshold DBZ] "
            "[--csv] [--sites A,B,...] [--method max|nearest] [--tolerance MINUTES]",
            "The day's storm cells, tracked from term to term.",
            "A cell is a connected area of column maximum of at least 40 dBZ and 3 grid cells; "
            "peaks with a minimum at least 6 dBZ deep between them are separate cells. Cells "
            "are followed through the day along the motion field and keep their numbers. "
            "Prints one row per cell and term: "
            "term,id,lat,lon,area_km2,max_dbz,top_m,vil_max,speed_kmh,heading_deg,motion. Speed "
            "and heading (where the cell goes, clockwise from north) come from the cell's own "
            "path once it has three positions of its own and agrees with the motion field within "
            "20 km/h (motion: track); otherwise from the motion field averaged over the cell "
            "(field_young: new, split or merged; field_over_track: its path is growth or decay, "
            "not motion). Where nothing is known yet, or the speed is above 150 km/h "
            "(implausible), speed and heading are empty. A figure the term lacks is an empty "
            "field.",
            {kStartDir,
             kSiteOrMosaic,
             kDay,
             {"--term HH.MM", "Only that term's cells, numbered as in the whole day."},
             {"--threshold DBZ", "The column maximum a cell reaches (default 40)."},
             kCsv,
             kSites,
             kMethod,
             kTolerance}};
}

Command Verify() {
    return {"verify",
            "--start-dir DIR --site CODE|--mosaic --day YYMMDD [--threshold DBZ] "
            "[--layer N|max] [--csv] [--sites A,B,...] [--method max|nearest] "
            "[--tolerance MINUTES]",
            "How the day's nowcasts scored against what came.",
            "Makes the nowcast from every term of the day that has at least three earlier "
            "terms (the last hour of the day before counts for its first terms) and compares each "
            "lead (10 to 60 minutes) with the term observed then, for "
            "the extrapolation and for persistence (the term unchanged), on the cells the "
            "extrapolation covers. Prints lead_min,method,hits,misses,false_alarms,pod,far,csi,fss "
            "over the day, fss being the fractions skill score over windows of 5 x 5 cells; a "
            "score with nothing to read it from is an empty field.",
            {kStartDir,
             kSiteOrMosaic,
             kDay,
             {"--threshold DBZ", "The reflectivity a cell must reach to count (default 30)."},
             {"--layer N|max", "A reflectivity layer 1 to 10, or max (the default)."},
             kCsv,
             kSites,
             kMethod,
             kTolerance}};
}

Command History() {
    return {"history",
            "--start-dir DIR --site CODE --day YYMMDD --lat LAT --lon LON [--csv]",
            "One point through a day, a row per term.",
            "Prints one row per term of the day: term,v1,...,v10,top,weather,max,vil, each what "
            "probe reads at that point for that term and layer (weather as the phenomenon "
            "code, vil in kg/m2). A layer the term lacks is an empty field.",
            {kStartDir,
             kSite,
             kDay,
             kLat,
             kLon,
             {"--csv", "Comma-separated values instead of aligned columns."}}};
}

Command Newest() {
    return {"newest",
            "--start-dir DIR [--site CODE] [--day YYMMDD] [--layer N]",
            "The newest term of a day and where its message starts.",
            "Prints one line TERM LAYER OFFSET BASE: the newest term, the layer, the byte "
            "offset of its message and the base file that holds it, ready for decode or info.",
            {kStartDir,
             {"--site CODE", "The site; by default the settings' default site."},
             {"--day YYMMDD",
              "The day; by default the site's newest day, found as the viewer finds it."},
             {"--layer N", "An archive layer code; by default the term's highest layer."}}};
}

Command Decode() {
    return {"decode",
            "BASE OFFSET [--layer N] [--site CODE]",
            "The grid of one message, as JSON.",
            "Reads the message at or after byte OFFSET of the base file BASE as the viewer does "
            "and prints ok, the first descriptor, the number of values, the site position and "
            "the 10 000 cell values (row 0 at the south) as JSON.",
            {{"--layer N", "The layer code, where the decoder depends on it (21 and 22)."},
             {"--site CODE", "The site code, where the decoder depends on it."}}};
}

Command Info() {
    return {"info",
            "BASE OFFSET",
            "The framing of one message.",
            "Prints where \"BUFR\" was found at or after OFFSET, the total length, the edition, "
            "the section lengths, the data category and the descriptor list expanded with the "
            "table entries behind each element.",
            {}};
}

Command Help() {
    return {"help",
            "[COMMAND]",
            "The commands, or one command and its options.",
            "Without COMMAND lists the commands; with it, prints what the command does and its "
            "options.",
            {}};
}

Page MakeCliPage() {
    return {"kalvera-cli",
            "render, animate, export, probe and decode weather-radar products from a day "
            "archive",
            "COMMAND [ARGUMENT...]",
            kCliText,
            {Render(), Loop(), Export(), Mosaic(), Batch(), Import(), Probe(), Section(), History(),
             Nowcast(), Cells(), Verify(), Newest(), Decode(), Info(), Help()},
            {kHelp, kVersion},
            {{"EXIT STATUS",
              "0 on success; 1 when the data could not be loaded or the output, standard "
              "output included, not written (the reason on standard error); 2 for a usage "
              "error."},
             {"EXAMPLES",
              "  kalvera-cli render --start-dir ~/kalvera --site 27612 --day 261207 \\\n"
              "      --term 12.00 --layer 22 --out /srv/www/radar/27612.jpg\n"
              "  kalvera-cli probe --start-dir ~/kalvera --site 27612 --day 261207 \\\n"
              "      --term 12.00 --layer 22 --lat 55.9 --lon 36.8\n"
              "  kalvera-cli info ~/kalvera/archive/27612/261207.bas 0"},
             {"SEE ALSO", "kalvera(1), kalvera-demo(1)"}}};
}

Page MakeViewerPage() {
    return {"kalvera",
            "viewer for weather-radar products in day archives",
            "[--lang ru|en|system] [--help] [--version]",
            "kalvera shows the BUFR radar products of a day archive (echo, tops, phenomena, "
            "column maximum and VIL) in palette colours over a map with range rings, a grid, "
            "places, a legend and a live readout of value, azimuth, range, latitude and "
            "longitude. An operator picks a site, a day, a term and a layer.\n\n"
            "The viewer reads its settings file and res/ from the directory it is started in. "
            "What a user chooses (colour tables, opacity, language, last folders) is kept in "
            "kalvera/kalvera.conf under the XDG configuration directory (~/.config by default).",
            {},
            {{"--lang ru|en|system",
              "The language of the window, its messages, Qt's own dialogs and dates: ru (the "
              "default, whatever the desktop's locale), en, or system to follow the desktop's "
              "locale. Without it, the language key of the user's settings file decides."},
             kHelp,
             kVersion},
            {{"FILES",
              "- settings: the office's settings (data root, sites, update period).\n"
              "- res/: the map and place resources and the palette colors.bin.\n"
              "- res/colors/*.pal: colour tables offered in the picture's menu, with the "
              "presets installed in share/kalvera/colors/ and the user's own in "
              "~/.config/kalvera/colors/.\n"
              "- res/publish.txt: the products published on each update; a line that begins "
              "with mosaic publishes the composite of every site."},
             {"SEE ALSO", "kalvera-cli(1), kalvera-demo(1)"}}};
}

Page MakeDemoPage() {
    return {"kalvera-demo",
            "write a start directory with a synthetic radar archive",
            "DIR [--days N] [--step MINUTES] [--live SECONDS] [--seed N] [--synthetic-sites N] "
            "[--data DIR]",
            "kalvera-demo writes into DIR the settings, the map resources and a day archive of "
            "synthetic radar products for several sites, ready for kalvera and kalvera-cli. "
            "Terms that are already there are kept. With --live it then keeps adding a term "
            "every SECONDS until interrupted, now and then writing an index record in two "
            "parts as a real archiver may.",
            {},
            {{"--days N", "Days of history up to now, today included, 0 to 366 (default 3)."},
             {"--step MINUTES", "Minutes between terms, 1 to 1440 (default 10)."},
             {"--live SECONDS", "Add a term every SECONDS (0.1 to 86400) until interrupted."},
             {"--seed N", "The seed of the weather, 0 to 4294967295, for a repeatable archive."},
             {"--synthetic-sites N",
              "Instead of the demo's sites, N made-up ones (1 to 400, codes 90001 on) spread "
              "over the region: an archive the size of a national network's, for trying batch "
              "runs at scale."},
             {"--data DIR",
              "Where the shipped resources are; by default the installed ones, found beside "
              "the program."},
             kHelp,
             kVersion},
            {{"EXIT STATUS",
              "0 on success, 1 when the directory cannot be written, 2 for a "
              "usage error."},
             {"SEE ALSO", "kalvera(1), kalvera-cli(1)"}}};
}

}  // namespace

const Page& ViewerPage() {
    static const Page page = MakeViewerPage();
    return page;
}

const Page& CliPage() {
    static const Page page = MakeCliPage();
    return page;
}

const Page& DemoPage() {
    static const Page page = MakeDemoPage();
    return page;
}

}  // namespace kalvera::manual
