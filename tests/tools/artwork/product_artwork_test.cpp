// The committed artwork of every product and of the showcase test plug-in: 8-bit files of the
// sizes its editor loads, stacked images (knob frames, button states) that all differ, knob
// frames that sit seamlessly on the panel at every place the editor draws a knob, and files
// the generator reproduces byte for byte.
#include "tools/artwork/showcase_layout.h"
#include "tools/artwork/bmp_file.h"
#include "tools/artwork/products.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <unistd.h>

namespace {

struct ExpectedFile {
    const char* name;
    int width, height;
    int images; // stacked vertically: knob frames or button states; 1 for a single picture
};

struct KnobPlace {
    int left, top;
};

struct DisplayRect {
    int left, top, right, bottom; // right column and bottom row included, as the toolkit draws
};

struct ProductFiles {
    const char* product;
    std::vector<ExpectedFile> files;   // the background first, the knob strip second
    std::vector<KnobPlace> knobs;      // where the editor draws its knobs
    std::vector<DisplayRect> displays; // in the order the editor adds them
    uint32_t displayBack = 0;          // the colour the displays fill with
    const char* folder = nullptr;      // the resources folder; none: plugins/<product>/resources
};

// Test names and failure messages show the product only.
void PrintTo(const ProductFiles& files, std::ostream* out) {
    *out << files.product;
}

// Places `count` knobs from (left, top), `step` pixels apart.
std::vector<KnobPlace> row(int left, int top, int step, int count) {
    std::vector<KnobPlace> places;
    for (int i = 0; i < count; ++i)
        places.push_back({left + i * step, top});
    return places;
}

// Displays of `width` x `height` under each of `knobs`, moved by (dx, dy) from its corner.
std::vector<DisplayRect> under(const std::vector<KnobPlace>& knobs, int dx, int dy, int width,
                               int height) {
    std::vector<DisplayRect> rects;
    for (const KnobPlace& knob : knobs)
        rects.push_back(
            {knob.left + dx, knob.top + dy, knob.left + dx + width, knob.top + dy + height});
    return rects;
}

std::vector<KnobPlace> join(std::initializer_list<std::vector<KnobPlace>> rows) {
    std::vector<KnobPlace> places;
    for (const std::vector<KnobPlace>& r : rows)
        places.insert(places.end(), r.begin(), r.end());
    return places;
}

const ProductFiles allFiles[] = {
    {"swirlet",
     {{"110_background.bmp", 432, 89, 1}, {"112_knob_strip.bmp", 32, 3840, 128}},
     join({row(27, 36, 51, 3), row(184, 36, 51, 3), row(356, 36, 0, 1)}),
     {},
     0},
    {"grimfold",
     {{"110_background.bmp", 600, 100, 1},
      {"112_knob_strip.bmp", 36, 1548, 43},
      {"113_button.bmp", 12, 12, 2}},
     join({row(25, 29, 39, 2), row(136, 29, 39, 4), row(325, 29, 39, 2), row(436, 29, 39, 2)}),
     under(
         join({row(25, 29, 39, 2), row(136, 29, 39, 4), row(325, 29, 39, 2), row(436, 29, 39, 2)}),
         -3, 36, 42, 12),
     0x095C51},
    {"tloom",
     {{"110_background.bmp", 501, 201, 1},
      {"112_knob_strip.bmp", 32, 3840, 128},
      {"113_button.bmp", 10, 10, 2},
      {"114_info.bmp", 251, 64, 1}},
     join({row(67, 34, 55, 4), row(67, 118, 55, 4), row(324, 34, 55, 2), row(324, 118, 55, 3)}),
     under(
         join({row(67, 34, 55, 4), row(67, 118, 55, 4), row(324, 34, 55, 2), row(324, 118, 55, 3)}),
         1, 40, 28, 12),
     0xF55D24},
    {"corallis",
     {{"107_background.bmp", 600, 100, 1},
      {"104_knob_strip.bmp", 36, 1548, 43},
      {"109_button.bmp", 12, 12, 2}},
     join({row(36, 29, 41, 4), row(229, 29, 41, 4), row(399, 29, 0, 1), row(512, 29, 41, 2)}),
     {{20, 65, 64, 77},
      {71, 65, 105, 77},
      {109, 65, 153, 77},
      {158, 65, 199, 77},
      {213, 65, 257, 77},
      {264, 65, 298, 77},
      {302, 65, 346, 77},
      {351, 65, 392, 77},
      {400, 65, 434, 77},
      {513, 65, 547, 77},
      {554, 65, 588, 77}},
     0x095C51},
    {"showcase",
     {{"110_background.bmp", showcase::kPanelWidth, showcase::kPanelHeight, 1},
      {"112_knob_strip.bmp", showcase::kStripWidth, showcase::kStripHeight* showcase::kStripFrames,
       showcase::kStripFrames},
      {"129_open_key.bmp", showcase::kOpenKeyWidth, 2 * showcase::kFileRowHeight, 2}},
     {{showcase::controlArea(showcase::kFilmstripKnob).left,
       showcase::controlArea(showcase::kFilmstripKnob).top}},
     {},
     0,
     "tests/showcase/resources"},
};

std::string resources(const ProductFiles& files) {
    if (files.folder) return std::string(SOURCE_DIR) + "/" + files.folder + "/";
    return std::string(SOURCE_DIR) + "/plugins/" + files.product + "/resources/";
}

std::vector<char> bytesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class ProductArtwork : public testing::TestWithParam<ProductFiles> {};

TEST_P(ProductArtwork, FilesAreEightBitOfTheEditorsSizesWithDistinctStackedImages) {
    for (const ExpectedFile& expected : GetParam().files) {
        const std::string path = resources(GetParam()) + expected.name;
        const std::vector<char> bytes = bytesOf(path);
        ASSERT_GT(bytes.size(), 30u) << path;
        EXPECT_EQ(bytes[28], 8) << path << " is not 8 bits per pixel";

        BmpImage image;
        std::string error;
        ASSERT_TRUE(artwork::readBmp(path, image, error)) << error;
        EXPECT_EQ(image.width, expected.width) << path;
        ASSERT_EQ(image.height, expected.height) << path;

        // Every value step of a strip, and each button state, shows a different picture.
        const size_t stride = size_t(image.width) * size_t(image.height / expected.images);
        std::set<std::vector<uint32_t>> distinct;
        for (int i = 0; i < expected.images; ++i)
            distinct.insert(
                {image.pixels.begin() + i * stride, image.pixels.begin() + (i + 1) * stride});
        EXPECT_EQ(distinct.size(), size_t(expected.images)) << path;
    }
}

TEST_P(ProductArtwork, KnobFramesSitSeamlesslyWhereverTheEditorDrawsAKnob) {
    BmpImage panel, strip;
    std::string error;
    const std::string folder = resources(GetParam());
    ASSERT_TRUE(artwork::readBmp(folder + GetParam().files[0].name, panel, error)) << error;
    ASSERT_TRUE(artwork::readBmp(folder + GetParam().files[1].name, strip, error)) << error;
    const int frames = GetParam().files[1].images;
    const int w = strip.width, h = strip.height / frames;

    // Outside the knob's ring every frame shows exactly the panel under each knob, so no edge
    // shows around a knob whatever its value.
    for (const KnobPlace& knob : GetParam().knobs) {
        for (int frame = 0; frame < frames; frame += frames / 14) {
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    if (std::hypot(x + 0.5 - w * 0.5, y + 0.5 - h * 0.5) < h * 0.5 + 0.5) continue;
                    ASSERT_EQ(strip.at(x, frame * h + y), panel.at(knob.left + x, knob.top + y))
                        << "knob at " << knob.left << ", " << knob.top << " frame " << frame
                        << " pixel " << x << ", " << y;
                }
            }
        }
    }
}

