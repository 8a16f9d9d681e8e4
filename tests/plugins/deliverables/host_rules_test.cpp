// What every deliverable does with the host input a careless or hostile host sends: parameter
// indices and values outside their ranges, missing text and audio buffers, empty blocks,
// unusable and extreme sample rates, a comma locale; and the rules of its audio entries:
// accumulating adds exactly what replacing writes, in place or not, without allocating.
#include "tests/plugins/deliverables/each_plugin.h"
#include "tests/support/allocation_counter.h"
#include "tests/support/comma_locale.h"

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

using HostRules = EachPlugin;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

bool isBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

TEST_P(HostRules, BadParameterIndicesAnswerEmptyAndChangeNothing) {
    auto host = load();
    const int32_t count = host->effect()->numParams;
    const auto before = snapshot(*host);
    for (int32_t index : {-1, count, 1000, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(index);
        host->setParameter(index, 0.77f);
        EXPECT_EQ(host->getParameter(index), 0.0f);
        EXPECT_EQ(exactText(*host, effGetParamName, index), "");
        EXPECT_EQ(exactText(*host, effGetParamDisplay, index), "");
        EXPECT_TRUE(isBlank(exactText(*host, effGetParamLabel, index)));
        char text[256] = "0.5";
        host->dispatch(effString2Parameter, index, 0, text);
        host->dispatch(effCanBeAutomated, index);
        char properties[1024] = {};
        host->dispatch(effGetParameterProperties, index, 0, properties);
    }
    EXPECT_EQ(snapshot(*host), before);
}

// Every parameter stores the boundary's value and shows the text of that value.
TEST_P(HostRules, OutOfRangeValuesAreHeldToTheRange) {
    auto host = load();
    for (int32_t i = 0; i < host->effect()->numParams; ++i) {
        SCOPED_TRACE(i);
        host->setParameter(i, 0.0f);
        const std::string bottom = host->paramDisplay(i);
        host->setParameter(i, 1.0f);
        const std::string top = host->paramDisplay(i);
        for (float low : {kNaN, -kInf, -3.0f}) {
            host->setParameter(i, low);
            EXPECT_EQ(host->getParameter(i), 0.0f) << low;
            EXPECT_EQ(host->paramDisplay(i), bottom) << low;
        }
        for (float high : {kInf, 5.0f}) {
            host->setParameter(i, high);
            EXPECT_EQ(host->getParameter(i), 1.0f) << high;
            EXPECT_EQ(host->paramDisplay(i), top) << high;
        }
    }
}

// Every text and text-taking request a host may send with a null buffer answers 0.
TEST_P(HostRules, NullTextBuffersAreRefused) {
    auto host = load();
    const std::string name = host->programName();
    for (int32_t opcode :
         {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
          effGetParamName, effEditGetRect, effString2Parameter, effGetProgramNameIndexed,
          effGetEffectName, effGetVendorString, effGetProductString, effCanDo})
        EXPECT_EQ(host->dispatch(opcode, 0, 0, nullptr), 0) << opcode;
    EXPECT_EQ(host->programName(), name);
}

TEST_P(HostRules, BlocksWithoutAudioLeaveTheOutputsAlone) {
    auto host = load();
    StereoBuffer block(64, 0.5f, 3.0f);
    for (int32_t frames : {0, -1, -512, INT32_MIN}) {
        host->processReplacing(block.in, block.out, frames);
        host->process(block.in, block.out, frames);
    }
    float* missingLeft[2] = {nullptr, block.inR.data()};
    float* missingRight[2] = {block.inL.data(), nullptr};
    for (float** inputs : {static_cast<float**>(nullptr), missingLeft, missingRight}) {
        host->processReplacing(inputs, block.out, 64);
        host->process(inputs, block.out, 64);
    }
    float* outputLeftOnly[2] = {block.outL.data(), nullptr};
    for (float** outputs : {static_cast<float**>(nullptr), outputLeftOnly}) {
        host->processReplacing(block.in, outputs, 64);
        host->process(block.in, outputs, 64);
    }
    EXPECT_EQ(block.outL, std::vector<float>(64, 3.0f));
    EXPECT_EQ(block.outR, std::vector<float>(64, 3.0f));
}

// Two instances fed the same input: one replaces, one adds onto what the host's buffers hold.
TEST_P(HostRules, ProcessAddsExactlyWhatProcessReplacingWrites) {
    auto replacing = load(), adding = load();
    StereoBuffer r(512), a(512);
    float peak = 0.0f;
    for (int block = 0; block < 24; ++block) {
        r.noise(0.5f);
        a.noise(0.5f);
        a.fillOutput(0.25f);
        replacing->processReplacing(r.in, r.out, 512);
        adding->process(a.in, a.out, 512);
        for (size_t i = 0; i < 512; ++i) {
            ASSERT_EQ(a.outL[i], 0.25f + r.outL[i]) << block << " " << i;
            ASSERT_EQ(a.outR[i], 0.25f + r.outR[i]) << block << " " << i;
        }
        peak = std::fmax(peak, r.outputPeak());
    }
    EXPECT_GT(peak, 0.01f);
}

TEST_P(HostRules, InPlaceProcessingGivesTheSameSamples) {
    auto separate = load(), inPlace = load();
    StereoBuffer s(512);
    for (int block = 0; block < 24; ++block) {
        s.noise(0.5f);
        std::vector<float> left = s.inL, right = s.inR;
        float* shared[2] = {left.data(), right.data()};
        separate->processReplacing(s.in, s.out, 512);
        inPlace->processReplacing(shared, shared, 512);
        ASSERT_EQ(left, s.outL) << block;
        ASSERT_EQ(right, s.outR) << block;
    }
}

// Numbers keep their point under a comma locale the host set, and the host's locale is left
// as it was.
TEST_P(HostRules, DisplaysIgnoreTheHostsLocale) {
    auto host = load();
    for (int32_t i = 0; i < host->effect()->numParams; ++i)
        host->setParameter(i, 0.3337f);
    const auto inC = snapshot(*host);
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!setCommaLocale()) GTEST_SKIP() << "no German locale is installed";
    const std::string german = std::setlocale(LC_ALL, nullptr);
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.2f", 12.5);
    const auto inGerman = snapshot(*host);
    const std::string after = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_STREQ(probe, "12,50") << "the comma locale was not in force";
    EXPECT_EQ(inGerman, inC);
    EXPECT_EQ(after, german);
}

