// TloomEditor: layout, opening and closing, the parameter flow both ways, the shape buttons'
// one-lit-per-side rule and the information picture's links.
#include "plugins/tloom/tloom_editor.h"

#include "frame/effect_base.h"
#include "gui/bitmap.h"
#include "gui/editor_frame.h"
#include "gui/knob.h"
#include "gui/web_page.h"
#include "plugins/tloom/tloom_effect.h"

#include <new>

namespace {

constexpr int32_t kParameterCount = TloomEffect::kNumParams;
constexpr int32_t kKnobStep = 55;

// A group of knobs: its first knob's top-left corner and its tags from left to right.
struct KnobGroup {
    int32_t left;
    int32_t top;
    int32_t tags[4];
    int32_t count;
};
constexpr KnobGroup kTopLeftGroup{67, 34, {8, 0, 1, 2}, 4};
constexpr KnobGroup kBottomLeftGroup{67, 118, {9, 3, 4, 5}, 4};
constexpr KnobGroup kTopRightGroup{324, 34, {10, 11}, 2};
constexpr KnobGroup kBottomRightGroup{324, 118, {12, 13, 14}, 3};

// Each display is 28 x 12, one pixel right of its knob and ten pixels below it.
constexpr int32_t kDisplayWidth = 28;
constexpr int32_t kDisplayHeight = 12;
constexpr int32_t kDisplayGap = 10;
// Centred black text on orange in a black frame, without the unit.
constexpr DisplayLook kDisplayLook{6, 1, BlackColour, {245, 93, 36, 0}, BlackColour, false};

// The shape buttons: one column per side at x 37, five buttons 13 pixels apart.
constexpr int32_t kButtonLeft = 37;
constexpr int32_t kLeftButtonsTop = 38;
constexpr int32_t kRightButtonsTop = 122;
constexpr int32_t kButtonStep = 13;

const Rect kInfoHotArea(433, 20, 465, 86);

// The link areas relative to the picture, left and top edges in, right and bottom edges out.
const Rect kLinkAreas[2] = {Rect(7, 17, 143, 26), Rect(7, 27, 110, 36)};

bool inHalfOpen(const Rect& area, const Point& p) {
    return p.h >= area.left && p.h < area.right && p.v >= area.top && p.v < area.bottom;
}

bool isShapeButtonTag(int32_t tag) {
    return tag >= TloomEditor::kFirstLeftShapeTag && tag < TloomEditor::kInfoTag;
}

} // namespace

const char* const TloomEditor::kLinks[2] = {"https://www.lumenforge.example/",
                                            "https://www.lumenforge.example/tessera-loom/"};

// ---- InfoOverlay ----

InfoOverlay::InfoOverlay(const Rect& hotArea, ControlListener* listener, int32_t tag,
                         Bitmap* picture, const Rect& pictureRect)
    : OverlayImage(hotArea, listener, tag, picture, pictureRect, Point(0, 0)) {}

int32_t InfoOverlay::linkAt(const Point& relative) {
    for (int32_t i = 0; i < 2; ++i)
        if (inHalfOpen(kLinkAreas[i], relative)) return i;
    return -1;
}

void InfoOverlay::mouse(DrawContext* context, Point& where) {
    const bool wasShowing = value != 0.0f;
    const Point pressed = where;
    const Rect picture = displayRect;
    OverlayImage::mouse(context, where);
    // Only the click that hid the picture opens a link.
    if (!wasShowing || value != 0.0f) return;
    const int32_t link = linkAt(Point(pressed.h - picture.left, pressed.v - picture.top));
    if (link >= 0) openWebPage(TloomEditor::kLinks[link]);
}

void openWebPage(const char* url) {
    showWebPage(url);
}

// ---- TloomEditor ----

TloomEditor::TloomEditor(EffectBase* owner)
    : PanelEditor(owner, kBackgroundId, {kKnobStripId, kButtonId, kInfoId}) {}

EditorInterface* createTloomEditor(EffectBase& effect) {
    return new (std::nothrow) TloomEditor(&effect);
}

void TloomEditor::addKnobWithDisplay(int32_t tag, const Rect& knobSize) {
    addKnob(knobSize, tag, kStripFrames, knobSize.getHeight(), controlBitmap(0));
    addDisplay(Rect(Point(knobSize.left + 1, knobSize.bottom + kDisplayGap), kDisplayWidth,
                    kDisplayHeight),
               tag, kDisplayLook);
}

