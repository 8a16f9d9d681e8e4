// 8-bit BMP writing checked through the toolkit's decoder, and the palette reduction.
#include "bmp/bmp_codec.h"
#include "tools/artwork/bmp_file.h"
#include "tools/artwork/palette.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <unistd.h>

namespace {

using namespace artwork;

uint32_t readLe(const std::vector<uint8_t>& bytes, size_t at, int count) {
    uint32_t v = 0;
    for (int i = count - 1; i >= 0; --i)
        v = v << 8 | bytes[at + size_t(i)];
    return v;
}

IndexedImage randomImage(int width, int height, uint32_t seed) {
    std::mt19937 random(seed);
    IndexedImage image;
    image.width = width;
    image.height = height;
    for (uint32_t& colour : image.palette)
        colour = random() & 0xFFFFFFu;
    for (int i = 0; i < width * height; ++i)
        image.indices.push_back(uint8_t(random()));
    return image;
}

TEST(BmpWriter, EightBitFilesReadBackAsWrittenAtEveryRowPadding) {
    for (int width : {1, 2, 3, 4, 5, 31}) {
        const IndexedImage image = randomImage(width, 7, uint32_t(width));
        const std::vector<uint8_t> bytes = encodeBmp8(image);
        const uint32_t rowBytes = (uint32_t(width) + 3) & ~3u;
        EXPECT_EQ(bytes.size(), 14 + 40 + 1024 + rowBytes * 7);
        EXPECT_EQ(readLe(bytes, 2, 4), bytes.size());
        EXPECT_EQ(readLe(bytes, 10, 4), 1078u);
        EXPECT_EQ(readLe(bytes, 28, 2), 8u);
        EXPECT_EQ(readLe(bytes, 46, 4), 256u);

        BmpImage decoded;
        ASSERT_TRUE(decodeBmpFile(bytes.data(), bytes.size(), decoded));
        EXPECT_EQ(decoded.width, width);
        EXPECT_EQ(decoded.height, 7);
        EXPECT_EQ(decoded.pixels, expand(image).pixels) << "width " << width;
    }
}

TEST(BmpWriter, FilesOnDiskRoundTrip) {
    const IndexedImage image = randomImage(13, 5, 99);
    const std::string path = "/tmp/artwork_round_trip_" + std::to_string(getpid()) + ".bmp";
    std::string error;
    ASSERT_TRUE(writeBmp8(path, image, error)) << error;
    BmpImage read;
    ASSERT_TRUE(readBmp(path, read, error)) << error;
    EXPECT_EQ(read.pixels, expand(image).pixels);
    std::remove(path.c_str());
    EXPECT_FALSE(readBmp(path, read, error));
    EXPECT_FALSE(writeBmp8("/nonexistent-folder/x.bmp", image, error));
}

TEST(Palette, FewColoursAreKeptExactlyAndManyAreApproximatedClosely) {
    Image few(16, 1);
    for (int x = 0; x < 16; ++x)
        few.at(x, 0) = hex(0x102030u * uint32_t(x) & 0xFFFFFFu);
    const Palette exact = buildPalette({&few});
    EXPECT_EQ(exact.count, 16);
    EXPECT_EQ(expand(quantise(few, exact)).pixels[5], toRgb8(few.at(5, 0)));

    // A smooth two-axis gradient of 4096 colours: every pixel ends close to its colour.
    Image many(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            many.at(x, y) = {float(x) / 63.0f, float(y) / 63.0f, 0.3f};
    const Palette reduced = buildPalette({&many});
    EXPECT_EQ(reduced.count, 256);
    const BmpImage result = expand(quantise(many, reduced));
    std::set<uint32_t> used(result.pixels.begin(), result.pixels.end());
    EXPECT_GT(used.size(), 200u);
    int worst = 0;
    for (int i = 0; i < 64 * 64; ++i) {
        const uint32_t a = result.pixels[size_t(i)], b = toRgb8(many.pixels[size_t(i)]);
        for (int shift = 0; shift <= 16; shift += 8)
            worst = std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    }
    EXPECT_LE(worst, 12);
}

} // namespace
