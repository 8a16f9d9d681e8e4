// ProgramBank: the programs of one effect. Each program holds the parameter values as the host
// sees them (0..1) and a name of at most 23 characters; the current program's values are the
// live parameter values.
//
// State: one allocation holding every program as its values followed by its 24-byte name, and
// an optional map from parameter index to the value's place in the record (for an effect whose
// record order differs from the parameter order). Threads: allocation happens in the effect's
// constructor; values are single 32-bit relaxed atomic stores from host threads, read by any
// thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

class ProgramBank {
  public:
    static constexpr size_t kNameBytes = 24;

    // Builds `count` programs of `valueCount` values, each holding `defaults` (in parameter
    // order) and `name`. `slotOf`, when given, maps every parameter index to its place in the
    // record. Answers false, and holds no programs, when memory runs out.
    bool allocate(int32_t count, int32_t valueCount, const float* defaults, const char* name,
                  const int32_t* slotOf = nullptr);
    bool isReady() const { return storage != nullptr; }
    int32_t count() const { return programCount; }

    // The stored value of a parameter (0..valueCount - 1) of a program (0..count - 1). Values
    // are written by one host thread and read by others, so each is one relaxed atomic word.
    float load(int32_t program, int32_t parameter) const {
        return std::atomic_ref<float>(at(program, parameter)).load(std::memory_order_relaxed);
    }
    void store(int32_t program, int32_t parameter, float v) {
        std::atomic_ref<float>(at(program, parameter)).store(v, std::memory_order_relaxed);
    }
    // Where that value lives in the program's record (for checks of the record layout).
    const float& value(int32_t program, int32_t parameter) const { return at(program, parameter); }
    // Stores a program's name, cut to 23 characters.
    void setName(int32_t program, const char* text);
    // Copies a program's name out with its terminating zero (at most 24 bytes).
    void copyName(int32_t program, char* text) const;

  private:
    static constexpr size_t kNameFloats = kNameBytes / sizeof(float);

    size_t recordStart(int32_t program) const {
        return static_cast<size_t>(program) * (static_cast<size_t>(valuesPerProgram) + kNameFloats);
    }
    int32_t slot(int32_t parameter) const { return slotOf ? slotOf[parameter] : parameter; }
    float& at(int32_t program, int32_t parameter) const {
        return storage[recordStart(program) + slot(parameter)];
    }
    // The name lives in the record right after the values; char may view any storage.
    char* name(int32_t program) {
        return reinterpret_cast<char*>(&storage[recordStart(program) + valuesPerProgram]);
    }
    const char* name(int32_t program) const {
        return reinterpret_cast<const char*>(&storage[recordStart(program) + valuesPerProgram]);
    }

    std::unique_ptr<float[]> storage;
    int32_t programCount = 0;
    int32_t valuesPerProgram = 0;
    const int32_t* slotOf = nullptr;
};
