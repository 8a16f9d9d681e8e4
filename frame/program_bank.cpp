// ProgramBank: allocation and the program names.
#include "frame/program_bank.h"

#include "frame/value_text.h"

#include <cstring>
#include <new>

static_assert(ProgramBank::kNameBytes % sizeof(float) == 0, "names fill whole value slots");

bool ProgramBank::allocate(int32_t count, int32_t valueCount, const float* defaults,
                           const char* programName, const int32_t* slots) {
    storage.reset();
    programCount = 0;
    if (count <= 0 || valueCount <= 0) return false;
    valuesPerProgram = valueCount;
    slotOf = slots;
    const size_t floats = recordStart(count);
    storage.reset(new (std::nothrow) float[floats]);
    if (!storage) return false;
    programCount = count;
    for (int32_t p = 0; p < count; ++p) {
        for (int32_t i = 0; i < valueCount; ++i)
            store(p, i, defaults[i]);
        setName(p, programName);
    }
    return true;
}

void ProgramBank::setName(int32_t program, const char* text) {
    copyText(name(program), text, kNameBytes);
}

void ProgramBank::copyName(int32_t program, char* text) const {
    std::memcpy(text, name(program), std::strlen(name(program)) + 1);
}
