#pragma once
// The composite of a term read from the sites' day archives. Each site gives
// the term nearest the asked one within the tolerance (half the update period
// by default); a site without one is missing, and its exclusive area becomes
// nodata. The loader keeps the layout (and where each site stands) from one
// term to the next, so a loop or an update reuses it.

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/radar_picture.h"
#include "mosaic/mosaic_grid.h"
#include "products/term_layers.h"

namespace kalvera {

constexpr int kDefaultToleranceMinutes = 5;

struct MosaicRequest {
    std::string dataRoot;  // as the settings give it, ending in a separator
    std::vector<std::string> siteCodes;
    std::string dayName;   // YYMMDD
    std::string termText;  // HH.MM, GMT
    int toleranceMinutes = kDefaultToleranceMinutes;
};

// The term of a site nearest `termText` of `dayName`, within the tolerance,
// looked for on that day and, near midnight, on the day before or after. On
// equal distances the earlier term. False when the site has none.
bool MatchSiteTerm(const std::string& dataRoot, const std::string& siteCode,
                   const std::string& dayName, const std::string& termText, int toleranceMinutes,
                   std::string& matchedDay, std::string& matchedTerm);

// What one asked site gives the composite.
struct MosaicSiteTerm {
    std::string code;
    int layoutIndex = -1;  // its place in the layout; -1 when where it stands is unknown
    bool present = false;
    std::string dayName;  // the matched term (when present)
    std::string termText;
    std::string why;  // why it is missing
};

class MosaicTerm {
  public:
    std::shared_ptr<const MosaicLayout> layout;
    std::vector<MosaicSiteTerm> sites;  // in the asked order

    // The composite of an archive layer, or of "max" or "vil" from the
    // composited layers 1..10.
    Composite Product(int layerCode, CompositeMethod method) const;
    // Several products in the asked order; layers 1..10 are composed once
    // for all of them, however many derived products are asked.
    std::vector<Composite> Products(const std::vector<int>& layerCodes,
                                    CompositeMethod method) const;

    // The asked sites that took part, and those that did not.
    std::vector<std::string> Present() const;
    std::vector<std::string> Missing() const;

  private:
    friend class MosaicLoader;
    // Per layout site, per layer code: the decoded picture.
    std::vector<std::map<int, std::shared_ptr<const RadarPicture>>> pictures_;
    Composite ComposeLayer(int layerCode, CompositeMethod method) const;
};

class MosaicLoader {
  public:
    explicit MosaicLoader(LayerDecoder decode = DecodeArchiveMessage,
                          double cellsPerSiteCell = MosaicLayout::kCellsPerSiteCell)
        : decode_(std::move(decode)), cellsPerSiteCell_(cellsPerSiteCell) {}

    // Decodes the given layers of every asked site's matched term ("max" and
    // "vil" bring layers 1..10). A site none of whose layers decodes is
    // missing; the composite is still made from the rest.
    MosaicTerm Load(const MosaicRequest& request, const std::vector<int>& layerCodes);

    // Where a site stands, from the term just decoded or, for a site seen
    // before, from then; else from the first message of its newest day.
    bool SitePosition(const std::string& dataRoot, const std::string& siteCode,
                      const std::string& dayName, MosaicSite& site);

  private:
    LayerDecoder decode_;
    double cellsPerSiteCell_;
    std::map<std::string, MosaicSite> positions_;
    std::shared_ptr<const MosaicLayout> layout_;
};

// The layer codes a composite of `layerCode` is made from.
std::vector<int> SourceLayersOf(int layerCode);

}  // namespace kalvera
