// Every effect makes its editor through the factory its entry hands in, as the last step of its
// construction: the editor sees a finished effect, raises the has-editor flag and is owned by
// the effect; a factory that cannot make one fails the effect; no factory means no editor.
#include "frame/editor_interface.h"
#include "frame/effect_base.h"
#if HAVE_TLOOM
#include "plugins/tloom/tloom_effect.h"
#endif
#if HAVE_SWIRLET
#include "plugins/swirlet/swirlet_effect.h"
#endif
#if HAVE_GRIMFOLD
#include "plugins/grimfold/grimfold_effect.h"
#endif
#if HAVE_CORALLIS
#include "plugins/corallis/corallis_effect.h"
#endif

#include <gtest/gtest.h>

namespace {

// What the factory saw of the effect, and whether its editor was destroyed.
struct Seen {
    int calls = 0;
    int32_t inputs = 0;
    int32_t uniqueId = 0;
    bool destroyed = false;
};
Seen seen;

class StubEditor final : public EditorInterface {
  public:
    explicit StubEditor(EffectBase& effect) { effect.attachEditor(this); }
    ~StubEditor() override { seen.destroyed = true; }
    int32_t getRect(ERect**) override { return 0; }
    int32_t open(void*) override { return 0; }
    void close() override {}
    void idle() override {}
    int32_t onKeyDown(VstKeyCode&) override { return -1; }
    int32_t onKeyUp(VstKeyCode&) override { return -1; }
    int32_t setKnobMode(int32_t) override { return 0; }
    void setParameter(int32_t, float) override {}
};

EditorInterface* stubFactory(EffectBase& effect) {
    ++seen.calls;
    seen.inputs = effect.getAeffect()->numInputs;
    seen.uniqueId = effect.getAeffect()->uniqueID;
    return new StubEditor(effect);
}

EditorInterface* failingFactory(EffectBase&) {
    ++seen.calls;
    return nullptr;
}

template <class Effect> void expectFactoryRules() {
    seen = Seen{};
    auto* effect = new Effect(nullptr, stubFactory);
    EXPECT_FALSE(effect->failed);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.inputs, 2);
    EXPECT_EQ(seen.uniqueId, effect->getAeffect()->uniqueID);
    EXPECT_NE(effect->getEditor(), nullptr);
    EXPECT_EQ(effect->getAeffect()->flags, 29); // editor, VU, mono, replacing
    delete effect;
    EXPECT_TRUE(seen.destroyed);

    Effect failing(nullptr, failingFactory);
    EXPECT_EQ(seen.calls, 2);
    EXPECT_TRUE(failing.failed);

    Effect without(nullptr);
    EXPECT_FALSE(without.failed);
    EXPECT_EQ(without.getEditor(), nullptr);
    EXPECT_EQ(without.getAeffect()->flags, 28);
}

#if HAVE_TLOOM
TEST(EditorFactory, Tloom) {
    expectFactoryRules<TloomEffect>();
}
#endif
#if HAVE_SWIRLET
TEST(EditorFactory, Swirlet) {
    expectFactoryRules<SwirletEffect>();
}
#endif
#if HAVE_GRIMFOLD
TEST(EditorFactory, Grimfold) {
    expectFactoryRules<GrimfoldEffect>();
}
#endif
#if HAVE_CORALLIS
TEST(EditorFactory, Corallis) {
    expectFactoryRules<CorallisEffect>();
}
#endif

} // namespace
