// Our IMAGE and COMP files against the rules of the OPERA ODIM_H5 validator
// (odimh5_validator, tables ODIM_H5_V2_4_IMAGE.csv and ODIM_H5_V2_4_COMP.csv),
// restated here: every node of a file that a rule names has the rule's type
// and a value its pattern matches in whole, and every mandatory rule matches
// something. Where the model's own text says otherwise the rule is marked
// and the text quoted.
#include <gtest/gtest.h>
#include <hdf5.h>

#include <chrono>
#include <list>
#include <regex>
#include <set>
#include <thread>
#include <vector>

#include "output/cli_fixture.h"

namespace kalvera {
namespace {

enum class Kind { Group, Dataset, String, Integer, Real };

struct Rule {
    const char* node;  // a regular expression over the full path
    Kind kind;
    bool mandatory;
    const char* values;  // a regular expression the value matches in whole; "" any
};

constexpr const char* kDataset = "/dataset[1-9][0-9]*";
constexpr const char* kDate = "[1-2][0-9]{3}[0-1][0-9][0-3][0-9]";
constexpr const char* kTime = "[0-2][0-9][0-5][0-9][0-5][0-9]";

// The product list of the tables, and what the model's product table adds:
// "SURF  Information valid at the Earth's surface" (Table 14 of the model's
// text, which the tables leave out).
constexpr const char* kProducts =
    "PPI|CAPPI|PCAPPI|ETOP|MAX|RR|VIL|COMP|VP|RHI|XSEC|VSP|HSP|QUAL|SURF";

std::vector<Rule> RulesFor(const std::string& object) {
    static std::list<std::string> keep;  // the patterns built here live as long as the test
    auto text = [](std::string s) {
        keep.push_back(std::move(s));
        return keep.back().c_str();
    };
    const std::string what = std::string(kDataset) + "(/data[1-9][0-9]*)?/what";
    return {
        {"/", Kind::Group, true, ""},
        {"/Conventions", Kind::String, true, "ODIM_H5/V2_4"},
        {"/what", Kind::Group, true, ""},
        {"/what/object", Kind::String, true, text(object)},
        {"/what/version", Kind::String, true, "H5rad 2.4"},
        {"/what/date", Kind::String, true, kDate},
        {"/what/time", Kind::String, true, kTime},
        {"/what/source", Kind::String, true, "ORG:.*"},
        {"/where", Kind::Group, true, ""},
        {"/where/projdef", Kind::String, true, "\\+proj=.*"},
        {"/where/xsize", Kind::Integer, true, ""},
        {"/where/ysize", Kind::Integer, true, ""},
        {"/where/xscale", Kind::Real, true, ""},
        {"/where/yscale", Kind::Real, true, ""},
        {"/where/(LL|UL|UR|LR)_(lon|lat)", Kind::Real, true, ""},
        {".*how", Kind::Group, false, ""},
        {".*how/software", Kind::String, false, ""},
        {".*how/nodes", Kind::String, false, ""},
        {".*how/camethod", Kind::String, false,
         "NEAREST|INTERPOL|AVERAGE|RANDOM|MDE|LATEST|MAXIMUM|DOMAIN|VAD|VVP|RGA"},
        {kDataset, Kind::Group, true, ""},
        {text(what), Kind::Group, true, ""},
        {text(what + "/product"), Kind::String, true, kProducts},
        // The tables type every prodpar as one real; the model's Table 15
        // gives "VIL  simple array of doubles  Bottom and top heights (m) of
        // the integration layer": an array, checked apart below.
        {text(what + "/prodpar"), Kind::Real, false, ""},
        {text(what + "/(startdate|enddate)"), Kind::String, true, kDate},
        {text(what + "/(starttime|endtime)"), Kind::String, true, kTime},
        {text(what + "/quantity"), Kind::String, true, "DBZH|TH|HGHT|VIL|CLASS"},
        {text(what + "/(gain|offset|nodata|undetect)"), Kind::Real, true, ""},
        {text(std::string(kDataset) + "/data[1-9][0-9]*"), Kind::Group, true, ""},
        {text(std::string(kDataset) + "/data[1-9][0-9]*/data"), Kind::Dataset, true, ""},
    };
}

struct Node {
    std::string path;
    Kind kind;
    std::string text;
    int rank = 0;  // of an attribute's data space
};

herr_t AddAttribute(hid_t owner, const char* name, const H5A_info_t*, void* data) {
    auto* out = static_cast<std::pair<std::string, std::vector<Node>*>*>(data);
    const hid_t a = H5Aopen(owner, name, H5P_DEFAULT);
    const hid_t type = H5Aget_type(a);
    const hid_t space = H5Aget_space(a);
    Node node{out->first == "/" ? "/" + std::string(name) : out->first + "/" + name, Kind::Real, "",
              H5Sget_simple_extent_ndims(space)};
    const H5T_class_t kind = H5Tget_class(type);
    if (kind == H5T_STRING) {
        node.kind = Kind::String;
        // The tables want fixed-length, null-terminated strings.
        if (H5Tis_variable_str(type) == 0 && H5Tget_strpad(type) == H5T_STR_NULLTERM) {
            std::string text(H5Tget_size(type), '\0');
            H5Aread(a, type, text.data());
            node.text = text.c_str();
        } else {
            node.text = "\x01not a fixed-length null-terminated string";
        }
    } else if (kind == H5T_INTEGER) {
        node.kind = H5Tget_size(type) == 8 ? Kind::Integer : Kind::Group;
    } else if (kind != H5T_FLOAT || H5Tget_size(type) != 8) {
        node.kind = Kind::Group;  // a type no rule allows
    }
    out->second->push_back(node);
    H5Sclose(space);
    H5Tclose(type);
    H5Aclose(a);
    return 0;
}

herr_t AddObject(hid_t file, const char* name, const H5O_info_t* info, void* data) {
    auto* nodes = static_cast<std::vector<Node>*>(data);
    const std::string path = std::string(name) == "." ? "/" : "/" + std::string(name);
    nodes->push_back({path, info->type == H5O_TYPE_GROUP ? Kind::Group : Kind::Dataset, "", 0});
    std::pair<std::string, std::vector<Node>*> owner{path, nodes};
    H5Aiterate_by_name(file, name, H5_INDEX_NAME, H5_ITER_NATIVE, nullptr, AddAttribute, &owner,
                       H5P_DEFAULT);
    return 0;
}

std::vector<Node> NodesOf(const std::string& path) {
    std::vector<Node> nodes;
    const hid_t file = H5Fopen(path.c_str(), H5F_ACC_RDONLY, H5P_DEFAULT);
    if (file < 0) return nodes;
    H5Ovisit2(file, H5_INDEX_NAME, H5_ITER_NATIVE, AddObject, &nodes, H5O_INFO_BASIC);
    H5Fclose(file);
    return nodes;
}

// The validator's errors: a node of the wrong type or value, a mandatory
// rule nothing matches.
std::vector<std::string> Errors(const std::string& path, const std::string& object) {
    const std::vector<Rule> rules = RulesFor(object);
    const std::vector<Node> nodes = NodesOf(path);
    std::vector<std::string> errors;
    if (nodes.empty()) return {"cannot read " + path};
    std::set<size_t> matched;
    for (const Node& node : nodes) {
        for (size_t r = 0; r < rules.size(); ++r) {
            if (!std::regex_match(node.path, std::regex(rules[r].node))) continue;
            matched.insert(r);
            const bool vilArray = node.path.find("/prodpar") != std::string::npos && node.rank == 1;
            if (node.kind != rules[r].kind || (node.rank != 0 && !vilArray))
                errors.push_back(node.path + ": not of the rule's type");
            else if (*rules[r].values && !std::regex_match(node.text, std::regex(rules[r].values)))
                errors.push_back(node.path + ": \"" + node.text + "\" is not " + rules[r].values);
        }
    }
    for (size_t r = 0; r < rules.size(); ++r) {
        if (rules[r].mandatory && matched.count(r) == 0)
            errors.push_back(std::string("missing ") + rules[r].node);
    }
    return errors;
}

class OdimRules : public testing::CliArchive {};

TEST_F(OdimRules, AnImageAndACompHaveNoErrors) {
    const std::string image = dir.file("image.h5"), comp = dir.file("comp.h5");
    const std::string when = " --day " + day_ + " --term " + term_;
    ASSERT_EQ(run("export --start-dir " + start_ + " --site " + site_ + when + " --out " + image),
              0)
        << err;
    ASSERT_EQ(run("mosaic --start-dir " + start_ + when + " --layers all --out " + comp), 0) << err;
    for (const auto& [path, object] : {std::pair<std::string, std::string>{image, "IMAGE"},
                                       std::pair<std::string, std::string>{comp, "COMP"}}) {
        const std::vector<std::string> errors = Errors(path, object);
        EXPECT_TRUE(errors.empty()) << object << ": " << errors.size() << " errors, first "
                                    << (errors.empty() ? "" : errors.front());
    }
}

TEST_F(OdimRules, AMissingIdentifierIsRefusedByName) {
    const std::string saved = testing::ReadWholeFile(start_ + "/res/odim.txt");
    const struct {
        const char* text;
        std::string says;
    } cases[] = {
        {"", "no ORG:"},
        {"office ORG:247\n", "no NOD: for site " + site_},
        {"office ORG:247\nNOTHING\n", "has nothing after it"},
        {"office ORG:247,XYZ:1\n", "\"XYZ\" is none of"},
    };
    const std::string out = dir.file("refused.h5");
    for (const auto& c : cases) {
        testing::WriteWholeFile(start_ + "/res/odim.txt", c.text);
        EXPECT_NE(run("export --start-dir " + start_ + " --site " + site_ + " --day " + day_ +
                      " --term " + term_ + " --out " + out),
                  0);
        EXPECT_NE(err.find(c.says), std::string::npos) << c.text << ": " << err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.text;
    }
    testing::WriteWholeFile(start_ + "/res/odim.txt", saved);
}

TEST_F(OdimRules, TheSameTermGivesTheSameBytes) {
    const std::string a = dir.file("a.h5"), b = dir.file("b.h5");
    const std::string term = "export --start-dir " + start_ + " --site " + site_ + " --day " +
                             day_ + " --term " + term_ + " --out ";
    ASSERT_EQ(run(term + a), 0) << err;
    // Past the second, so that a time kept in the file would differ.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    ASSERT_EQ(run(term + b), 0) << err;
    EXPECT_EQ(testing::ReadWholeFile(a), testing::ReadWholeFile(b));
}

}  // namespace
}  // namespace kalvera
