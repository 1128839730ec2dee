#pragma once
// Shared helpers for the decoder tests: temporary base files and messages built
// by the project's writer.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

#include "bufr/bufr_writer.h"
#include "decode/picture_loader.h"
#include "support/temp_dir.h"

namespace kalvera::testing {

using Bytes = std::vector<uint8_t>;

// A base file in a temporary directory of its own, removed when the object goes.
class TempFile {
  public:
    explicit TempFile(const Bytes& contents)
        : path_(dir_.write(
              "day.bas",
              std::string_view(reinterpret_cast<const char*>(contents.data()), contents.size()))) {}
    const std::string& path() const { return path_; }

  private:
    TempDir dir_;
    std::string path_;
};

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

inline std::span<const uint8_t> view(const Bytes& bytes) {
    return {bytes.data(), bytes.size()};
}

// A fixed-layout product with class values 40 and 70 and no rows.
inline bufr::FixedProduct smallFixedProduct() {
    bufr::FixedProduct product;
    product.classValues = {40, 70};
    return product;
}

// A fixed-layout product whose first `rows` rows are all class 1 (value 40).
inline bufr::FixedProduct filledFixed(int rows = 100) {
    std::array<int32_t, 10000> indices{};
    indices.fill(1);
    bufr::FixedProduct product = smallFixedProduct();
    product.rows = bufr::runLengthRows(indices);
    product.rows.resize(static_cast<size_t>(rows));
    return product;
}

// A generic reflectivity product without image groups.
inline bufr::GenericProduct smallGenericProduct() {
    bufr::GenericProduct product;
    product.shortName = "26061";
    product.latitudeRaw = 13000;   // 40.00
    product.longitudeRaw = 21000;  // 30.00
    return product;
}

// Decodes a whole message as the loader does; returns the count of values written.
inline int32_t decodeInto(const Bytes& message, RadarPicture& picture, DisplayState& state) {
    PictureLoadReport report;
    EXPECT_TRUE(decodeMessage(view(message), picture, state, &report));
    EXPECT_TRUE(report.hasFirstDescriptor);
    return report.count;
}

}  // namespace kalvera::testing
