// Where the settings file lives and what the program opens at start.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "project/settings.h"

namespace zarvek::workspace {

inline constexpr const char* kSettingsFileName = "Zarvek.ini";

// Reads an environment variable (nullptr when unset); tests pass their own.
using TEnvironment = std::function<const char*(const char* name)>;

// The settings file in the user's configuration folder: $XDG_CONFIG_HOME/zarvek/Zarvek.ini
// when that variable holds an absolute path, else $HOME/.config/zarvek/Zarvek.ini (on
// Windows %APPDATA%\Zarvek\Zarvek.ini). Empty when no folder is known.
std::string SettingsFilePath(const TEnvironment& environment);

struct TStartupPlan {
  TSettings settings;
  std::string startFile;  // empty: start with the new, untitled project
  bool debugView = false; // an argument "-DEBUG" in any case
};

struct TStartupInput {
  std::vector<std::string> arguments;       // without the program name
  std::optional<std::string> settingsText;  // the settings file's content, when it exists
  std::function<bool(const std::string&)> fileExists;
  std::function<std::string(const std::string&)> fullPath;  // expands a command-line name
};

// The start file is the first argument that is not "-DEBUG", as a full path, when that
// file exists. The settings file's "[File]" replaces it when it names an existing file;
// when there is still none, "[Recent File]" is taken if it exists. Without a settings
// file the window starts maximised. The controller
// initialisation option is off after every start.
TStartupPlan PlanStartup(const TStartupInput& input, TSettings defaults = {});

}  // namespace zarvek::workspace