void TloomEditor::addShapeButtons() {
    for (int32_t side = 0; side < 2; ++side) {
        const int32_t firstTag = side == 0 ? kFirstLeftShapeTag : kFirstRightShapeTag;
        const int32_t firstTop = side == 0 ? kLeftButtonsTop : kRightButtonsTop;
        Bitmap* buttonBitmap = controlBitmap(1);
        const int32_t height = buttonBitmap->getHeight() / 2;
        for (int32_t k = 0; k < TloomEffect::kNumShapes; ++k) {
            const Rect size(Point(kButtonLeft, firstTop + kButtonStep * k),
                            buttonBitmap->getWidth(), height);
            addControl(firstTag + k,
                       new (std::nothrow) ToggleButton(size, this, firstTag + k, buttonBitmap));
        }
    }
}

void TloomEditor::addControls() {
    Bitmap* knobStrip = controlBitmap(0);
    const int32_t knobWidth = knobStrip->getWidth();
    const int32_t knobHeight = knobStrip->getHeight() / kStripFrames;
    auto addGroup = [&](const KnobGroup& group) {
        for (int32_t i = 0; i < group.count; ++i)
            addKnobWithDisplay(group.tags[i], Rect(Point(group.left + kKnobStep * i, group.top),
                                                   knobWidth, knobHeight));
    };
    addGroup(kTopLeftGroup);
    addShapeButtons();
    // Light the buttons of the effect's current shapes.
    setParameter(TloomEffect::kLeftShape, 0.0f);
    setParameter(TloomEffect::kRightShape, 0.0f);
    addGroup(kBottomLeftGroup);
    addGroup(kTopRightGroup);
    addGroup(kBottomRightGroup);

    Bitmap* infoBitmap = controlBitmap(2);
    const Rect size(0, 0, background->getWidth(), background->getHeight());
    const int32_t pictureWidth = infoBitmap->getWidth();
    const int32_t pictureHeight = infoBitmap->getHeight();
    const Point pictureCorner((size.getWidth() - pictureWidth) / 2,
                              (size.getHeight() - pictureHeight) / 2);
    addToFrame(new (std::nothrow) InfoOverlay(kInfoHotArea, this, kInfoTag, infoBitmap,
                                              Rect(pictureCorner, pictureWidth, pictureHeight)));
}

// Lights the button of `shape` in the row starting at `firstTag` and puts the others out. A
// shape outside 0..4 lights the row's first button, never one of another row.
void TloomEditor::lightShape(int32_t firstTag, int32_t shape) {
    for (int32_t k = 0; k < TloomEffect::kNumShapes; ++k)
        setParameter(firstTag + k, 0.0f);
    if (shape < 0 || shape >= TloomEffect::kNumShapes) shape = 0;
    setParameter(firstTag + shape, 1.0f);
}

void TloomEditor::setParameter(int32_t tag, float value) {
    if (!frame) return;
    if (tag < 0 || tag >= kTagCount) return; // not one of the editor's tags
    PanelEditor::setParameter(tag, value);
    // The buttons show the shape the effect plays, which follows from its stored value: the
    // value handed in here is 0 when the buttons are first lit.
    if (effect && tag == TloomEffect::kLeftShape)
        lightShape(kFirstLeftShapeTag, TloomEffect::shapeFor(parameterValue(tag)));
    if (effect && tag == TloomEffect::kRightShape)
        lightShape(kFirstRightShapeTag, TloomEffect::shapeFor(parameterValue(tag)));
}

void TloomEditor::valueChanged(DrawContext* context, Control* changed) {
    if (!changed) return;
    const int32_t tag = changed->getTag();
    const float value = changed->getValue();
    if (tag >= 0 && tag < kParameterCount) {
        if (effect) effect->automateParameter(tag, value);
    } else if (isShapeButtonTag(tag)) {
        const bool leftSide = tag < kFirstRightShapeTag;
        const int32_t k = tag - (leftSide ? kFirstLeftShapeTag : kFirstRightShapeTag);
        const int32_t parameter = leftSide ? TloomEffect::kLeftShape : TloomEffect::kRightShape;
        if (effect) effect->automateParameter(parameter, value * (0.04f + 0.1f * k));
        postUpdate();
    } else {
        postUpdate();
    }
    if (effect) effect->controlChanged(tag, value);
    if (context) changed->update(context);
}
