// Command-line helpers shared by the plughost commands.
#include "tools/plughost/options.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

std::string fourCharacters(int32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned char c =
            static_cast<unsigned char>((static_cast<uint32_t>(code) >> shift) & 0xff);
        text += std::isprint(c) ? static_cast<char>(c) : '?';
    }
    return text;
}

bool parseInt(const std::string& text, long& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != 0) return false;
    out = value;
    return true;
}

bool parseFloat(const std::string& text, float& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    // strtof follows the C locale here: plughost never calls setlocale.
    float value = std::strtof(text.c_str(), &end);
    if (errno != 0 || *end != 0 || !std::isfinite(value)) return false;
    out = value;
    return true;
}

bool parseSetting(const std::string& text, ParameterSetting& out, std::string& error) {
    const size_t equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0) {
        error = "--set expects NAME=VALUE or INDEX=VALUE, got \"" + text + "\"";
        return false;
    }
    out.target = text.substr(0, equals);
    if (!parseFloat(text.substr(equals + 1), out.value) || out.value < 0.0f || out.value > 1.0f) {
        error = "parameter value for \"" + out.target + "\" must be a number from 0 to 1";
        return false;
    }
    return true;
}

bool applySettings(PluginHost& host, const std::vector<ParameterSetting>& settings,
                   std::string& error) {
    for (const ParameterSetting& setting : settings) {
        int32_t index = host.findParameter(setting.target);
        long number = 0;
        if (index < 0 && parseInt(setting.target, number) && number >= 0 &&
            number < host.effect()->numParams)
            index = static_cast<int32_t>(number);
        if (index < 0) {
            error = "unknown parameter \"" + setting.target + "\"";
            return false;
        }
        host.setParameter(index, setting.value);
    }
    return true;
}

bool parsePresetOption(const std::vector<std::string>& args, size_t& i, PresetOptions& preset,
                       std::string& error) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--set") {
        ParameterSetting setting;
        if (!hasValue)
            error = "--set needs NAME=VALUE";
        else if (parseSetting(args[++i], setting, error))
            preset.settings.push_back(setting);
        return true;
    }
    if (args[i] == "--program") {
        if (!hasValue || !parseInt(args[++i], preset.program) || preset.program < 0)
            error = "--program needs a program number from 0";
        return true;
    }
    return false;
}

bool applyPreset(PluginHost& host, const PresetOptions& preset, std::string& error) {
    if (preset.program >= host.effect()->numPrograms) {
        char message[96];
        std::snprintf(message, sizeof message, "program %ld does not exist (the plug-in has %d)",
                      preset.program, host.effect()->numPrograms);
        error = message;
        return false;
    }
    if (preset.program >= 0) host.dispatch(effSetProgram, 0, preset.program);
    return applySettings(host, preset.settings, error);
}