TEST_P(ProductArtwork, DisplayWindowsHoldWhatTheDisplaysPaintWhereTheyPaintIt) {
    if (GetParam().displays.empty()) GTEST_SKIP() << "no displays";
    BmpImage panel;
    std::string error;
    ASSERT_TRUE(artwork::readBmp(resources(GetParam()) + GetParam().files[0].name, panel, error))
        << error;
    // Paint the displays as the editor does, in order, each filled and framed in black.
    BmpImage expected = panel;
    for (const DisplayRect& d : GetParam().displays)
        for (int y = d.top; y <= d.bottom; ++y)
            for (int x = d.left; x <= d.right; ++x)
                expected.row(y)[x] = (x == d.left || x == d.right || y == d.top || y == d.bottom)
                                         ? 0u
                                         : GetParam().displayBack;
    for (const DisplayRect& d : GetParam().displays)
        for (int y = d.top; y <= d.bottom; ++y)
            for (int x = d.left; x <= d.right; ++x)
                ASSERT_EQ(panel.at(x, y), expected.at(x, y))
                    << "display at " << d.left << ", " << d.top << " pixel " << x << ", " << y;
}

TEST_P(ProductArtwork, GeneratorReproducesTheCommittedFiles) {
    artwork::ArtworkOptions options;
    if (!std::filesystem::exists(options.fontDir + "/LiberationSans-Bold.ttf"))
        GTEST_SKIP() << "Liberation fonts not installed";
    const artwork::Product* product = nullptr;
    for (const artwork::Product& candidate : artwork::allProducts())
        if (std::strcmp(candidate.name, GetParam().product) == 0) product = &candidate;
    ASSERT_NE(product, nullptr) << GetParam().product << " is not in the generator's table";

    options.outputDir =
        "/tmp/" + std::string(GetParam().product) + "_artwork_" + std::to_string(getpid());
    std::string error;
    ASSERT_TRUE(product->generate(options, error)) << error;
    // Every file it makes, not only the ones listed: they share one palette.
    for (const auto& made : std::filesystem::directory_iterator(options.outputDir)) {
        const std::string name = made.path().filename().string();
        EXPECT_EQ(bytesOf(made.path().string()), bytesOf(resources(GetParam()) + name))
            << name << " is out of date: rebuild the regenerate_artwork target";
    }
    std::filesystem::remove_all(options.outputDir);
}

INSTANTIATE_TEST_SUITE_P(AllProducts, ProductArtwork, testing::ValuesIn(allFiles),
                         [](const testing::TestParamInfo<ProductFiles>& info) {
                             return std::string(info.param.product);
                         });

} // namespace