// Audio, parameter and program changes at every setting, and blocks of odd sizes, never touch
// the heap.
TEST_P(HostRules, ProcessingAndParameterChangesAllocateNothing) {
    auto host = load(48000.0f, 512);
    StereoBuffer block(512);
    block.noise(0.5f);
    allocation_counter::start();
    for (float setting : {0.0f, 1.0f, 0.5f}) {
        setEveryParameter(*host, setting);
        for (int i = 0; i < 4; ++i) {
            host->processReplacing(block.in, block.out, 512);
            host->process(block.in, block.out, 37);
        }
    }
    host->dispatch(effSetProgram, 0, 2);
    host->processReplacing(block.in, block.out, 511);
    EXPECT_EQ(allocation_counter::stop(), 0u);
    // The counter does see allocations in this process, or the zero above would prove nothing.
    allocation_counter::start();
    std::vector<float> probe(1000);
    EXPECT_GT(allocation_counter::stop(), 0u);
}

// A rate request that leaves every delay line as long as it is (the same rate again, a rate
// a fraction of a hertz away, the largest lines again) reuses the lines in place.
TEST_P(HostRules, RateRequestsThatKeepTheLineLengthsAllocateNothing) {
    for (float rate : {48000.0f, 48000.5f, 1.0e7f, 1.0e9f}) {
        SCOPED_TRACE(rate);
        auto host = load(rate, 512);
        allocation_counter::start();
        host->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        host->dispatch(effSetSampleRate, 0, 0, nullptr, rate + rate * 1.0e-7f);
        EXPECT_EQ(allocation_counter::stop(), 0u);
    }
}

// Rates no host should send never reach the effect: it sounds exactly like a twin that never
// saw them.
TEST_P(HostRules, UnusableSampleRatesChangeNothing) {
    auto reference = load(), host = load();
    for (float rate : {0.0f, -0.0f, -48000.0f, kNaN, kInf, -kInf}) {
        host->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        host->dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, rate);
    }
    StereoBuffer a(512), b(512);
    for (int block = 0; block < 16; ++block) {
        a.noise(0.5f);
        b.noise(0.5f);
        reference->processReplacing(a.in, a.out, 512);
        host->processReplacing(b.in, b.out, 512);
        ASSERT_EQ(a.outL, b.outL) << block;
        ASSERT_EQ(a.outR, b.outR) << block;
    }
}

// Very low and very high rates a host may set: every setting still gives finite audio.
TEST_P(HostRules, ExtremeUsableRatesGiveFiniteAudioAtEverySetting) {
    for (float rate : {1.0f, 5.0f, 9.0f, 22050.0f, 1.41e6f}) {
        SCOPED_TRACE(rate);
        auto host = load(rate, 512);
        ASSERT_TRUE(host);
        StereoBuffer s(512);
        for (int setting = 0; setting < 4; ++setting) {
            host->dispatch(effSetProgram, 0, 0);
            for (int32_t i = 0; i < host->effect()->numParams && setting > 0; ++i)
                host->setParameter(i, setting == 1 ? 1.0f : setting == 2 ? 0.0f : (i % 2));
            for (int block = 0; block < 4; ++block) {
                s.sine(0.9f, 0.3);
                host->processReplacing(s.in, s.out, 512);
                ASSERT_TRUE(s.outputFinite()) << setting;
                host->process(s.in, s.out, 512);
                ASSERT_TRUE(s.outputFinite()) << setting;
            }
        }
    }
}

// Each of the sixteen programs keeps its own values and name; names are cut to 23 characters;
// program numbers outside 0..15 are ignored.
TEST_P(HostRules, ProgramsKeepTheirOwnValuesAndNames) {
    auto host = load();
    host->dispatch(effSetProgram, 0, 4);
    const auto fourth = snapshot(*host);
    const std::string fourthName = host->programName();
    host->dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(host->dispatch(effGetProgram), 3);
    host->setParameter(0, 0.125f);
    char name[] = "A name much longer than twenty-three";
    host->dispatch(effSetProgramName, 0, 0, name);
    EXPECT_EQ(host->programName(), "A name much longer than");
    const auto third = snapshot(*host);
    host->dispatch(effSetProgram, 0, 4);
    EXPECT_EQ(snapshot(*host), fourth);
    EXPECT_EQ(host->programName(), fourthName);
    host->dispatch(effSetProgram, 0, 3);
    EXPECT_EQ(snapshot(*host), third);
    EXPECT_EQ(host->getParameter(0), 0.125f);
    for (intptr_t bad : {intptr_t{-1}, intptr_t{16}, intptr_t{INTPTR_MAX}, intptr_t{INT32_MIN}}) {
        host->dispatch(effSetProgram, 0, bad);
        EXPECT_EQ(host->dispatch(effGetProgram), 3) << bad;
    }
    EXPECT_EQ(snapshot(*host), third);
}

INSTANTIATE_FOR_EACH_PLUGIN(HostRules);

} // namespace
