#include "output/automatic_export.h"

#include <QCoreApplication>
#include <map>
#include <memory>
#include <vector>

#include "output/map_export.h"
#include "output/map_source.h"
#include "output/mosaic_source.h"
#include "output/picture_export.h"
#include "output/publish_list.h"

namespace kalvera {

namespace {

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
    return text;
}

}  // namespace

std::string AutomaticExport::run(const ViewerState& viewer, const std::string& jpegPath) {
    std::vector<std::string> failed;
    std::string error;
    if (!ExportPictureFile(viewer, jpegPath, &error) && !error.empty()) failed.push_back(jpegPath);

    const PublishList list = ReadPublishList(viewer.config.startDir);
    // A product that cannot be written now may be written at the next tick;
    // its reason is the same each time, so only its path is shown. Each
    // layer is decoded once, however many files it goes to.
    std::map<std::pair<bool, int>, std::unique_ptr<MapSource>> sources;
    for (const PublishEntry& entry : list.entries) {
        const auto [source, fresh] = sources.try_emplace({entry.mosaic, entry.layerCode});
        if (fresh && entry.mosaic) {
            MosaicTerm term;
            source->second = LoadMosaicSource(
                viewer.config, mosaicLoader_,
                MosaicRequestOf(viewer.config, {}, viewer.display.dayName, viewer.display.termText),
                entry.layerCode, CompositeMethod::Maximum, term, error);
        } else if (fresh) {
            source->second = LoadMapSource(viewer.config, viewer.display, entry.layerCode, error);
        }
        if (!source->second || !WriteMapFile(*source->second, entry.path, error)) {
            failed.push_back(entry.path);
        }
    }
    std::vector<std::string> freshLines;
    for (const auto& [number, text] : list.unreadable) {
        if (reportedLines_.insert(std::to_string(number) + " " + text).second) {
            freshLines.push_back(std::to_string(number));
        }
    }

    std::string notice;
    if (!failed.empty())
        notice += QCoreApplication::translate("kalvera::Publish", " — не удалось записать ")
                      .toStdString() +
                  Joined(failed);
    if (!freshLines.empty()) {
        notice += std::string(" — publish.txt: ") +
                  (freshLines.size() == 1
                       ? QCoreApplication::translate("kalvera::Publish", "пропущена строка ")
                             .toStdString()
                       : QCoreApplication::translate("kalvera::Publish", "пропущены строки ")
                             .toStdString()) +
                  Joined(freshLines);
    }
    return notice;
}

}  // namespace kalvera
