// Finding a message in a base file and splitting its sections.

#include <gtest/gtest.h>

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
    Bytes out;
    out.reserve(body.size() + 12);
    for (char c : {'B', 'U', 'F', 'R'}) out.push_back(static_cast<uint8_t>(c));
    for (int shift : {16, 8, 0}) out.push_back(static_cast<uint8_t>(declaredLength >> shift));
    out.push_back(3);
    for (uint8_t b : body) out.push_back(b);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(end[i]));
    return out;
}

Bytes message() {
    return bufr::writeFixedMessage(testing::smallFixedProduct());
}

TEST(MessageSearch, FindsMessageAtOffsetAndAfterLeadingBytes) {
    const Bytes m = message();
    const Bytes tail{'x', '7', '7', '7', 'B', 'U', 'F'};
    const TempFile file(concat({tail, m, m}));
    MessageBuffer buffer;
    MessageLocation where;
    EXPECT_EQ(readMessage(file.path(), 0, buffer, &where), static_cast<int32_t>(m.size()));
    EXPECT_EQ(where.start, 7);
    EXPECT_EQ(readMessage(file.path(), 7, buffer, &where), static_cast<int32_t>(m.size()));
    EXPECT_EQ(where.start, 7);
    EXPECT_EQ(readMessage(file.path(), 8, buffer, &where), static_cast<int32_t>(m.size()));
    EXPECT_EQ(where.start, static_cast<int64_t>(7 + m.size()));
    EXPECT_TRUE(std::equal(m.begin(), m.end(), buffer.begin()));
    EXPECT_EQ(buffer[m.size()], 0);
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
        const int32_t la = readMessage(file.path(), offset, fromFile, &a);
        const int32_t lb = readMessage(view(all), offset, fromMemory, &b);
        ASSERT_EQ(la, lb) << "offset " << offset;
        EXPECT_EQ(a.status, b.status) << "offset " << offset;
        EXPECT_EQ(a.start, b.start) << "offset " << offset;
    }
}

TEST(MessageSearch, NegativeOffsetAndMissingFileGiveNoMessage) {
    const TempFile file(message());
    MessageBuffer buffer;
    MessageLocation where;
    EXPECT_EQ(readMessage(file.path(), -1, buffer, &where), 0);
    EXPECT_EQ(where.status, ReadStatus::kSeekFailed);
    EXPECT_EQ(readMessage(file.path() + ".missing", 0, buffer, &where), 0);
    EXPECT_EQ(where.status, ReadStatus::kCannotOpen);
    EXPECT_EQ(readMessage(file.path(), 1000000, buffer, &where), 0);
    EXPECT_EQ(where.status, ReadStatus::kNoMarker);
}

TEST(MessageSearch, LengthLimitIsInclusive) {
    const Bytes atLimit = handMade(16384, Bytes(16384 - 12, 0));
    const Bytes overLimit = handMade(16385, Bytes(16385 - 12, 0));
    MessageBuffer buffer;
    MessageLocation where;
    const TempFile a(atLimit);
    EXPECT_EQ(readMessage(a.path(), 0, buffer, &where), 16384);
    EXPECT_EQ(buffer[16384], 0);
    const TempFile b(overLimit);
    EXPECT_EQ(readMessage(b.path(), 0, buffer, &where), 0);
    EXPECT_EQ(where.status, ReadStatus::kTooLong);
}

TEST(MessageSearch, WrongEndMarkerIsNoMessage) {
    const Bytes m = handMade(20, Bytes(8, 0), "7776");
    const TempFile file(m);
    MessageBuffer buffer;
    MessageLocation where;
    EXPECT_EQ(readMessage(file.path(), 0, buffer, &where), 0);
    EXPECT_EQ(where.status, ReadStatus::kNoEndMarker);
}

TEST(MessageSearch, FileEndingInsideTheMessageIsNoMessage) {
    Bytes m = message();
    m.pop_back();
    const TempFile file(m);
    MessageBuffer buffer;
    MessageLocation where;
    EXPECT_EQ(readMessage(file.path(), 0, buffer, &where), 0);
    EXPECT_EQ(where.status, ReadStatus::kTruncatedMessage);
    const TempFile cut(Bytes{'B', 'U', 'F', 'R', 0, 0});
    EXPECT_EQ(readMessage(cut.path(), 0, buffer, &where), 0);
    EXPECT_EQ(where.status, ReadStatus::kTruncatedLength);
}

TEST(MessageSearch, MessageEndingOnTheLastByteIsFound) {
    const Bytes m = message();
    const TempFile file(m);
    MessageBuffer buffer;
    EXPECT_EQ(readMessage(file.path(), 0, buffer), static_cast<int32_t>(m.size()));
}

