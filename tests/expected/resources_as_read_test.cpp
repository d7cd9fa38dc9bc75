// Qodex.exe's five resources, checked against the one expectation of the
// tests, through whichever reader the running program brings
// (resource_reader.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "expected_dialog.h"
#include "expected_resources.h"
#include "resource_reader.h"

namespace {

using expected::Bytes;
using expected::Hex;
using reader::Resource;

class QodexResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        resources_ = reader::ReadQodexResources(error);
        ASSERT_TRUE(error.empty()) << error;
    }

    // The data of the one resource with this key; fails the test if absent.
    const Bytes* Find(const expected::ResourceKey& key)
    {
        for (const Resource& resource : resources_) {
            if (resource.key == key) {
                return &resource.data;
            }
        }
        ADD_FAILURE() << "no resource " << expected::Describe(key);
        return nullptr;
    }

    std::vector<Resource> resources_;
};

// One suite a resource, so that each can be run, and fail, on its own.
using ResourceDirectory = QodexResources;
using VersionInformation = QodexResources;
using Manifest = QodexResources;
using Icon = QodexResources;
using DialogTemplate = QodexResources;

TEST_F(ResourceDirectory, HoldsExactlyTheFiveResourcesUnderLanguage1033)
{
    std::vector<std::string> found;
    for (const Resource& resource : resources_) {
        found.push_back(expected::Describe(resource.key));
    }
    std::vector<std::string> wanted;
    for (const expected::ResourceKey& key : expected::ResourceDirectory()) {
        wanted.push_back(expected::Describe(key));
    }
    std::sort(found.begin(), found.end());
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(wanted, found);
}

TEST_F(VersionInformation, IsByteForByteTheExpectedTree)
{
    const Bytes* data = Find(expected::VERSION_KEY);
    ASSERT_NE(data, nullptr);
    const expected::ByteLayout wanted = expected::VersionInfo();
    EXPECT_EQ(860u, wanted.Size()) << "the root node's own length";
    EXPECT_EQ("", expected::FirstDifference(wanted, *data));
}

// Walks the tree as any reader does (each child at the next 32-bit boundary
// after its predecessor) and compares what it meets with the expected
// nodes, so a fault is named by node rather than by byte offset. A node
// that is not padded to its boundary shows up as a wrong key or length.
struct WalkedNode {
    size_t offset;
    expected::VersionNode node;
};

bool WalkVersionNode(const Bytes& data, size_t offset, int depth, std::vector<WalkedNode>& out)
{
    auto word = [&](size_t at) { return static_cast<uint16_t>(data[at] | (data[at + 1] << 8)); };
    if (offset + 6 > data.size()) {
        return false;
    }
    expected::VersionNode node{depth, "", word(offset), word(offset + 2), word(offset + 4)};
    const size_t end = offset + node.length;
    if (end > data.size() || node.length < 6) {
        return false;
    }
    size_t at = offset + 6;
    for (; at + 1 < end && word(at) != 0; at += 2) {
        node.key.push_back(static_cast<char>(word(at)));
    }
    at = (at + 2 + 3) & ~size_t{3};
    out.push_back({offset, node});
    // Text values count characters, the others bytes.
    at += node.type == 1 ? 2u * node.valueLength : node.valueLength;
    at = (at + 3) & ~size_t{3};
    while (at < end) {
        const size_t child = out.size();
        if (!WalkVersionNode(data, at, depth + 1, out)) {
            return false;
        }
        at = (at + out[child].node.length + 3) & ~size_t{3};
    }
    return true;
}

TEST_F(VersionInformation, NodesSitOn32BitBoundariesWithTheirTypesAndLengths)
{
    const Bytes* data = Find(expected::VERSION_KEY);
    ASSERT_NE(data, nullptr);
    std::vector<WalkedNode> walked;
    ASSERT_TRUE(WalkVersionNode(*data, 0, 0, walked)) << "a node's length runs past the resource";
    const std::vector<expected::VersionNode> wanted = expected::VersionNodes();
    ASSERT_EQ(wanted.size(), walked.size());
    for (size_t i = 0; i < wanted.size(); ++i) {
        const expected::VersionNode& got = walked[i].node;
        SCOPED_TRACE("node " + std::to_string(i) + " \"" + wanted[i].key + "\" at offset " +
                     Hex(static_cast<uint32_t>(walked[i].offset)));
        EXPECT_EQ(wanted[i].key, got.key);
        EXPECT_EQ(wanted[i].depth, got.depth);
        EXPECT_EQ(wanted[i].type, got.type) << "node type";
        EXPECT_EQ(wanted[i].length, got.length) << Hex(wanted[i].length) << " vs " << Hex(got.length);
        EXPECT_EQ(wanted[i].valueLength, got.valueLength)
            << Hex(wanted[i].valueLength) << " vs " << Hex(got.valueLength);
    }
}

TEST_F(Manifest, IsByteForByteTheExpectedDocument)
{
    const Bytes* data = Find(expected::MANIFEST_KEY);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(670u, data->size());
    ASSERT_GE(data->size(), 3u);
    EXPECT_FALSE((*data)[0] == 0xEF && (*data)[1] == 0xBB && (*data)[2] == 0xBF) << "byte-order mark";
    size_t crlf = 0;
    size_t bareLf = 0;
    for (size_t i = 0; i < data->size(); ++i) {
        if ((*data)[i] == '\n') {
            ++(i > 0 && (*data)[i - 1] == '\r' ? crlf : bareLf);
        }
    }
    EXPECT_EQ(expected::MANIFEST_LINES, crlf);
    EXPECT_EQ(0u, bareLf);
    EXPECT_TRUE((*data)[data->size() - 2] == '\r' && data->back() == '\n') << "the last line ends in CR LF";
    EXPECT_EQ("", expected::FirstDifference(expected::Manifest(), *data));
}

TEST_F(Icon, GroupNamesTheOneImage)
{
    const Bytes* group = Find(expected::ICON_GROUP_KEY);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(expected::ICON_GROUP_SIZE, group->size());
    EXPECT_EQ("", expected::FirstDifference(expected::IconGroup(), *group));
}

TEST_F(Icon, ImageHasTheHeaderPaletteAndSize)
{
    const Bytes* image = Find(expected::ICON_IMAGE_KEY);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(expected::ICON_IMAGE_SIZE, image->size()) << "40 header + 64 palette + 512 colour bitmap + 128 mask";
    const Bytes start(image->begin(), image->begin() + expected::ICON_HEADER_SIZE + expected::ICON_PALETTE_SIZE);
    EXPECT_EQ("", expected::FirstDifference(expected::IconHeaderAndPalette(), start));
}

TEST_F(DialogTemplate, MatchesItsLayoutByteForByte)
{
    const Bytes* data = Find(expected::DIALOG_KEY);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ("", expected::FirstDifference(expected::DialogTemplate(), *data));
}

}  // namespace
