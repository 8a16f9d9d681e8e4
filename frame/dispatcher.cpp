// EffectBase::dispatcher: turns each host request (an opcode with its arguments) into a call on
// a virtual operation of the effect or of its editor, answering harmlessly where the arguments
// cannot be used.
#include "frame/editor_interface.h"
#include "frame/effect_base.h"
#include "frame/record_entries.h"

#include <cmath>
#include <limits>

namespace {

// Requests that read or write a text through ptr: a null ptr is answered 0 without a call.
bool needsTextBuffer(int32_t opcode) {
    switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effString2Parameter:
    case effGetProgramNameIndexed:
    case effGetEffectName:
    case effGetErrorText:
    case effGetVendorString:
    case effGetProductString:
    case effCanDo:
        return true;
    default:
        return false;
    }
}

// VU scaled to the 0..32767 range the host expects; a non-finite level reads as 0.
intptr_t scaledVu(float vu) {
    double scaled = static_cast<double>(vu) * 32767.0;
    if (!std::isfinite(scaled)) return 0;
    constexpr double kLimit = static_cast<double>(std::numeric_limits<int32_t>::max());
    if (scaled > kLimit) scaled = kLimit;
    if (scaled < -kLimit) scaled = -kLimit;
    return static_cast<intptr_t>(static_cast<int32_t>(scaled));
}

// Modifier byte from the request's float: truncated, non-finite or huge values give 0.
uint8_t modifierByte(float opt) {
    if (!std::isfinite(opt) || std::fabs(opt) >= 2147483648.0f) return 0;
    return static_cast<uint8_t>(static_cast<int32_t>(opt) & 0xff);
}

} // namespace

intptr_t EffectBase::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt) {
    if (opcode >= effProcessEvents && opcode <= effEndSetProgram)
        return dispatchExtended(opcode, index, value, ptr, opt);
    if (needsTextBuffer(opcode) && !ptr) return 0;

    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        if (value >= 0 && value < numPrograms) setProgram(static_cast<int32_t>(value));
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        setProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetProgramName:
        getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        getParamLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        getParamDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        getParamName(index, static_cast<char*>(ptr));
        return 0;
    case effGetVu:
        return scaledVu(getVu());
    case effSetSampleRate:
        if (isUsableSampleRate(opt)) setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<int32_t>(value));
        return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;
    case effEditGetRect:
        if (!editor || !ptr) return 0;
        return editor->getRect(static_cast<ERect**>(ptr));
    case effEditOpen:
        return editor ? editor->open(ptr) : 0;
    case effEditClose:
        if (editor) editor->close();
        return 0;
    case effEditIdle:
        if (editor) editor->idle();
        return 0;
    case effIdentify:
        return kIdentifyAnswer;
    case effGetChunk:
        if (!ptr) return 0;
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        return setChunk(ptr, static_cast<int32_t>(value), index != 0);
    default: // effEditDraw, effEditMouse, effEditKey, effEditTop, effEditSleep and the rest
        return 0;
    }
}

intptr_t EffectBase::dispatchExtended(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                      float opt) {
    if (needsTextBuffer(opcode) && !ptr) return 0;
    switch (opcode) {
    case effProcessEvents:
        return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
        return canBeAutomated(index) ? 1 : 0;
    case effString2Parameter:
        return stringToParameter(index, static_cast<char*>(ptr)) ? 1 : 0;
    case effGetNumProgramCategories:
        return getNumProgramCategories();
    case effGetProgramNameIndexed:
        return getProgramNameIndexed(static_cast<int32_t>(value), index, static_cast<char*>(ptr))
                   ? 1
                   : 0;
    case effCopyProgram:
        return copyProgram(index) ? 1 : 0;
    case effConnectInput:
        connectInput(index, value != 0);
        return 1;
    case effConnectOutput:
        connectOutput(index, value != 0);
        return 1;
    case effGetInputProperties:
        return getInputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetOutputProperties:
        return getOutputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetPlugCategory:
        return getPlugCategory();
    case effGetCurrentPosition:
        return getCurrentPosition();
    case effGetDestinationBuffer:
        return reinterpret_cast<intptr_t>(getDestinationBuffer());
    case effOfflineNotify:
        return offlineNotify(static_cast<VstAudioFile*>(ptr), static_cast<int32_t>(value),
                             index != 0)
                   ? 1
                   : 0;
    case effOfflinePrepare:
        return offlinePrepare(static_cast<VstOfflineTask*>(ptr), static_cast<int32_t>(value)) ? 1
                                                                                              : 0;
    case effOfflineRun:
        return offlineRun(static_cast<VstOfflineTask*>(ptr), static_cast<int32_t>(value)) ? 1 : 0;
    case effProcessVarIo:
        return processVariableIo(static_cast<VstVariableIo*>(ptr)) ? 1 : 0;
    case effSetSpeakerArrangement:
        return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                     static_cast<VstSpeakerArrangement*>(ptr))
                   ? 1
                   : 0;
    case effSetBlockSizeAndSampleRate:
        if (isUsableSampleRate(opt))
            setBlockSizeAndSampleRate(static_cast<int32_t>(value), opt);
        else
            setBlockSize(static_cast<int32_t>(value));
        return 1;
    case effSetBypass:
        return setBypass(value != 0) ? 1 : 0;
    case effGetEffectName:
        return getEffectName(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetErrorText:
        return getErrorText(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorString:
        return getVendorString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetProductString:
        return getProductString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorVersion:
        return getVendorVersion();
    case effVendorSpecific:
        return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
        return canDo(static_cast<char*>(ptr));
    case effGetTailSize:
        return getTailSize();
    case effIdle:
        return idle();
    case effGetIcon:
        return reinterpret_cast<intptr_t>(getIcon());
    case effSetViewPosition:
        return setViewPosition(index, static_cast<int32_t>(value)) ? 1 : 0;
    case effGetParameterProperties:
        return getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)) ? 1 : 0;
    case effKeysRequired:
        return keysRequired() ? 0 : 1;
    case effGetVstVersion:
        return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp: {
        if (!editor) return 0;
        VstKeyCode key{index, static_cast<uint8_t>(value & 0xff), modifierByte(opt)};
        const int32_t result =
            opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key);
        // Hosts take any answer but 0 as "the plug-in used the key" and drop it; a key that no
        // view took (-1) answers 0, so the host's own shortcuts still work.
        return result == -1 ? 0 : result;
    }
    case effSetEditKnobMode:
        return editor ? editor->setKnobMode(static_cast<int32_t>(value)) : 0;
    case effGetMidiProgramName:
        return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
        return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
        return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged:
        return hasMidiProgramsChanged(index) ? 1 : 0;
    case effGetMidiKeyName:
        return getMidiKeyName(index, static_cast<MidiKeyName*>(ptr)) ? 1 : 0;
    case effBeginSetProgram:
        return beginSetProgram() ? 1 : 0;
    case effEndSetProgram:
        return endSetProgram() ? 1 : 0;
    default:
        return 0;
    }
}
