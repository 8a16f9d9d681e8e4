// URI lists: local paths from "file" URIs, everything else skipped, nothing read past the
// block's size.
#include "gui/platform/common/file_uri.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> decode(const std::string& list) {
    return file_uri::filePaths(list.data(), list.size());
}

TEST(UriList, FileUrisBecomePercentDecodedPathsInOrder) {
    const std::string list = "file:///home/me/My%20Song.wav\r\n"
                             "# a comment line\r\n"
                             "file://localhost/tmp/caf%C3%A9%2Bbass%25.aif\r\n"
                             "FILE:///tmp/raw utf8 \xc3\xa9.wav\n"
                             "  file:/tmp/short-form  \r\n"
                             "\r\n"
                             "file:///tmp/last?query#fragment";
    EXPECT_EQ(decode(list), (std::vector<std::string>{
                                "/home/me/My Song.wav", "/tmp/caf\xc3\xa9+bass%.aif",
                                "/tmp/raw utf8 \xc3\xa9.wav", "/tmp/short-form", "/tmp/last"}));
}

TEST(UriList, OtherSchemesHostsAndMalformedUrisAreSkipped) {
    const std::string list = "http://example.org/a.wav\r\n"
                             "file://otherhost/tmp/a.wav\r\n"
                             "file:relative/a.wav\r\n"
                             "file://\r\n"
                             "file:///tmp/bad%2\r\n"
                             "file:///tmp/bad%zz.wav\r\n"
                             "file:///tmp/zero%00byte\r\n"
                             "notauri\r\n"
                             "file:///tmp/good.wav\r\n";
    EXPECT_EQ(decode(list), (std::vector<std::string>{"/tmp/good.wav"}));
}

TEST(UriList, LongPathsAreKeptWholeUpToTheSystemLimit) {
    const std::string longest(file_uri::kMaxPathBytes - 2, 'a');
    const std::string tooLong(file_uri::kMaxPathBytes, 'b');
    const auto paths = decode("file:///" + longest + "\r\nfile:///" + tooLong + "\r\n");
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0], "/" + longest);
}

TEST(UriList, BytesBeyondTheSizeAndEmbeddedZerosAreNeverTaken) {
    const std::string block = "file:///tmp/a.wav\r\nfile:///tmp/b.wav";
    // Cut inside the second URI: only what lies inside the size counts.
    const auto cut = file_uri::filePaths(block.data(), block.size() - 4);
    EXPECT_EQ(cut, (std::vector<std::string>{"/tmp/a.wav", "/tmp/b"}));
    const std::string withZero = std::string("file:///tmp/x") + '\0' + "y\r\nfile:///tmp/c.wav";
    EXPECT_EQ(decode(withZero), (std::vector<std::string>{"/tmp/c.wav"}));
    EXPECT_TRUE(file_uri::filePaths(nullptr, 10).empty());
    EXPECT_TRUE(decode("").empty());
}

} // namespace
