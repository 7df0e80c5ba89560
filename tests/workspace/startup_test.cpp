// The settings file's place and the start-up order.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "workspace/startup.h"

namespace zarvek::workspace {
namespace {

TEST(Startup, SettingsFileInTheConfigurationFolder) {
  std::map<std::string, std::string> env;
  auto get = [&](const char* name) -> const char* {
    const auto it = env.find(name);
    return it == env.end() ? nullptr : it->second.c_str();
  };
  EXPECT_EQ(SettingsFilePath(get), "");
  env["HOME"] = "/home/anna";
  EXPECT_EQ(SettingsFilePath(get), "/home/anna/.config/zarvek/Zarvek.ini");
  env["XDG_CONFIG_HOME"] = "relative/conf";  // not absolute: ignored
  EXPECT_EQ(SettingsFilePath(get), "/home/anna/.config/zarvek/Zarvek.ini");
  env["XDG_CONFIG_HOME"] = "/tmp/conf";
  EXPECT_EQ(SettingsFilePath(get), "/tmp/conf/zarvek/Zarvek.ini");
}

struct TFixture {
  std::set<std::string> files;
  TStartupInput Input(std::vector<std::string> args, std::optional<std::string> ini) {
    TStartupInput in;
    in.arguments = std::move(args);
    in.settingsText = std::move(ini);
    in.fileExists = [this](const std::string& f) { return files.count(f) > 0; };
    in.fullPath = [](const std::string& f) { return f.starts_with('/') ? f : "/cwd/" + f; };
    return in;
  }
};

TEST(Startup, ArgumentThenFileThenRecentFile) {
  TFixture f;
  f.files = {"/cwd/arg.xml", "/p/file.xml", "/p/recent.xml"};
  // The argument, expanded to a full path.
  EXPECT_EQ(PlanStartup(f.Input({"arg.xml"}, std::nullopt)).startFile, "/cwd/arg.xml");
  // An existing [File] entry wins over the argument.
  EXPECT_EQ(PlanStartup(f.Input({"arg.xml"}, "[File]=/p/file.xml\r\n[Recent File]=/p/recent.xml\r\n")).startFile,
            "/p/file.xml");
  // A [File] that does not exist leaves the argument.
  EXPECT_EQ(PlanStartup(f.Input({"arg.xml"}, "[File]=/p/gone.xml\r\n[Recent File]=/p/recent.xml\r\n")).startFile,
            "/cwd/arg.xml");
  // No argument and no usable [File]: [Recent File].
  EXPECT_EQ(PlanStartup(f.Input({}, "[File]=/p/gone.xml\r\n[Recent File]=/p/recent.xml\r\n")).startFile,
            "/p/recent.xml");
  EXPECT_EQ(PlanStartup(f.Input({"missing.xml"}, "[Recent File]=/p/gone.xml\r\n")).startFile, "");
}

TEST(Startup, DebugSwitchAndControllerInitialisation) {
  TFixture f;
  f.files = {"/cwd/arg.xml"};
  TStartupPlan plan = PlanStartup(f.Input({"-debug", "arg.xml"}, std::nullopt));
  EXPECT_TRUE(plan.debugView);
  EXPECT_EQ(plan.startFile, "/cwd/arg.xml");
  EXPECT_EQ(plan.settings.options, option::All & ~option::McInit);  // off without a settings file too
  plan = PlanStartup(f.Input({"arg.xml", "-DeBuG"}, "[MC Init]=1\r\n[Warnings]=0\r\n[Profile]=4\r\n"));
  EXPECT_TRUE(plan.debugView);
  EXPECT_EQ(plan.settings.options & option::McInit, 0);
  EXPECT_EQ(plan.settings.options & option::Warnings, 0);
  EXPECT_EQ(plan.settings.profile, profile::Pyxon32);
  EXPECT_FALSE(PlanStartup(f.Input({"arg.xml"}, std::nullopt)).debugView);
}

TEST(Startup, FirstStartFillsTheScreen) {
  TFixture f;
  EXPECT_TRUE(PlanStartup(f.Input({}, std::nullopt)).settings.maximized);
  // A settings file decides: its entry, or the normal size when it has none.
  EXPECT_TRUE(PlanStartup(f.Input({}, "[Maximized]=1\r\n")).settings.maximized);
  EXPECT_FALSE(PlanStartup(f.Input({}, "[Maximized]=0\r\n")).settings.maximized);
  EXPECT_FALSE(PlanStartup(f.Input({}, "[Width]=800\r\n")).settings.maximized);
}

}  // namespace
}  // namespace zarvek::workspace
