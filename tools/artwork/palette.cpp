// Median-cut palette construction, k-means refinement and nearest-colour mapping.
#include "tools/artwork/palette.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace artwork {

namespace {

struct Entry {
    int rgb[3];
    double weight;
};

// Channel weights of the colour distance: the eye separates greens best and blues least.
constexpr double channelWeight[3] = {3.0, 4.0, 2.0};

double distance2(const int* a, const double* b) {
    double sum = 0.0;
    for (int c = 0; c < 3; ++c) {
        const double d = double(a[c]) - b[c];
        sum += channelWeight[c] * d * d;
    }
    return sum;
}

int channel(uint32_t rgb, int c) {
    return int((rgb >> (16 - 8 * c)) & 0xFF);
}

struct Cut {
    size_t begin, end; // range of entries
    double score;      // how much splitting it helps
    int axis;
};

Cut describe(std::vector<Entry>& entries, size_t begin, size_t end) {
    int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
    double weight = 0.0;
    for (size_t i = begin; i < end; ++i) {
        for (int c = 0; c < 3; ++c) {
            low[c] = std::min(low[c], entries[i].rgb[c]);
            high[c] = std::max(high[c], entries[i].rgb[c]);
        }
        weight += entries[i].weight;
    }
    int axis = 0;
    double best = -1.0;
    for (int c = 0; c < 3; ++c) {
        const double range = double(high[c] - low[c]) * std::sqrt(channelWeight[c]);
        if (range > best) {
            best = range;
            axis = c;
        }
    }
    // Large boxes and heavily used boxes are split first; sqrt keeps rare accent colours
    // from being swallowed by big flat areas.
    const double score = end - begin > 1 ? best * std::sqrt(weight) : -1.0;
    return {begin, end, score, axis};
}

} // namespace

uint32_t toRgb8(const Rgb& colour) {
    auto byte = [](float v) {
        return uint32_t(std::lround(std::min(1.0f, std::max(0.0f, v)) * 255.0f));
    };
    return byte(colour.r) << 16 | byte(colour.g) << 8 | byte(colour.b);
}

Palette buildPalette(const std::vector<const Image*>& images) {
    std::unordered_map<uint32_t, double> histogram;
    for (const Image* image : images)
        for (const Rgb& pixel : image->pixels)
            histogram[toRgb8(pixel)] += 1.0;

    std::vector<Entry> entries;
    entries.reserve(histogram.size());
    for (const auto& [rgb, weight] : histogram)
        entries.push_back({{channel(rgb, 0), channel(rgb, 1), channel(rgb, 2)}, weight});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::lexicographical_compare(a.rgb, a.rgb + 3, b.rgb, b.rgb + 3);
    });

    Palette palette;
    if (entries.size() <= 256) {
        for (const Entry& e : entries)
            palette.colours[size_t(palette.count++)] =
                uint32_t(e.rgb[0]) << 16 | uint32_t(e.rgb[1]) << 8 | uint32_t(e.rgb[2]);
        return palette;
    }

    // Median cut: split the box with the best score at its weighted median until 256 boxes.
    std::vector<Cut> cuts{describe(entries, 0, entries.size())};
    while (cuts.size() < 256) {
        auto best = std::max_element(cuts.begin(), cuts.end(),
                                     [](const Cut& a, const Cut& b) { return a.score < b.score; });
        if (best->score <= 0.0) break;
        const Cut cut = *best;
        std::sort(entries.begin() + long(cut.begin), entries.begin() + long(cut.end),
                  [axis = cut.axis](const Entry& a, const Entry& b) {
                      return a.rgb[axis] < b.rgb[axis];
                  });
        double total = 0.0;
        for (size_t i = cut.begin; i < cut.end; ++i)
            total += entries[i].weight;
        double running = 0.0;
        size_t middle = cut.begin + 1;
        for (size_t i = cut.begin; i < cut.end - 1; ++i) {
            running += entries[i].weight;
            middle = i + 1;
            if (running >= total * 0.5) break;
        }
        *best = describe(entries, cut.begin, middle);
        cuts.push_back(describe(entries, middle, cut.end));
    }

    std::vector<std::array<double, 3>> centres;
    for (const Cut& cut : cuts) {
        std::array<double, 3> sum{0, 0, 0};
        double weight = 0.0;
        for (size_t i = cut.begin; i < cut.end; ++i) {
            for (int c = 0; c < 3; ++c)
                sum[size_t(c)] += entries[i].rgb[c] * entries[i].weight;
            weight += entries[i].weight;
        }
        for (double& s : sum)
            s /= weight;
        centres.push_back(sum);
    }

    // K-means refinement over the distinct colours, weighted by their pixel counts.
    std::vector<size_t> owner(entries.size(), 0);
    for (int iteration = 0; iteration < 10; ++iteration) {
        for (size_t i = 0; i < entries.size(); ++i) {
            double best = 1e300;
            for (size_t k = 0; k < centres.size(); ++k) {
                const double d = distance2(entries[i].rgb, centres[k].data());
                if (d < best) {
                    best = d;
                    owner[i] = k;
                }
            }
        }
        std::vector<std::array<double, 4>> sums(centres.size(), {0, 0, 0, 0});
        for (size_t i = 0; i < entries.size(); ++i) {
            for (int c = 0; c < 3; ++c)
                sums[owner[i]][size_t(c)] += entries[i].rgb[c] * entries[i].weight;
            sums[owner[i]][3] += entries[i].weight;
        }
        for (size_t k = 0; k < centres.size(); ++k)
            if (sums[k][3] > 0.0)
                for (int c = 0; c < 3; ++c)
                    centres[k][size_t(c)] = sums[k][size_t(c)] / sums[k][3];
    }

    for (const auto& centre : centres) {
        uint32_t rgb = 0;
        for (int c = 0; c < 3; ++c)
            rgb |= uint32_t(std::lround(std::min(255.0, std::max(0.0, centre[size_t(c)]))))
                   << (16 - 8 * c);
        palette.colours[size_t(palette.count++)] = rgb;
    }
    return palette;
}

IndexedImage quantise(const Image& image, const Palette& palette) {
    IndexedImage out;
    out.width = image.width;
    out.height = image.height;
    out.palette = palette.colours;
    out.indices.resize(image.pixels.size());
    std::unordered_map<uint32_t, uint8_t> cache;
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const uint32_t rgb = toRgb8(image.pixels[i]);
        auto found = cache.find(rgb);
        if (found == cache.end()) {
            const int colour[3] = {channel(rgb, 0), channel(rgb, 1), channel(rgb, 2)};
            double best = 1e300;
            int bestIndex = 0;
            for (int k = 0; k < palette.count; ++k) {
                const uint32_t p = palette.colours[size_t(k)];
                const double entry[3] = {double(channel(p, 0)), double(channel(p, 1)),
                                         double(channel(p, 2))};
                const double d = distance2(colour, entry);
                if (d < best) {
                    best = d;
                    bestIndex = k;
                }
            }
            found = cache.emplace(rgb, uint8_t(bestIndex)).first;
        }
        out.indices[i] = found->second;
    }
    return out;
}

} // namespace artwork
