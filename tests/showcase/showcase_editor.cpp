// ShowcaseEditor: building the grid of controls and the parameter flow both ways.
#include "tests/showcase/showcase_editor.h"

#include "frame/effect_base.h"
#include "frame/value_text.h"
#include "gui/bitmap.h"
#include "gui/buttons.h"
#include "gui/displays.h"
#include "gui/editor_frame.h"
#include "gui/file_selector.h"
#include "gui/knob.h"
#include "gui/popup_menu.h"
#include "gui/sliders.h"
#include "gui/switches.h"
#include "gui/text_field.h"
#include "gui/value_display.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

using namespace showcase;

namespace {

// The control images, in resource order from 111.
enum Image : int32_t {
    kKnobImage,
    kStripImage,
    kToggleImage,
    kOverlayImage,
    kVerticalSwitchImage,
    kHorizontalSwitchImage,
    kRockerImage,
    kFrameDisplayImage,
    kTwoFrameImage,
    kMomentaryImage,
    kAnimationImage,
    kVerticalTrackImage,
    kVerticalHandleImage,
    kHorizontalTrackImage,
    kHorizontalHandleImage,
    kDigitsImage,
    kMeterOnImage,
    kMeterOffImage,
    kOpenKeyImage
};

constexpr const char* kMenuEntries[] = {"Sine", "Triangle", "Square", "Saw"};
constexpr int32_t kMenuEntryCount = 4;
constexpr float kDigitRange = 999.0f;
constexpr uint32_t kAnimationStepMs = 80;

const Colour kFieldBack{22, 24, 28, 0};
const Colour kFieldText{242, 160, 61, 0};
const Colour kFieldFrame{74, 80, 88, 0};
const Colour kAccent{242, 160, 61, 0};

Rect rectOf(int32_t control) {
    const Area a = controlArea(control);
    return Rect(Point(a.left, a.top), a.width, a.height);
}

// The field's text for a parameter value: two decimals, whatever the locale.
void parameterText(float value, char* text) {
    formatScaledTwoDecimals(value, 1.0, 0.0, text);
}

// The number at the start of `text` ("0.3", " .75", "-2"), read with '.' as the decimal point
// whatever the process's locale, which a host may have set; 0 when there is none.
float parseNumber(const char* text) {
    while (*text == ' ')
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    double number = 0.0;
    for (; *text >= '0' && *text <= '9'; ++text)
        number = number * 10.0 + (*text - '0');
    if (*text == '.') {
        double scale = 0.1;
        for (++text; *text >= '0' && *text <= '9'; ++text, scale *= 0.1)
            number += (*text - '0') * scale;
    }
    return static_cast<float>(negative ? -number : number);
}

float clampUnit(float v) {
    if (!(v >= 0.0f)) return 0.0f; // below, or not a number
    return v > 1.0f ? 1.0f : v;
}

void styleField(ValueDisplay* display) {
    display->setBackColour(kFieldBack);
    display->setFontColour(kFieldText);
    display->setFrameColour(kFieldFrame);
}

// A file type of the open key's selector.
VstFileType fileType(const char* name, const char* extension, const char* mime) {
    VstFileType type{};
    std::snprintf(type.name, sizeof type.name, "%s", name);
    std::snprintf(type.dosType, sizeof type.dosType, "%s", extension);
    std::snprintf(type.unixType, sizeof type.unixType, "%s", extension);
    std::snprintf(type.mimeType1, sizeof type.mimeType1, "%s", mime);
    return type;
}

} // namespace

ShowcaseEditor::ShowcaseEditor(EffectBase* owner)
    : PanelEditor(owner, kBackgroundId, kFirstImageId, kImageCount) {}

EditorInterface* createShowcaseEditor(EffectBase& effect) {
    return new (std::nothrow) ShowcaseEditor(&effect);
}

