// BMP decoding: every supported pixel format in both row orders, and the malformed files the
// decoder must refuse without reading past the bytes it was given.
#include "bmp/bmp_codec.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>

namespace {

struct BmpSpec {
    int32_t width = 7;
    int32_t height = 3; // negative: top row first
    uint16_t bits = 8;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
    std::vector<uint32_t> palette;
    std::vector<uint32_t> masks;                     // bit-field masks after the info header
    std::function<uint32_t(int32_t, int32_t)> value; // index or 0x00RRGGBB
};

void put(std::vector<unsigned char>& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

std::vector<unsigned char> makeBmp(const BmpSpec& bmpSpec) {
    const int32_t rows = bmpSpec.height < 0 ? -bmpSpec.height : bmpSpec.height;
    const uint32_t rowBytes = ((uint32_t(bmpSpec.width) * bmpSpec.bits + 31) / 32) * 4;
    const uint32_t offset =
        14 + 40 + uint32_t(bmpSpec.masks.size() * 4) + uint32_t(bmpSpec.palette.size() * 4);
    std::vector<unsigned char> out{'B', 'M'};
    put(out, offset + rowBytes * uint32_t(rows), 4);
    put(out, 0, 4);
    put(out, offset, 4);
    put(out, 40, 4);
    put(out, uint32_t(bmpSpec.width), 4);
    put(out, uint32_t(bmpSpec.height), 4);
    put(out, 1, 2);
    put(out, bmpSpec.bits, 2);
    put(out, bmpSpec.compression, 4);
    put(out, rowBytes * uint32_t(rows), 4);
    put(out, 0, 4);
    put(out, 0, 4);
    put(out, bmpSpec.coloursUsed, 4);
    put(out, 0, 4);
    for (uint32_t m : bmpSpec.masks)
        put(out, m, 4);
    for (uint32_t c : bmpSpec.palette)
        put(out, c, 4); // blue, green, red, 0
    for (int32_t fileRow = 0; fileRow < rows; ++fileRow) {
        const int32_t y = bmpSpec.height < 0 ? fileRow : rows - 1 - fileRow;
        std::vector<unsigned char> row(rowBytes, 0);
        for (int32_t x = 0; x < bmpSpec.width; ++x) {
            const uint32_t v = bmpSpec.value(x, y);
            switch (bmpSpec.bits) {
            case 1:
                row[size_t(x / 8)] |= static_cast<unsigned char>(v << (7 - x % 8));
                break;
            case 4:
                row[size_t(x / 2)] |= static_cast<unsigned char>(x % 2 ? v : v << 4);
                break;
            case 8:
                row[size_t(x)] = static_cast<unsigned char>(v);
                break;
            default:
                for (int i = 0; i < bmpSpec.bits / 8; ++i)
                    row[size_t(x * (bmpSpec.bits / 8) + i)] =
                        i < 3 ? static_cast<unsigned char>(v >> (8 * i)) : 0xAB;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

uint32_t rgbAt(int32_t x, int32_t y) {
    return uint32_t(x * 30) << 16 | uint32_t(y * 70) << 8 | 99;
}

TEST(BmpDecoding, ReadsEveryFormatInBothRowOrders) {
    for (uint16_t bits : {1, 4, 8, 24, 32}) {
        for (int32_t height : {3, -3}) {
            BmpSpec bmpSpec;
            bmpSpec.bits = bits;
            bmpSpec.height = height;
            const bool palettised = bits <= 8;
            const uint32_t colours = palettised ? (1u << bits) : 0;
            for (uint32_t i = 0; i < colours; ++i)
                bmpSpec.palette.push_back(i * 0x010203u);
            bmpSpec.value = [&](int32_t x, int32_t y) {
                return palettised ? uint32_t(x * 3 + y) % colours : rgbAt(x, y);
            };
            const std::vector<unsigned char> file = makeBmp(bmpSpec);
            BmpImage out;
            ASSERT_TRUE(decodeBmpFile(file.data(), file.size(), out)) << bits << " bits";
            ASSERT_EQ(out.width, 7);
            ASSERT_EQ(out.height, 3);
            for (int32_t y = 0; y < 3; ++y)
                for (int32_t x = 0; x < 7; ++x)
                    EXPECT_EQ(out.at(x, y),
                              palettised ? bmpSpec.palette[bmpSpec.value(x, y)] : rgbAt(x, y))
                        << bits << " bits, height " << height << ", at " << x << ", " << y;
        }
    }
}

TEST(BmpDecoding, ShortPaletteAndStandardBitFields) {
    // Two palette entries declared; an index past them reads black instead of beyond.
    BmpSpec bmpSpec;
    bmpSpec.coloursUsed = 2;
    bmpSpec.palette = {0x112233, 0x445566};
    bmpSpec.value = [](int32_t x, int32_t) { return uint32_t(x % 3 == 2 ? 200 : x % 2); };
    std::vector<unsigned char> file = makeBmp(bmpSpec);
    BmpImage out;
    ASSERT_TRUE(decodeBmpFile(file.data(), file.size(), out));
    EXPECT_EQ(out.at(0, 0), 0x112233u);
    EXPECT_EQ(out.at(1, 0), 0x445566u);
    EXPECT_EQ(out.at(2, 0), 0u);

    BmpSpec fields;
    fields.bits = 32;
    fields.compression = 3;
    fields.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    fields.value = rgbAt;
    file = makeBmp(fields);
    ASSERT_TRUE(decodeBmpFile(file.data(), file.size(), out));
    EXPECT_EQ(out.at(6, 2), rgbAt(6, 2));
    fields.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
    file = makeBmp(fields);
    EXPECT_FALSE(decodeBmpFile(file.data(), file.size(), out));
}

TEST(BmpDecoding, RefusesMalformedFilesAndLeavesTheOutputAlone) {
    BmpSpec good;
    for (uint32_t i = 0; i < 256; ++i)
        good.palette.push_back(i);
    good.value = [](int32_t x, int32_t y) { return uint32_t(x + y); };
    const std::vector<unsigned char> valid = makeBmp(good);

    auto patched = [&](size_t at, uint32_t v, int bytes) {
        std::vector<unsigned char> file = valid;
        for (int i = 0; i < bytes; ++i)
            file[at + size_t(i)] = static_cast<unsigned char>(v >> (8 * i));
        return file;
    };
    std::vector<std::pair<const char*, std::vector<unsigned char>>> bad = {
        {"magic", patched(0, 'X', 1)},
        {"pixel offset past the end", patched(10, 0x7FFFFFFF, 4)},
        {"info header too small", patched(14, 12, 4)},
        {"info header past the end", patched(14, 0xFFFFFFF0u, 4)},
        {"zero width", patched(18, 0, 4)},
        {"negative width", patched(18, uint32_t(-7), 4)},
        {"zero height", patched(22, 0, 4)},
        {"most negative height", patched(22, uint32_t(INT_MIN), 4)},
        {"huge image", patched(18, 100000, 4)},
        {"two planes", patched(26, 2, 2)},
        {"16 bits", patched(28, 16, 2)},
        {"run-length compression", patched(30, 1, 4)},
    };
    bad.push_back(
        {"palette cut short", std::vector<unsigned char>(valid.begin(), valid.begin() + 200)});
    std::vector<unsigned char> truncated = valid;
    truncated.pop_back();
    bad.push_back({"last row cut short", truncated});
    bad.push_back(
        {"only a file header", std::vector<unsigned char>(valid.begin(), valid.begin() + 14)});

    for (const auto& [what, file] : bad) {
        BmpImage out(2, 2, 0x123456u);
        EXPECT_FALSE(decodeBmpFile(file.data(), file.size(), out)) << what;
        EXPECT_EQ(out.width, 2) << what;
        EXPECT_EQ(out.at(1, 1), 0x123456u) << what;
    }
    BmpImage out;
    EXPECT_FALSE(decodeBmpFile(nullptr, 100, out));
    EXPECT_TRUE(decodeBmpFile(valid.data(), valid.size(), out));
}

} // namespace
