// Nothing a host sends may poison a deliverable. Bad samples (a NaN, an infinity, a whole NaN
// block, subnormal and +-1e30 blocks) give finite output at once and leave no trace once the
// effect's own memory has passed them; absurd sample rates, then a program change and a usual
// rate, give finite, quiet output; and a long seeded run of random dispatcher calls with
// hostile arguments, interleaved with processing, never gives a non-finite sample.
#include "tests/plugins/deliverables/each_plugin.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>

namespace {

using Robustness = EachPlugin;

constexpr float kRate = 44100.0f;
constexpr int32_t kBlock = 512;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

int32_t blocksFor(double seconds) {
    return static_cast<int32_t>(seconds * kRate / kBlock) + 1;
}

enum class Bad { OneNaN, OneInfinity, NaNBlock, SubnormalBlock, HugeBlock, NegativeHugeBlock };

const char* describe(Bad bad) {
    switch (bad) {
    case Bad::OneNaN:
        return "a NaN at frame 137";
    case Bad::OneInfinity:
        return "an infinity at frame 137";
    case Bad::NaNBlock:
        return "a whole NaN block";
    case Bad::SubnormalBlock:
        return "a block of +-1e-40";
    case Bad::HugeBlock:
        return "a block of 1e30";
    case Bad::NegativeHugeBlock:
        return "a block of -1e30";
    }
    return "";
}

// The bad version of a block of clean input.
void spoil(StereoBuffer& block, Bad bad) {
    switch (bad) {
    case Bad::OneNaN:
        block.inL[137] = kNaN;
        break;
    case Bad::OneInfinity:
        block.inR[137] = kInf;
        break;
    case Bad::NaNBlock:
        block.fillInput(kNaN);
        break;
    case Bad::SubnormalBlock:
        for (size_t i = 0; i < block.inL.size(); ++i) {
            block.inL[i] = i % 2 ? 1e-40f : -1e-40f;
            block.inR[i] = i % 3 ? -1e-40f : 1e-40f;
        }
        break;
    case Bad::HugeBlock:
        block.fillInput(1e30f);
        break;
    case Bad::NegativeHugeBlock:
        block.fillInput(-1e30f);
        break;
    }
}

// After half a second of noise, one instance gets a bad block where its twin gets clean input;
// both then get the same clean input. The bad one's output is finite from the bad block on and,
// within `kMemory` seconds, sample for sample its twin's for good (checked for one more
// second). corallis's crossed feedback keeps a 1e30 block in its lines for almost four seconds;
// the others forget any bad block within a few blocks.
TEST_P(Robustness, BadSamplesGiveFiniteOutputAtOnceAndLeaveNoTrace) {
    constexpr double kMemory = 4.0;
    auto check = [&](Bad bad) {
        SCOPED_TRACE(describe(bad));
        auto hit = load(kRate, kBlock), twin = load(kRate, kBlock);
        ASSERT_TRUE(hit && twin);
        StereoBuffer a(kBlock), b(kBlock);
        for (int32_t i = 0; i < blocksFor(0.5); ++i) {
            a.noise(0.5f);
            b.noise(0.5f);
            hit->processReplacing(a.in, a.out, kBlock);
            twin->processReplacing(b.in, b.out, kBlock);
        }
        a.noise(0.5f);
        b.noise(0.5f);
        spoil(a, bad);
        hit->processReplacing(a.in, a.out, kBlock);
        twin->processReplacing(b.in, b.out, kBlock);
        ASSERT_TRUE(a.outputFinite()) << "in the bad block";
        int32_t lastDifferent = -1;
        const int32_t blocks = blocksFor(kMemory + 1.0);
        for (int32_t i = 0; i < blocks; ++i) {
            a.noise(0.5f);
            b.noise(0.5f);
            hit->processReplacing(a.in, a.out, kBlock);
            twin->processReplacing(b.in, b.out, kBlock);
            ASSERT_TRUE(a.outputFinite()) << "block " << i << " after the bad one";
            if (a.outL != b.outL || a.outR != b.outR) lastDifferent = i;
        }
        EXPECT_LT(lastDifferent, blocksFor(kMemory))
            << "still differs from its twin " << (lastDifferent + 1) * kBlock / kRate
            << " s after the bad block";
    };
    for (Bad bad : {Bad::OneNaN, Bad::OneInfinity, Bad::NaNBlock, Bad::SubnormalBlock,
                    Bad::HugeBlock, Bad::NegativeHugeBlock})
        check(bad);
}

// A rate far below anything audible (through either request), then a program change at that
// rate, then the usual rate again: every sample finite, and below 10 back at the usual rate.
TEST_P(Robustness, AbsurdRatesThenAProgramChangeAndAUsualRateStayQuiet) {
    for (float rate : {1e-40f, FLT_MIN, 1e-30f, 0.001f, 0.63f}) {
        for (bool withBlockSize : {false, true}) {
            SCOPED_TRACE(::testing::Message() << rate << (withBlockSize ? " with block size" : ""));
            auto host = load(kRate, kBlock);
            ASSERT_TRUE(host);
            StereoBuffer s(kBlock);
            // The largest output magnitude over this many seconds of noise.
            auto peakOver = [&](double seconds) {
                float peak = 0.0f;
                for (int32_t i = 0; i < blocksFor(seconds); ++i) {
                    s.noise(0.5f);
                    host->processReplacing(s.in, s.out, kBlock);
                    peak = std::fmax(peak, s.outputPeak());
                }
                return peak;
            };
            EXPECT_LT(peakOver(0.2), 10.0f) << "before";
            if (withBlockSize)
                host->dispatch(effSetBlockSizeAndSampleRate, 0, kBlock, nullptr, rate);
            else
                host->dispatch(effSetSampleRate, 0, 0, nullptr, rate);
            EXPECT_TRUE(std::isfinite(peakOver(0.5))) << "at the absurd rate";
            host->dispatch(effSetProgram, 0, 1);
            EXPECT_TRUE(std::isfinite(peakOver(0.5))) << "after the program change";
            host->dispatch(effSetSampleRate, 0, 0, nullptr, kRate);
            EXPECT_LT(peakOver(1.5), 10.0f) << "back at " << kRate << " Hz";
        }
    }
}

// Random requests as a fuzzing host sends them: opcodes and arguments from every range, ptr
// null or a zeroed buffer. Skipped: effClose (ends the effect) and effEditOpen (opens a
// window). Arguments that a request reads as a pointer or as the size of what ptr holds are
// kept to the buffer, so that nothing dangles.
class RandomHost {
  public:
    explicit RandomHost(uint32_t seed) : random(seed) {}

