// Command-line helpers shared by the plughost commands.
#pragma once

#include "tools/plughost/plugin_host.h"

#include <string>
#include <vector>

// A parameter setting from --set NAME=VALUE or --set INDEX=VALUE.
struct ParameterSetting {
    std::string target;
    float value;
};

// A four-character code (unique ID, magic) as text, '?' for unprintable bytes.
std::string fourCharacters(int32_t code);

// Parses text as a whole number / a finite float; false when it is not one.
bool parseInt(const std::string& text, long& out);
bool parseFloat(const std::string& text, float& out);

// Splits "NAME=VALUE" and checks the value is a number from 0 to 1.
bool parseSetting(const std::string& text, ParameterSetting& out, std::string& error);
// Applies settings by parameter name or index; false (with error) for an unknown target.
bool applySettings(PluginHost& host, const std::vector<ParameterSetting>& settings,
                   std::string& error);

// The --program and --set options that put a plug-in into a chosen state.
struct PresetOptions {
    long program = -1;
    std::vector<ParameterSetting> settings;
};

// Reads args[i] (and its value) when it is --program or --set. Answers whether it was one of
// them; error is set when it was but its value is bad.
bool parsePresetOption(const std::vector<std::string>& args, size_t& i, PresetOptions& preset,
                       std::string& error);
// Selects the program, then applies the settings; false (with error) when either is unknown.
bool applyPreset(PluginHost& host, const PresetOptions& preset, std::string& error);
