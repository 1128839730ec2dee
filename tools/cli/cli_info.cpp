// kalvera-cli info: a readable dump of one message's framing, for chasing a
// bad base file.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "cli_command.h"
#include "decode/bufr_message.h"
#include "decode/descriptor_tables.h"

namespace kalvera::cli {

namespace {

void printDescriptor(const DescriptorTriple& d, int depth) {
    std::printf("%*s%d %02d %03d", 2 + 2 * depth, "", d.f, d.x, d.y);
    if (d.f == 0) {
        ElementEntry entry;
        lookupElement(d.x, d.y, entry);
        std::printf("  %s (kind %c, scale %d, reference %d, width %d)", entry.name, entry.kind,
                    entry.scale, entry.reference, entry.width);
    } else if (d.f == 1) {
        std::printf("  replication of %d descriptors", d.x);
    } else if (d.f == 2) {
        std::printf("  operator");
    }
    std::printf("\n");
    if (d.f != 3 || depth > 6) return;
    DescriptorList expansion;
    int32_t count = 0;
    expandSequence(d.x, d.y, expansion, count);
    if (count == 0) std::printf("%*sunknown sequence\n", 4 + 2 * depth, "");
    for (int32_t i = 0; i < count; ++i) printDescriptor(expansion[i], depth + 1);
}

const char* decoderName(const DescriptorList& list, int32_t count) {
    if (count == 0) return "none (no descriptors)";
    const DescriptorTriple& d = list[0];
    if (d.f == 0 && d.x == 1 && d.y == 18) return "generic descriptor decoder";
    if (d.f == 3 && d.x == 1 && d.y == 1) return "fixed-layout radar image decoder";
    return "none (first descriptor not handled)";
}

int runInfo(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("info needs BASE OFFSET");
    errno = 0;
    char* end = nullptr;
    const long long offset = std::strtoll(args[1].c_str(), &end, 10);
    if (args[1].empty() || *end != '\0' || errno != 0)
        return UsageError("OFFSET is not a number: " + args[1]);

    MessageBuffer buffer;
    MessageLocation where;
    const int32_t length = readMessage(args[0], offset, buffer, &where);
    if (where.start >= 0) std::printf("\"BUFR\" found at offset %lld\n", (long long)where.start);
    if (length == 0) {
        std::printf("rejected: %s\n", describeReadStatus(where.status));
        return 1;
    }
    std::printf("total length: %d\nedition: %d\n", length, buffer[7]);

    DescriptorList list;
    int32_t count = 0;
    int32_t dataOffset = 0;
    SectionLayout layout;
    const bool ok = parseSections(std::span<const uint8_t>(buffer.data(), length), list, count,
                                  dataOffset, &layout);
    std::printf("section 1 length: %d\n", layout.length1);
    std::printf("data category: %d\n", layout.category);
    if (layout.hasSection2)
        std::printf("section 2 length: %d\n", layout.length2);
    else
        std::printf("section 2: absent\n");
    std::printf("section 3 length: %d\n", layout.length3);
    if (!ok) {
        std::printf("rejected: %s\n", layout.failure ? layout.failure : "unknown");
        return 1;
    }
    // parseSections keeps the section 4 header inside the message.
    const uint8_t* header4 = buffer.data() + dataOffset - 4;
    std::printf("section 4 length: %d\n", (header4[0] << 16) | (header4[1] << 8) | header4[2]);
    std::printf("data offset: %d\n", dataOffset);
    std::printf("descriptors: %d\n", count);
    for (int32_t i = 0; i < count; ++i) printDescriptor(list[i], 0);
    std::printf("decoder: %s\n", decoderName(list, count));
    return 0;
}

const CliRegistrar registrar({"info", runInfo});

}  // namespace

}  // namespace kalvera::cli
