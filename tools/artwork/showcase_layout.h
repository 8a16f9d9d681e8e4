// Where the showcase editor's controls sit: eighteen cells in six columns and three rows, one
// control per cell (and one parameter per control, in the same order), each control centred in
// the upper part of its cell above its label; under the grid a strip with a key that opens a
// file selector and a display of the chosen or dropped files (neither is a parameter). Shared
// by the editor and the artwork generator, so the painted panel and the placed controls agree.
// Plain numbers only: no toolkit types.
#pragma once

namespace showcase {

enum ControlIndex : int {
    kKnob,
    kFilmstripKnob,
    kToggle,
    kOverlay,
    kVerticalSwitch,
    kHorizontalSwitch,
    kRocker,
    kFrameDisplay,
    kTwoFrame,
    kMomentary,
    kAnimation,
    kVerticalSlider,
    kHorizontalSlider,
    kDigits,
    kMeter,
    kValueDisplay,
    kTextField,
    kPopupMenu,
    // The file strip: no parameters from here on.
    kOpenFile,
    kFileDisplay,
    kControlCount
};

// The controls on the grid, each on the parameter of its index.
inline constexpr int kParameterCount = kOpenFile;

inline constexpr const char* kLabels[kParameterCount] = {
    "KNOB",     "FILMSTRIP", "TOGGLE",    "OVERLAY",   "V SWITCH",  "H SWITCH",
    "ROCKER",   "FRAMES",    "TWO FRAME", "MOMENTARY", "ANIMATION", "V SLIDER",
    "H SLIDER", "DIGITS",    "METER",     "VALUE",     "TEXT",      "MENU"};

struct Area {
    int left, top, width, height;
};

inline constexpr int kColumns = 6, kRows = 3;
inline constexpr int kMargin = 12, kTop = 30, kGap = 6;
inline constexpr int kCellWidth = 90, kCellHeight = 100, kLabelHeight = 18;
inline constexpr int kFileStripHeight = 48;
inline constexpr int kPanelWidth = 2 * kMargin + kColumns * kCellWidth + (kColumns - 1) * kGap;
inline constexpr int kPanelHeight =
    kTop + kRows * (kCellHeight + kGap) + kFileStripHeight + kMargin;

// Image measurements.
inline constexpr int kStripWidth = 32, kStripHeight = 30, kStripFrames = 64;
inline constexpr int kSwitchPositions = 3;
inline constexpr int kDisplayFrames = 7;
inline constexpr int kAnimationFrames = 8;
inline constexpr int kHandleThickness = 10;
inline constexpr int kDigitCount = 3, kDigitWidth = 12, kDigitHeight = 18;
inline constexpr int kMeterLeds = 12;

// The strip under the grid that holds the file key and the file display, with a caption line
// at its top.
constexpr Area fileStrip() {
    return {kMargin, kTop + kRows * (kCellHeight + kGap), kPanelWidth - 2 * kMargin,
            kFileStripHeight};
}
inline constexpr int kFileCaptionHeight = 14;
inline constexpr int kOpenKeyWidth = 84, kFileRowHeight = 22;

constexpr Area cell(int control) {
    return {kMargin + (control % kColumns) * (kCellWidth + kGap),
            kTop + (control / kColumns) * (kCellHeight + kGap), kCellWidth, kCellHeight};
}

constexpr Area controlSize(int control) {
    switch (control) {
    case kKnob:
        return {0, 0, 40, 40};
    case kFilmstripKnob:
        return {0, 0, kStripWidth, kStripHeight};
    case kVerticalSwitch:
        return {0, 0, 20, 60};
    case kHorizontalSwitch:
        return {0, 0, 60, 20};
    case kRocker:
        return {0, 0, 24, 48};
    case kFrameDisplay:
        return {0, 0, 60, 20};
    case kAnimation:
        return {0, 0, 32, 32};
    case kVerticalSlider:
        return {0, 0, 20, 70};
    case kHorizontalSlider:
        return {0, 0, 70, 20};
    case kDigits:
        return {0, 0, kDigitCount * kDigitWidth, kDigitHeight};
    case kMeter:
        return {0, 0, 72, 12};
    case kValueDisplay:
    case kTextField:
    case kPopupMenu:
        return {0, 0, 70, 18};
    default:
        return {0, 0, 40, 20}; // the keys
    }
}

// The control's rectangle in the panel.
constexpr Area controlArea(int control) {
    if (control == kOpenFile || control == kFileDisplay) {
        const Area strip = fileStrip();
        const int top = strip.top + kFileCaptionHeight +
                        (strip.height - kFileCaptionHeight - kFileRowHeight) / 2;
        const int keyLeft = strip.left + 10;
        if (control == kOpenFile) return {keyLeft, top, kOpenKeyWidth, kFileRowHeight};
        const int displayLeft = keyLeft + kOpenKeyWidth + 10;
        return {displayLeft, top, strip.left + strip.width - 10 - displayLeft, kFileRowHeight};
    }
    const Area c = cell(control);
    const Area s = controlSize(control);
    return {c.left + (c.width - s.width) / 2, c.top + (c.height - kLabelHeight - s.height) / 2,
            s.width, s.height};
}

// Where the overlay's panel shows while it is up: over its own cell and the next one.
constexpr Area overlayDisplay() {
    const Area c = cell(kOverlay);
    return {c.left, c.top + 20, 2 * c.width + kGap, 60};
}

} // namespace showcase
