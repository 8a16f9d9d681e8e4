// Command-line helpers shared by the plughost commands.
#pragma once

#include "plugin_host.h"

#include <string>
#include <vector>

// A parameter setting from --set NAME=VALUE or --set INDEX=VALUE.
struct ParameterSetting {
    std::string target;
    float value;
};

// Parses text as a whole number / a finite float; false when it is not one.
bool parseInt(const std::string& text, long& out);
bool parseFloat(const std::string& text, float& out);

// Splits "NAME=VALUE" and checks the value is a number from 0 to 1.
bool parseSetting(const std::string& text, ParameterSetting& out, std::string& error);
// Applies settings by parameter name or index; false (with error) for an unknown target.
bool applySettings(PluginHost& host, const std::vector<ParameterSetting>& settings,
                   std::string& error);
