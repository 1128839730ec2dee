#include "products/vil_legend.h"

namespace kalvera {

int VilClass(int32_t tenths) {
    if (tenths <= 0) return 0;
    int cls = 1;
    while (cls < static_cast<int>(kVilClassFloorsKgPerM2.size()) &&
           tenths >= kVilClassFloorsKgPerM2[static_cast<size_t>(cls)] * 10) {
        ++cls;
    }
    return cls;
}

const std::array<std::string_view, 19>& VilLabels() {
    static const std::array<std::string_view, 19> labels = {
        "0-1",   "1-2",   "2-3",   "3-5",   "5-7",   "7-10",  "10-13", "13-16", "16-20", "20-25",
        "25-30", "30-35", "35-40", "40-45", "45-50", "50-55", "55-60", "60-70", ">=70"};
    return labels;
}

}  // namespace kalvera
