// The committed swirlet artwork: 8-bit files of the editor's sizes, a knob strip whose frames
// all differ and whose surroundings match the panel behind every knob, and files that the
// generator reproduces exactly.
#include "tools/artwork/bmp_file.h"
#include "tools/artwork/products.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <unistd.h>

namespace {

const std::string resources = std::string(SOURCE_DIR) + "/plugins/swirlet/resources/";
const char* backgroundFile = "110_background.bmp";
const char* stripFile = "112_knob_strip.bmp";

std::vector<char> bytesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

BmpImage load(const char* name) {
    BmpImage surface;
    std::string error;
    EXPECT_TRUE(artwork::readBmp(resources + name, surface, error)) << error;
    return surface;
}

TEST(SwirletArtwork, FilesAreEightBitOfTheEditorsSizes) {
    for (const char* name : {backgroundFile, stripFile}) {
        const std::vector<char> bytes = bytesOf(resources + name);
        ASSERT_GT(bytes.size(), 30u) << name;
        EXPECT_EQ(bytes[28], 8) << name << " is not 8 bits per pixel";
    }
    const BmpImage panel = load(backgroundFile);
    EXPECT_EQ(panel.width, 432);
    EXPECT_EQ(panel.height, 89);
    const BmpImage strip = load(stripFile);
    EXPECT_EQ(strip.width, 32);
    EXPECT_EQ(strip.height, 3840);
}

TEST(SwirletArtwork, EveryKnobFrameDiffersAndSitsSeamlesslyOnThePanel) {
    const BmpImage panel = load(backgroundFile);
    const BmpImage strip = load(stripFile);
    ASSERT_EQ(strip.height, 128 * 30);

    std::set<std::vector<uint32_t>> frames;
    for (int frame = 0; frame < 128; ++frame)
        frames.insert(
            {strip.pixels.begin() + frame * 30 * 32, strip.pixels.begin() + (frame + 1) * 30 * 32});
    EXPECT_EQ(frames.size(), 128u) << "every value step shows a different frame";

    // Outside the knob's circle every frame shows exactly the panel under each of the seven
    // knob rectangles, so no edge shows around a knob.
    int left = 27;
    for (int knob = 0; knob < 7; ++knob) {
        for (int frame = 0; frame < 128; frame += 9) {
            for (int y = 0; y < 30; ++y) {
                for (int x = 0; x < 32; ++x) {
                    if (std::hypot(x + 0.5 - 16.0, y + 0.5 - 15.0) < 15.5) continue;
                    ASSERT_EQ(strip.at(x, frame * 30 + y), panel.at(left + x, 36 + y))
                        << "knob " << knob << " frame " << frame << " at " << x << ", " << y;
                }
            }
        }
        left += 51 + (knob == 2 ? 4 : 0) + (knob == 5 ? 19 : 0);
    }
}

TEST(SwirletArtwork, GeneratorReproducesTheCommittedFiles) {
    artwork::ArtworkOptions options;
    if (!std::filesystem::exists(options.fontDir + "/LiberationSans-Bold.ttf"))
        GTEST_SKIP() << "Liberation fonts not installed";
    options.outputDir = "/tmp/swirlet_artwork_" + std::to_string(getpid());
    std::filesystem::create_directories(options.outputDir);
    std::string error;
    ASSERT_TRUE(artwork::generateSwirlet(options, error)) << error;
    for (const char* name : {backgroundFile, stripFile})
        EXPECT_EQ(bytesOf(options.outputDir + "/" + name), bytesOf(resources + name))
            << name << " is out of date: rebuild the regenerate_artwork target";
    std::filesystem::remove_all(options.outputDir);
}

} // namespace
