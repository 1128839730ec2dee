#include "output/term_products.h"

#include <cstdio>

#include "archive/day_archive.h"
#include "products/derived_products.h"

namespace kalvera {

const std::vector<int>& TermProductCodes() {
    static const std::vector<int> codes = {
        1, 2, 3, 4, 5, 6, 7, 8, 9, 10, kLayerEchoTops, kLayerWeather, kLayerColumnMax, kLayerVil};
    return codes;
}

bool TermProducts::Load(const DisplayState& at, std::string& error) {
    state_ = at;
    std::FILE* index = std::fopen(at.indexPath.c_str(), "rb");
    if (index == nullptr) {
        error = "cannot read the index file " + at.indexPath;
        return false;
    }
    std::fclose(index);
    offsets_ = ReadTermOffsets(at.indexPath, at.termText);
    const LayerOffsets lookup = [this](int code) { return OffsetOf(offsets_, code); };
    // A term whose messages all fail to decode still has its reasons given
    // per product below.
    LoadTermLayers(state_, KeptLayerCodes(), lookup, layers_);
    const bool heights = layers_.hasHeights();
    siteLat_ = heights ? layers_.siteLat : state_.siteLat;
    siteLon_ = heights ? layers_.siteLon : state_.siteLon;
    for (const int32_t offset : offsets_) {
        if (offset >= 0) return true;
    }
    error = "no message for term " + at.termText + " in " + at.indexPath;
    return false;
}

ProductFound TermProducts::Product(int layerCode, GridValues& out, std::string& reason) const {
    if (IsDerivedLayer(layerCode)) {
        if (!layers_.columnWhole()) {
            reason = BrokenLayersText(layers_.brokenHeightLayers) + " of term " + state_.termText +
                     (layers_.brokenHeightLayers.size() == 1 ? " does" : " do") +
                     " not decode from " + state_.basePath;
            return ProductFound::Broken;
        }
        RadarPicture picture;
        if (!DeriveProduct(layerCode, layers_.heights(), picture)) return ProductFound::Absent;
        out = GridValues::OfPicture(picture, layers_.siteLon, layers_.siteLat);
        return ProductFound::Present;
    }
    if (const DecodedLayer* layer = layers_.layer(layerCode)) {
        out.grid = layer->grid;
        out.values.assign(layer->picture.values.begin(), layer->picture.values.end());
        return ProductFound::Present;
    }
    if (OffsetOf(offsets_, layerCode) < 0) return ProductFound::Absent;
    reason = "layer " + LayerName(layerCode) + " of term " + state_.termText +
             " does not decode from " + state_.basePath;
    return ProductFound::Broken;
}

}  // namespace kalvera