TEST(MessageSearch, DeclaredLengthBelowEightIsNoMessage) {
    // "BUFR" + length 7 + "777": the end-marker test must not look before the buffer.
    for (uint32_t length : {0u, 4u, 7u}) {
        const Bytes bytes{'B', 'U', 'F', 'R', 0, 0, static_cast<uint8_t>(length),
                          '7', '7', '7', '7'};
        MessageBuffer buffer;
        MessageLocation where;
        EXPECT_EQ(readMessage(view(bytes), 0, buffer, &where), 0) << length;
        EXPECT_EQ(where.status, ReadStatus::kTooShort);
        const TempFile file(bytes);
        EXPECT_EQ(readMessage(file.path(), 0, buffer), 0) << length;
    }
}

struct Parsed {
    bool ok = false;
    DescriptorList list{};
    int32_t count = -1;
    int32_t dataOffset = -1;
    SectionLayout layout;
};

Parsed parse(const Bytes& m) {
    Parsed p;
    p.ok = parseSections(view(m), p.list, p.count, p.dataOffset, &p.layout);
    return p;
}

TEST(SectionParse, FindsDescriptorsAndDataOffset) {
    bufr::MessageOptions options;
    options.descriptors = std::vector<bufr::Descriptor>{{3, 1, 1}, {0, 5, 2}, {1, 2, 0}};
    const Bytes m = bufr::buildMessage({}, Bytes{0xAB, 0xCD}, options);
    const Parsed p = parse(m);
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.count, 3);
    EXPECT_EQ(p.list[0].f, 3);
    EXPECT_EQ(p.list[0].x, 1);
    EXPECT_EQ(p.list[0].y, 1);
    EXPECT_EQ(p.list[1].x, 5);
    EXPECT_EQ(p.list[2].f, 1);
    EXPECT_EQ(p.list[2].x, 2);
    EXPECT_EQ(p.dataOffset, 8 + 18 + 13 + 4);
    EXPECT_EQ(m[p.dataOffset], 0xAB);
}

TEST(SectionParse, SkipsSectionTwoOfAnyLength) {
    for (size_t payload : {0u, 1u, 5u, 300u}) {
        bufr::MessageOptions options;
        options.withSection2 = true;
        options.section2Payload.assign(payload, 0x55);
        const Bytes m = bufr::writeGenericMessage(testing::smallGenericProduct(), options);
        const Parsed p = parse(m);
        ASSERT_TRUE(p.ok) << payload;
        EXPECT_EQ(p.count, 8);
        EXPECT_EQ(p.list[0].x, 1);
        EXPECT_EQ(p.list[0].y, 18);
        EXPECT_EQ(p.dataOffset, static_cast<int32_t>(8 + 18 + 4 + payload + 7 + 16 + 4));
    }
}

TEST(SectionParse, PaddingOctetDoesNotAddADescriptor) {
    for (bool pad : {false, true}) {
        bufr::MessageOptions options;
        options.section3PadOctet = pad;
        options.descriptors = std::vector<bufr::Descriptor>(4, bufr::Descriptor{0, 1, 1});
        const Parsed p = parse(bufr::buildMessage({}, Bytes{0}, options));
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.count, 4);
    }
}

TEST(SectionParse, RejectsWrongCategoryAndReservedOctet) {
    bufr::MessageOptions options;
    options.category = 7;
    EXPECT_FALSE(parse(bufr::writeFixedMessage({}, options)).ok);
    options.category = 6;
    options.section3Reserved = 1;
    EXPECT_FALSE(parse(bufr::writeFixedMessage({}, options)).ok);
}

TEST(SectionParse, FiftyDescriptorsFitAndFiftyOneAreRejected) {
    bufr::MessageOptions options;
    options.descriptors = std::vector<bufr::Descriptor>(50, bufr::Descriptor{0, 1, 1});
    const Parsed fifty = parse(bufr::buildMessage({}, Bytes{0}, options));
    EXPECT_TRUE(fifty.ok);
    EXPECT_EQ(fifty.count, 50);
    options.descriptors->push_back({0, 1, 1});
    EXPECT_FALSE(parse(bufr::buildMessage({}, Bytes{0}, options)).ok);
}

TEST(SectionParse, LengthsPointingPastTheMessageAreRejected) {
    const Bytes good = bufr::writeFixedMessage({});
    const uint32_t huge = 0xFFFFFF;
    for (int which = 1; which <= 3; ++which) {
        bufr::MessageOptions options;
        options.withSection2 = which == 2;
        if (which == 1) options.section1Length = huge;
        if (which == 2) options.section2Length = huge;
        if (which == 3) options.section3Length = static_cast<uint32_t>(good.size());
        EXPECT_FALSE(parse(bufr::writeFixedMessage({}, options)).ok) << "section " << which;
    }
}

TEST(SectionParse, TooShortSectionsAreRejected) {
    bufr::MessageOptions options;
    options.section1Length = 3;
    EXPECT_FALSE(parse(bufr::writeFixedMessage({}, options)).ok);
    options = {};
    options.section3Length = 5;
    EXPECT_FALSE(parse(bufr::writeFixedMessage({}, options)).ok);
    // Framing only: no room for section 1 at all.
    EXPECT_FALSE(parse(handMade(12, {})).ok);
}

}  // namespace
}  // namespace kalvera
