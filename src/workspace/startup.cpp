#include "workspace/startup.h"

#include <algorithm>
#include <cctype>

namespace zarvek::workspace {

namespace {
bool IsDebugSwitch(const std::string& argument) {
  std::string upper = argument;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  return upper == "-DEBUG";
}

std::string Variable(const TEnvironment& environment, const char* name) {
  const char* value = environment ? environment(name) : nullptr;
  return value ? std::string(value) : std::string();
}
}  // namespace

std::string SettingsFilePath(const TEnvironment& environment) {
#ifdef _WIN32
  const std::string appData = Variable(environment, "APPDATA");
  return appData.empty() ? std::string() : appData + "\\Zarvek\\" + kSettingsFileName;
#else
  const std::string xdg = Variable(environment, "XDG_CONFIG_HOME");
  if (xdg.starts_with('/')) return xdg + "/zarvek/" + kSettingsFileName;
  const std::string home = Variable(environment, "HOME");
  if (home.empty()) return {};
  return home + "/.config/zarvek/" + kSettingsFileName;
#endif
}

TStartupPlan PlanStartup(const TStartupInput& input, TSettings defaults) {
  TStartupPlan plan;
  plan.settings = std::move(defaults);
  const auto exists = [&](const std::string& f) { return !f.empty() && input.fileExists && input.fileExists(f); };
  bool fileArgumentSeen = false;
  for (const std::string& argument : input.arguments) {
    if (IsDebugSwitch(argument)) {
      plan.debugView = true;
    } else if (!fileArgumentSeen) {
      fileArgumentSeen = true;
      const std::string full = input.fullPath ? input.fullPath(argument) : argument;
      if (exists(full)) plan.startFile = full;
    }
  }
  if (input.settingsText) {
    ReadSettings(*input.settingsText, plan.settings);
    if (exists(plan.settings.file)) plan.startFile = plan.settings.file;
    if (plan.startFile.empty() && exists(plan.settings.recentFile)) plan.startFile = plan.settings.recentFile;
  } else {
    plan.settings.maximized = true;  // the first start fills the screen
  }
  plan.settings.options &= static_cast<uint8_t>(~option::McInit);
  return plan;
}

}  // namespace zarvek::workspace
