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
                      "How opaque the cells are over the map, 0 to 100 in steps of 5 (default "
                      "100: the map's outlines show through as in the viewer)."};

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
            "[--colors FILE|PRESET] [--lang ru|en]",
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
            "The grid files hold the grid square whatever the view, so they refuse --side, "
            "--centre, --half-extent and --opacity. The GeoTIFF holds physical values whatever "
            "--colors says.",
            {kStartDir,
             kSite,
             kDay,
             kTerm,
             kLayer,
             {"--out FILE.tif|.kmz|.geojson|.gpkg|.png", "The file to write."},
             {"--world-file", "Required with a .png, refused with any other format."},
             kSide,
             kCentre,
             kHalfExtent,
             kOpacity,
             kColors,
             kPictureLang}};
}

Command Probe() {
    return {"probe",
            "--start-dir DIR --site CODE --day YYMMDD --term HH.MM --layer N|max|vil --lat LAT "
            "--lon LON [--centre LAT,LON]",
            "The readout at a point, as JSON.",
            "Prints as one JSON object the texts that the header's value, azimuth, range, "
            "latitude and longitude cells would show with the mouse over the point (azimuth "
            "and range from the view centre).",
            {kStartDir,
             kSite,
             kDay,
             kTerm,
             kLayer,
             kLat,
             kLon,
             kCentre}};
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
            {Render(), Loop(), Export(), Probe(), Section(), History(), Newest(), Decode(), Info(),
             Help()},
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
              "- res/publish.txt: the products published on each update."},
             {"SEE ALSO", "kalvera-cli(1), kalvera-demo(1)"}}};
}

Page MakeDemoPage() {
    return {"kalvera-demo",
            "write a start directory with a synthetic radar archive",
            "DIR [--days N] [--step MINUTES] [--live SECONDS] [--seed N] [--data DIR]",
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
