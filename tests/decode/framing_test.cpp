// Finding a message in a base file and splitting its sections.

#include <gtest/gtest.h>

#include <functional>

#include "decode/bufr_message.h"
#include "decode_fixtures.h"

namespace kalvera {
namespace {

using testing::Bytes;
using testing::concat;
using testing::TempFile;
using testing::view;

// The smallest framing a message can have: "BUFR", its length, "7777".
Bytes handMade(uint32_t declaredLength, const Bytes& body, const char* end = "7777") {
    Bytes out{'B', 'U', 'F', 'R'};
    for (int shift : {16, 8, 0}) out.push_back(static_cast<uint8_t>(declaredLength >> shift));
    out.push_back(3);
    out.insert(out.end(), body.begin(), body.end());
    out.insert(out.end(), end, end + 4);
    return out;
}

Bytes message() {
    return bufr::writeFixedMessage(testing::smallFixedProduct());
}

TEST(MessageSearch, MemoryAndFileAgreeOnEveryOffset) {
    const Bytes m = message();
    const Bytes all = concat({Bytes{1, 2, 3}, m, Bytes{'B', 'U'}, m, Bytes{'B', 'U', 'F', 'R', 0}});
    const TempFile file(all);
    for (int64_t offset = -1; offset <= static_cast<int64_t>(all.size()) + 1; ++offset) {
        MessageBuffer fromFile;
        MessageBuffer fromMemory;
        MessageLocation a;
        MessageLocation b;
        ASSERT_EQ(readMessage(file.path(), offset, fromFile, &a),
                  readMessage(view(all), offset, fromMemory, &b))
            << "offset " << offset;
        EXPECT_EQ(a.status, b.status) << "offset " << offset;
        EXPECT_EQ(a.start, b.start) << "offset " << offset;
    }
}

struct FramingCase {
    const char* name;
    Bytes bytes;
    int64_t offset;
    int32_t length;  // 0: no message
    ReadStatus status;
    int64_t start = 0;  // where "BUFR" was found
};

TEST(MessageSearch, FramingLimitsFromFileAndMemory) {
    const Bytes m = message();
    const auto size = static_cast<int32_t>(m.size());
    const Bytes leading = concat({Bytes{'x', '7', '7', '7', 'B', 'U', 'F'}, m, m});
    // clang-format off
    const FramingCase cases[] = {
        {"after leading bytes", leading, 0, size, ReadStatus::kFound, 7},
        {"at its offset", leading, 7, size, ReadStatus::kFound, 7},
        {"the next one", leading, 8, size, ReadStatus::kFound, 7 + size},
        {"ends on the last byte", m, 0, size, ReadStatus::kFound},
        {"longest allowed", handMade(16384, Bytes(16384 - 12, 0)), 0, 16384, ReadStatus::kFound},
        {"one byte too long", handMade(16385, Bytes(16385 - 12, 0)), 0, 0, ReadStatus::kTooLong},
        {"declared length 0", handMade(0, {}), 0, 0, ReadStatus::kTooShort},
        {"declared length 7", handMade(7, {}), 0, 0, ReadStatus::kTooShort},
        {"wrong end marker", handMade(20, Bytes(8, 0), "7776"), 0, 0, ReadStatus::kNoEndMarker},
        {"file ends inside", Bytes(m.begin(), m.end() - 1), 0, 0, ReadStatus::kTruncatedMessage},
        {"file ends in the length", Bytes{'B', 'U', 'F', 'R', 0, 0}, 0, 0,
         ReadStatus::kTruncatedLength},
        {"negative offset", m, -1, 0, ReadStatus::kSeekFailed},
        {"offset past the end", m, 1000000, 0, ReadStatus::kNoMarker},
    };
    // clang-format on
    for (const FramingCase& c : cases) {
        const TempFile file(c.bytes);
        MessageBuffer buffer;
        MessageLocation where;
        EXPECT_EQ(readMessage(view(c.bytes), c.offset, buffer, &where), c.length) << c.name;
        EXPECT_EQ(where.status, c.status) << c.name;
        EXPECT_EQ(readMessage(file.path(), c.offset, buffer, &where), c.length) << c.name;
        EXPECT_EQ(where.status, c.status) << c.name;
        if (c.length == size) {
            EXPECT_TRUE(std::equal(m.begin(), m.end(), buffer.begin())) << c.name;
        }
        if (c.length > 0) {
            EXPECT_EQ(where.start, c.start) << c.name;
            EXPECT_EQ(buffer[c.length], 0) << c.name;
        }
    }
    MessageBuffer buffer;
    MessageLocation where;
    EXPECT_EQ(readMessage("no-such-base-file.bas", 0, buffer, &where), 0);
    EXPECT_EQ(where.status, ReadStatus::kCannotOpen);
}

struct Parsed {
    bool ok = false;
    DescriptorList list{};
    int32_t count = -1;
    int32_t dataOffset = -1;
};

Parsed parse(const Bytes& m) {
    Parsed p;
    p.ok = parseSections(view(m), p.list, p.count, p.dataOffset);
    return p;
}

struct SectionCase {
    const char* name;
    size_t descriptors;
    std::function<void(bufr::MessageOptions&)> change;
    bool ok;
};

TEST(SectionParse, AcceptsAndRejectsSectionLayouts) {
    const auto fullLength = static_cast<uint32_t>(bufr::buildMessage({}, Bytes{0}).size());
    auto section2 = [](size_t n) {
        return [n](bufr::MessageOptions& o) {
            o.withSection2 = true;
            o.section2Payload.assign(n, 0x55);
        };
    };
    // clang-format off
    const SectionCase cases[] = {
        {"fifty descriptors", 50, [](auto&) {}, true},
        {"fifty-one descriptors", 51, [](auto&) {}, false},
        {"padding octet", 4, [](auto& o) { o.section3PadOctet = true; }, true},
        {"empty section 2", 1, section2(0), true},
        {"one-byte section 2", 1, section2(1), true},
        {"long section 2", 1, section2(300), true},
        {"category 7", 1, [](auto& o) { o.category = 7; }, false},
        {"reserved octet set", 1, [](auto& o) { o.section3Reserved = 1; }, false},
        {"section 1 past the end", 1, [](auto& o) { o.section1Length = 0xFFFFFF; }, false},
        {"section 2 past the end", 1,
         [](auto& o) { o.withSection2 = true; o.section2Length = 0xFFFFFF; }, false},
        {"section 3 past the end", 1, [&](auto& o) { o.section3Length = fullLength; }, false},
        {"section 1 too short", 1, [](auto& o) { o.section1Length = 3; }, false},
        {"section 3 too short", 1, [](auto& o) { o.section3Length = 5; }, false},
    };
    // clang-format on
    for (const SectionCase& c : cases) {
        bufr::MessageOptions options;
        options.descriptors = std::vector<bufr::Descriptor>(c.descriptors, {0, 1, 1});
        c.change(options);
        const Bytes m = bufr::buildMessage({}, Bytes{0xAB, 0xCD}, options);
        const Parsed p = parse(m);
        EXPECT_EQ(p.ok, c.ok) << c.name;
        if (p.ok) {
            EXPECT_EQ(p.count, static_cast<int32_t>(c.descriptors)) << c.name;
            EXPECT_EQ(m[p.dataOffset], 0xAB) << c.name;
            EXPECT_EQ(m[p.dataOffset + 1], 0xCD) << c.name;
        }
    }
    // Framing only: no room for section 1 at all.
    EXPECT_FALSE(parse(handMade(12, {})).ok);
}

}  // namespace
}  // namespace kalvera