Control* ShowcaseEditor::makeControl(int32_t index) {
    const Rect size = rectOf(index);
    const Point origin(0, 0);
    const Area area = controlArea(index);
    switch (index) {
    case kKnob: {
        auto* knob =
            new (std::nothrow) Knob(size, this, index, controlBitmap(kKnobImage), nullptr, origin);
        if (knob) knob->setHandleColour(kAccent);
        return knob;
    }
    case kFilmstripKnob:
        return new (std::nothrow) FilmstripKnob(size, this, index, kStripFrames, kStripHeight,
                                                controlBitmap(kStripImage), origin);
    case kToggle:
        return new (std::nothrow) ToggleButton(size, this, index, controlBitmap(kToggleImage));
    case kOverlay: {
        const Area d = overlayDisplay();
        return new (std::nothrow)
            OverlayImage(size, this, index, controlBitmap(kOverlayImage),
                         Rect(Point(d.left, d.top), d.width, d.height), origin);
    }
    case kVerticalSwitch:
        return new (std::nothrow)
            VerticalStepSwitch(size, this, index, kSwitchPositions, area.height, kSwitchPositions,
                               controlBitmap(kVerticalSwitchImage), origin);
    case kHorizontalSwitch:
        return new (std::nothrow)
            HorizontalStepSwitch(size, this, index, kSwitchPositions, area.height, kSwitchPositions,
                                 controlBitmap(kHorizontalSwitchImage), origin);
    case kRocker:
        return new (std::nothrow)
            ThreeWayRocker(size, this, index, area.height, controlBitmap(kRockerImage), origin, 0);
    case kFrameDisplay:
        return new (std::nothrow) FrameDisplay(size, this, index, kDisplayFrames, area.height,
                                               controlBitmap(kFrameDisplayImage), origin);
    case kTwoFrame:
        return new (std::nothrow)
            TwoFrameButton(size, this, index, area.height, controlBitmap(kTwoFrameImage), origin);
    case kMomentary:
        return new (std::nothrow)
            MomentaryButton(size, this, index, area.height, controlBitmap(kMomentaryImage), origin);
    case kAnimation:
        return new (std::nothrow) LoopAnimation(size, this, index, kAnimationFrames, area.height,
                                                controlBitmap(kAnimationImage), origin);
    case kVerticalSlider:
        return new (std::nothrow)
            VerticalSlider(size, this, index, area.top, area.top + area.height - kHandleThickness,
                           controlBitmap(kVerticalHandleImage), controlBitmap(kVerticalTrackImage),
                           origin, SliderValueUp);
    case kHorizontalSlider:
        return new (std::nothrow) HorizontalSlider(
            size, this, index, area.left, area.left + area.width - kHandleThickness,
            controlBitmap(kHorizontalHandleImage), controlBitmap(kHorizontalTrackImage), origin,
            SliderValueRight);
    case kDigits:
        return new (std::nothrow)
            DigitDisplay(size, this, index, 0.0f, kDigitCount, nullptr, nullptr, kDigitWidth,
                         kDigitHeight, controlBitmap(kDigitsImage));
    case kMeter: {
        auto* meter = new (std::nothrow)
            LevelMeter(size, controlBitmap(kMeterOnImage), controlBitmap(kMeterOffImage),
                       kMeterLeds, MeterHorizontal);
        if (meter) meter->setTag(index);
        return meter;
    }
    case kValueDisplay: {
        auto* display = new (std::nothrow) ValueDisplay(size, nullptr, kDisplaySunkenFrame);
        if (!display) return nullptr;
        display->setTag(index);
        styleField(display);
        return display;
    }
    case kTextField: {
        auto* field =
            new (std::nothrow) TextField(size, this, index, "", nullptr, kDisplaySunkenFrame);
        if (field) styleField(field);
        return field;
    }
    case kPopupMenu: {
        auto* menu =
            new (std::nothrow) PopupMenu(size, this, index, nullptr, nullptr, kMenuCheckCurrent);
        if (!menu) return nullptr;
        for (const char* entry : kMenuEntries)
            menu->addEntry(entry);
        styleField(menu);
        return menu;
    }
    case kOpenFile:
        return new (std::nothrow) OpenKey(size, this, index, controlBitmap(kOpenKeyImage));
    case kFileDisplay: {
        auto* display = new (std::nothrow) FileDisplay(size);
        if (!display) return nullptr;
        display->setTag(index);
        styleField(display);
        display->show(fileLine);
        return display;
    }
    default:
        return nullptr;
    }
}

void ShowcaseEditor::addControls() {
    const Rect size(0, 0, background->getWidth(), background->getHeight());
    // First, so under every control: a drop that no control takes reaches the file display.
    auto* catcher =
        new (std::nothrow) DropCatcher(size, [this](void** items, int32_t count, int32_t type) {
            return dropped(items, count, type);
        });
    addToFrame(catcher);
    for (int32_t i = 0; i < kControlCount; ++i) {
        Control* made = addControl(i, makeControl(i));
        if (made && i < kParameterCount) fromParameter(i, parameterValue(i));
    }
    lastAnimationStep = getTicks();
}

// Moves control `index` to the parameter value (GUI thread).
void ShowcaseEditor::fromParameter(int32_t index, float value) {
    Control* c = control(index);
    if (!c) return;
    switch (index) {
    case kRocker:
        c->setValue(value * 2.0f - 1.0f);
        break;
    case kDigits:
        c->setValue(std::floor(clampUnit(value) * kDigitRange + 0.5f));
        break;
    case kAnimation: {
        auto* animation = static_cast<LoopAnimation*>(c);
        const bool run = value >= 0.5f;
        if (run == animation->isOpen()) break;
        if (run)
            animation->openAnimation();
        else
            animation->closeAnimation();
        c->setDirty();
        break;
    }
    case kTextField: {
        char text[64];
        parameterText(value, text);
        static_cast<TextField*>(c)->setText(text);
        break;
    }
    case kPopupMenu: {
        auto* menu = static_cast<PopupMenu*>(c);
        const auto entry = static_cast<int32_t>(clampUnit(value) * (kMenuEntryCount - 1) + 0.5f);
        if (entry == menu->getCurrent()) break;
        menu->setCurrent(entry);
        c->setDirty();
        break;
    }
    default:
        c->setValue(value);
        break;
    }
}

