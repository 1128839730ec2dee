#pragma once
// The viewer's products in the terms of ODIM_H5: which product and quantity
// each layer is, how its raw values scale, and a site's term as an IMAGE.

#include <string>
#include <vector>

#include "common/display_state.h"
#include "output/odim_h5.h"
#include "output/term_products.h"

namespace kalvera {

// Layers 1..10 are CAPPI reflectivity (DBZH, 0.5 dB steps) at the middle of
// their 1-km slab; echo tops ETOP as HGHT in metres; phenomena SURF as CLASS
// with the 19 classes under fixed English keys; the column maximum MAX as
// DBZH; VIL as VIL in kg/m2 (held in tenths) over 1 to 11 km.
OdimDataset OdimDatasetOf(int layerCode, GridValues values);

// An IMAGE of a term with no products and no source yet (see
// odim_source.h): its date and time.
OdimObject OdimImageOf(const std::string& dayName, const std::string& termText);

// The products `layerCodes` (see TermProductCodes) of a decoded term, those
// it holds, as one IMAGE: Present, Absent when it holds none of them, or
// Broken with the reason when one of them does not decode. The source is
// the caller's to give.
ProductFound CollectOdimImage(const TermProducts& term, const DisplayState& at,
                              const std::vector<int>& layerCodes, OdimObject& out,
                              std::string& reason);

// The same for the term that `at` names, decoded here. False with the reason
// when the index cannot be read, a product does not decode, or the term
// holds none of them.
bool LoadOdimImage(const DisplayState& at, const std::vector<int>& layerCodes, OdimObject& out,
                   std::string& error);

}  // namespace kalvera
