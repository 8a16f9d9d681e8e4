// Colour and the predefined colours. Only red, green and blue reach a surface; the fourth
// byte is carried along and ignored by every drawing operation.
#pragma once

#include <cstdint>

struct Colour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 0;

    constexpr bool operator==(const Colour& other) const = default;

    // Equal in red, green and blue (what a surface can show).
    constexpr bool sameRgb(const Colour& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
    // The surface pixel 0x00RRGGBB.
    constexpr uint32_t toPixel() const {
        return (static_cast<uint32_t>(red) << 16) | (static_cast<uint32_t>(green) << 8) | blue;
    }
    // A surface pixel as a colour with alpha 0.
    static constexpr Colour fromPixel(uint32_t pixel) {
        return {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                static_cast<uint8_t>(pixel), 0};
    }
};

// Process-wide constants (constant-initialised: nothing runs at load time). The transparency
// key and white have equal values but are separate constants; code meaning the key uses the
// first.
inline constexpr Colour TransparentColour{255, 255, 255, 0};
inline constexpr Colour BlackColour{0, 0, 0, 0};
inline constexpr Colour WhiteColour{255, 255, 255, 0};
inline constexpr Colour GreyColour{127, 127, 127, 0};
inline constexpr Colour RedColour{255, 0, 0, 0};
inline constexpr Colour GreenColour{0, 255, 0, 0};
inline constexpr Colour BlueColour{0, 0, 255, 0};
inline constexpr Colour YellowColour{255, 255, 0, 0};
inline constexpr Colour MagentaColour{255, 0, 255, 0};
inline constexpr Colour CyanColour{0, 255, 255, 0};