    int32_t opcode() {
        for (;;) {
            const int32_t op = pick(10) == 0 ? anyInt() : static_cast<int32_t>(pick(76)) - 3;
            if (op != effClose && op != effEditOpen) return op;
        }
    }
    int32_t index() {
        switch (pick(5)) {
        case 0:
            return anyInt();
        case 1:
            return pick(2) ? INT32_MIN : INT32_MAX;
        default:
            return static_cast<int32_t>(pick(24)) - 2;
        }
    }
    intptr_t value() {
        switch (pick(6)) {
        case 0:
            return static_cast<intptr_t>(uint64_t{random()} << 32 | random());
        case 1:
            return anyInt();
        case 2:
            return pick(2) ? INTPTR_MIN : INTPTR_MAX;
        default:
            return static_cast<intptr_t>(pick(40)) - 4;
        }
    }
    // Mostly values a request may mean (0..1, rates), some of every other kind. Huge rates
    // are rare: each makes tloom build its largest lines.
    float opt() {
        const uint32_t kind = pick(40);
        if (kind == 0) return kNaN;
        if (kind == 1) return pick(2) ? kInf : -kInf;
        if (kind == 2) return pick(2) ? 1e-40f : FLT_MIN;
        if (kind == 3) return pick(2) ? 3e38f : -1e30f;
        if (kind == 4) {
            const uint32_t bits = random();
            float any;
            std::memcpy(&any, &bits, sizeof any);
            return any;
        }
        if (kind < 12) return static_cast<float>(pick(200000));
        if (kind < 16) return -static_cast<float>(pick(100000));
        return static_cast<float>(pick(1001)) / 1000.0f;
    }
    bool withBuffer() { return pick(2) == 0; }
    uint32_t pick(uint32_t below) { return random() % below; }

  private:
    int32_t anyInt() { return static_cast<int32_t>(random()); }
    std::mt19937 random;
};

TEST_P(Robustness, RandomDispatcherCallsInterleavedWithAudioNeverGiveANonFiniteSample) {
    constexpr int kCalls = 100000;
    auto host = load(kRate, kBlock);
    ASSERT_TRUE(host);
    std::vector<std::string> names;
    for (int32_t i = 0; i < host->effect()->numParams; ++i)
        names.push_back(host->paramName(i));
    RandomHost fuzz(20261208);
    alignas(16) static char buffer[8192];
    StereoBuffer s(kBlock);
    std::ostringstream recent; // the calls since the last block, for the failure message
    for (int call = 0; call < kCalls; ++call) {
        const int32_t opcode = fuzz.opcode();
        const int32_t index = fuzz.index();
        intptr_t value = fuzz.value();
        const bool withBuffer = fuzz.withBuffer();
        void* ptr = withBuffer ? buffer : nullptr;
        const float opt = fuzz.opt();
        if (opcode == effSetSpeakerArrangement)
            value = withBuffer ? reinterpret_cast<intptr_t>(buffer + 4096) : 0;
        if (opcode == effSetChunk || (opcode >= effOfflineNotify && opcode <= effOfflineRun))
            value = static_cast<intptr_t>(fuzz.pick(withBuffer ? 64 : 1));
        std::memset(buffer, 0, sizeof buffer);
        recent << " (" << opcode << ", " << index << ", " << value << ", "
               << (withBuffer ? "buffer" : "null") << ", " << opt << ")";
        host->dispatch(opcode, index, value, ptr, opt);
        if (fuzz.pick(8) == 0) host->setParameter(fuzz.index(), fuzz.opt());
        if (call % 10 == 9) {
            const int32_t frames = static_cast<int32_t>(fuzz.pick(kBlock)) + 1;
            s.noise(0.5f);
            s.fillOutput(0.0f);
            if (fuzz.pick(4) == 0)
                host->process(s.in, s.out, frames);
            else
                host->processReplacing(s.in, s.out, frames);
            ASSERT_TRUE(s.outputFinite()) << "after call " << call << ":" << recent.str();
            recent.str("");
        }
    }
    for (int32_t i = 0; i < static_cast<int32_t>(names.size()); ++i)
        EXPECT_EQ(host->paramName(i), names[i]) << i;
    EXPECT_EQ(host->close(), 1);
}

INSTANTIATE_FOR_EACH_PLUGIN(Robustness);

} // namespace
