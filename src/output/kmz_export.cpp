#include "output/map_export.h"

namespace kalvera {

std::optional<std::string> EncodeKmz(const MapSource&, std::string& error) {
    error = "KMZ is not made yet";
    return std::nullopt;
}

}  // namespace kalvera
