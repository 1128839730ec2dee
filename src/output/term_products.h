#pragma once
// Every product of one term, decoded once: the ten reflectivity layers, echo
// tops and phenomena from the archive, and the column maximum and VIL made
// from layers 1..10. What the exports that write many products of a term
// (ODIM_H5, batch runs) read them from.

#include <string>
#include <vector>

#include "common/display_state.h"
#include "geo/radar_grid.h"
#include "products/term_layers.h"

namespace kalvera {

// The products in the order files hold them: 1..10, 21, 22, max, vil.
const std::vector<int>& TermProductCodes();

enum class ProductFound {
    Present,
    Absent,  // the term has no such message (or, for max and vil, none of layers 1..10)
    Broken   // the index lists it but it does not decode
};

class TermProducts {
  public:
    // Reads the index of state.termText once and decodes every kept layer
    // the term lists. False, with the reason, when the index cannot be read
    // or lists nothing of the term.
    bool Load(const DisplayState& at, std::string& error);

    // The product's grid of raw values on its square; for Broken the reason.
    ProductFound Product(int layerCode, GridValues& out, std::string& reason) const;

    // Where the term's site is, as the decoders give it.
    float siteLat() const { return siteLat_; }
    float siteLon() const { return siteLon_; }

  private:
    DisplayState state_;
    TermOffsets offsets_{};
    TermLayers layers_;
    float siteLat_ = 0.0f;
    float siteLon_ = 0.0f;
};

}  // namespace kalvera