float ShowcaseEditor::toParameter(int32_t index, Control* c) const {
    switch (index) {
    case kRocker:
        return clampUnit((c->getValue() + 1.0f) * 0.5f);
    case kDigits:
        return clampUnit(c->getValue() / kDigitRange);
    case kAnimation:
        return static_cast<LoopAnimation*>(c)->isOpen() ? 1.0f : 0.0f;
    case kTextField: {
        char text[256];
        static_cast<TextField*>(c)->getText(text);
        return clampUnit(parseNumber(text));
    }
    case kPopupMenu:
        return static_cast<float>(static_cast<PopupMenu*>(c)->getCurrent()) /
               static_cast<float>(kMenuEntryCount - 1);
    default:
        return clampUnit(c->getValue());
    }
}

void ShowcaseEditor::setParameter(int32_t index, float value) {
    if (!frame) return;
    if (index == kTextField) {
        pendingText.store(value); // setText copies and marks: left to the GUI thread
    } else if (index >= 0 && index < kParameterCount && index != kAnimation &&
               index != kPopupMenu && control(index)) {
        fromParameter(index, value);
    }
    postUpdate();
}

// Host changes the GUI thread applies: the text, the menu's entry and the animation, which
// change more than a stored value.
void ShowcaseEditor::update() {
    if (!effect) return;
    const float text = pendingText.exchange(-1.0f);
    if (text >= 0.0f) fromParameter(kTextField, text);
    fromParameter(kPopupMenu, effect->getParameter(kPopupMenu));
    fromParameter(kAnimation, effect->getParameter(kAnimation));
}

void ShowcaseEditor::idle() {
    auto* animation = static_cast<LoopAnimation*>(control(kAnimation));
    const uint32_t now = getTicks();
    if (animation && animation->isOpen() && now - lastAnimationStep >= kAnimationStepMs) {
        lastAnimationStep = now;
        animation->nextFrame();
        animation->setDirty();
    }
    EditorBase::idle();
}

void ShowcaseEditor::valueChanged(DrawContext* context, Control* c) {
    if (!c) return;
    const int32_t index = c->getTag();
    if (index == kOpenFile) {
        openFile(); // the editor may be closed when it returns: nothing of the frame after it
        return;
    }
    if (effect && index >= 0 && index < kParameterCount)
        effect->automateParameter(index, toParameter(index, c));
    if (context) c->update(context);
}

void ShowcaseEditor::openFile() {
    VstFileType types[] = {fileType("Wave audio", "wav", "audio/x-wav"),
                           fileType("AIFF audio", "aif", "audio/x-aiff")};
    VstFileSelect request{};
    request.command = kVstFileLoad;
    request.fileTypes = types;
    request.nbFileTypes = 2;
    std::snprintf(request.title, sizeof request.title, "%s", "Open an audio file");
    // The selector keeps the editor idling while its dialog is open; it releases what it put
    // into the request before the request goes.
    FileSelector selector(effect);
    if (selector.run(&request) < 1 || !request.returnPath) return;
    // A host that filled the path may not have said how long its buffer is.
    const size_t room =
        request.sizeReturnPath > 0 ? static_cast<size_t>(request.sizeReturnPath) : PATH_MAX;
    const std::string path(request.returnPath, strnlen(request.returnPath, room));
    if (!path.empty()) showFiles(chosenFilesLine({path}));
}

bool ShowcaseEditor::dropped(void** items, int32_t count, int32_t type) {
    if (!items || count <= 0) return false;
    if (type == 0) {
        std::vector<std::string> paths;
        for (int32_t i = 0; i < count; ++i)
            if (items[i]) paths.emplace_back(static_cast<const char*>(items[i]));
        if (paths.empty()) return false;
        showFiles(droppedFilesLine(paths));
        return true;
    }
    if (type == 1 && items[0]) {
        // count is the block's size, its terminating zero included.
        const auto* text = static_cast<const char*>(items[0]);
        showFiles(droppedTextLine(std::string(text, strnlen(text, static_cast<size_t>(count)))));
        return true;
    }
    return false;
}

void ShowcaseEditor::showFiles(const FileLine& line) {
    fileLine = line;
    if (auto* display = static_cast<FileDisplay*>(control(kFileDisplay))) display->show(line);
}
