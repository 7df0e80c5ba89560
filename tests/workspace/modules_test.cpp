// Module tabs and the navigation history, against a host that keeps its files in memory.
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "workspace/modules.h"
#include "workspace/tab_breakpoints.h"

namespace zarvek::workspace {
namespace {

struct TFile {
  std::string basic, assembler;
};

class TFakeHost : public TModuleHost {
 public:
  std::map<std::string, TFile> files;
  std::string current = "Unbenannt.xml";
  bool untitled = true;
  std::string basic, assembler;
  bool modified = false;
  TSelection basicSel, asmSel;
  std::deque<std::string> saveAsNames;  // what the save dialog answers while untitled
  bool saveFails = false;
  std::deque<std::optional<std::string>> chosenFiles;
  std::deque<TAnswer> answers;
  std::vector<TMessage> shown;
  int compiles = 0;
  int32_t shownOffset = -1;

  void Load(const std::string& path) {
    current = path;
    untitled = false;
    basic = files[path].basic;
    assembler = files[path].assembler;
    modified = false;
    basicSel = asmSel = {};
  }

  std::string CurrentFile() const override { return current; }
  bool Untitled() const override { return untitled; }
  bool Modified() const override { return modified; }
  void Save() override {
    if (untitled) {
      if (saveAsNames.empty()) return;  // the dialog was cancelled
      current = saveAsNames.front();
      saveAsNames.pop_front();
      untitled = false;
    }
    if (saveFails) return;
    files[current] = {basic, assembler};
    modified = false;
  }
  void OpenModuleFile(const std::string& path) override {
    if (files.count(path)) Load(path);
  }
  TSelection Selection(bool a) const override { return a ? asmSel : basicSel; }
  void SetSelection(bool a, TSelection s) override { (a ? asmSel : basicSel) = s; }
  std::string BasicText() const override { return basic; }
  void SetBasicText(const std::string& text) override {
    basic = text;
    modified = true;
  }
  void CompileSilently() override { ++compiles; }
  void StartEmptyProject(const std::string& path) override {
    basic.clear();
    assembler.clear();
    current = path;
    untitled = false;
    modified = false;
  }
  bool FileExists(const std::string& path) const override { return files.count(path) > 0; }
  void Inform(const TMessage& m) override { shown.push_back(m); }
  TAnswer Ask(const TMessage& m) override {
    shown.push_back(m);
    const TAnswer a = answers.empty() ? TAnswer::Cancel : answers.front();
    if (!answers.empty()) answers.pop_front();
    return a;
  }
  std::optional<std::string> ChooseNewFile(std::string_view title) override {
    EXPECT_EQ(title, "Neues Projekt Modul anlegen...");
    if (chosenFiles.empty()) return std::nullopt;
    auto f = chosenFiles.front();
    chosenFiles.pop_front();
    return f;
  }
  void ShowBasicAt(int32_t offset) override { shownOffset = offset; }
};

// A main project including module a, which includes module b.
struct TModules : ::testing::Test {
  TFakeHost host;
  TModuleNavigator nav{host};
  void SetUp() override {
    host.files["/p/main.xml"] = {"' Hauptprogramm\r\n$INCLUDE \"lib/a.xml\"\r\nx = 1\r\n", ""};
    host.files["/p/lib/a.xml"] = {"$include \"b.xml\"\r\ny = 2\r\n", " nop\r\n"};
    host.files["/p/lib/b.xml"] = {"z = 3\r\n", ""};
    host.Load("/p/main.xml");
    TIncludeRecord a, b;
    a.fileName = "/p/lib/a.xml";
    a.parentFileName = "/p/main.xml";
    b.fileName = "/p/lib/b.xml";
    b.parentFileName = "/p/lib/a.xml";
    nav.RebuildTabs("/p/main.xml", {a, b});
  }
};

TEST_F(TModules, TabsAfterAnInteractiveOpen) {
  ASSERT_EQ(nav.Records().size(), 3u);
  EXPECT_EQ(nav.Records()[0].displayName, "main");
  EXPECT_EQ(nav.Records()[1].displayName, "a");
  EXPECT_EQ(nav.Records()[2].fullPath, "/p/lib/b.xml");
  EXPECT_EQ(nav.ActiveTab(), 0);
  EXPECT_FALSE(nav.BackEnabled());
}

TEST_F(TModules, BackAfterTwoJumpsThenHome) {
  ASSERT_TRUE(nav.Jump("/p/lib/a.xml"));
  ASSERT_TRUE(nav.Jump("/p/lib/b.xml"));
  EXPECT_EQ(nav.History(), (std::vector<std::string>{"/p/main.xml", "/p/lib/a.xml"}));
  EXPECT_EQ(nav.ActiveTab(), 2);
  ASSERT_TRUE(nav.Back());
  EXPECT_EQ(host.current, "/p/lib/a.xml");
  EXPECT_EQ(nav.ActiveTab(), 1);
  EXPECT_EQ(nav.History(), (std::vector<std::string>{"/p/main.xml"}));
  EXPECT_TRUE(nav.BackEnabled());
  ASSERT_TRUE(nav.Home());
  EXPECT_EQ(host.current, "/p/main.xml");
  EXPECT_EQ(nav.ActiveTab(), 0);
  EXPECT_FALSE(nav.BackEnabled());
  EXPECT_FALSE(nav.Back());
  EXPECT_FALSE(nav.Home());
}

TEST_F(TModules, JumpSavesTheFileLeftAndAStoppedSaveStopsTheJump) {
  host.SetBasicText("x = 5\r\n");
  ASSERT_TRUE(nav.Jump("/p/lib/a.xml"));
  EXPECT_EQ(host.files["/p/main.xml"].basic, "x = 5\r\n");
  host.SetBasicText("y = 9\r\n");
  host.saveFails = true;
  EXPECT_FALSE(nav.Jump("/p/lib/b.xml"));
  EXPECT_EQ(host.current, "/p/lib/a.xml");  // still there, with its text
  EXPECT_EQ(host.basic, "y = 9\r\n");
  EXPECT_EQ(nav.History().size(), 1u);
  EXPECT_EQ(nav.ActiveTab(), 1);
}

TEST_F(TModules, JumpToAFileThatCannotBeOpened) {
  ASSERT_TRUE(nav.Jump("/p/lib/a.xml"));
  EXPECT_FALSE(nav.Jump("/p/gone.xml"));
  EXPECT_EQ(host.current, "/p/lib/a.xml");
  // Tabs, active tab and history are as before the attempt.
  EXPECT_EQ(nav.Records().size(), 3u);
  EXPECT_EQ(nav.ActiveTab(), 1);
  EXPECT_EQ(nav.History(), (std::vector<std::string>{"/p/main.xml"}));
  host.files.erase("/p/lib/b.xml");  // a known tab whose file has gone
  EXPECT_FALSE(nav.SelectTab(2));
  EXPECT_EQ(nav.ActiveTab(), 1);
  EXPECT_EQ(nav.Records().size(), 3u);
}

TEST_F(TModules, JumpToTheCurrentFileChangesNothing) {
  EXPECT_TRUE(nav.Jump("/p/main.xml"));
  EXPECT_TRUE(nav.History().empty());
}

TEST_F(TModules, SwitchingTabsKeepsEachFilesSelections) {
  host.basicSel = {5, 9};
  host.asmSel = {1, 1};
  ASSERT_TRUE(nav.SelectTab(1));
  EXPECT_EQ(host.current, "/p/lib/a.xml");
  EXPECT_EQ(host.basicSel, (TSelection{0, 0}));
  host.basicSel = {12, 14};
  ASSERT_TRUE(nav.SelectTab(0));
  EXPECT_EQ(host.basicSel, (TSelection{5, 9}));
  EXPECT_EQ(host.asmSel, (TSelection{1, 1}));
  ASSERT_TRUE(nav.SelectTab(1));
  EXPECT_EQ(host.basicSel, (TSelection{12, 14}));
  EXPECT_FALSE(nav.SelectTab(7));
}

TEST_F(TModules, UntitledMainProjectMustBeSavedBeforeAJump) {
  host.untitled = true;
  host.current = "Unbenannt.xml";
  EXPECT_FALSE(nav.TreeModuleClick("/p/lib/a.xml"));  // the save dialog is cancelled
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0], MessageText(TMessageId::SaveMainBeforeModule));
  EXPECT_EQ(host.current, "Unbenannt.xml");
  host.saveAsNames = {"/p/main.xml"};
  EXPECT_TRUE(nav.TreeModuleClick("/p/lib/a.xml"));
  EXPECT_EQ(nav.History(), (std::vector<std::string>{"/p/main.xml"}));
}

TEST_F(TModules, AddPutsTheIncludeLineFirst) {
  nav.AddModule("/p/lib/c.xml");
  EXPECT_EQ(host.basic, "$INCLUDE \"/p/lib/c.xml\"\r\n' Hauptprogramm\r\n$INCLUDE \"lib/a.xml\"\r\nx = 1\r\n");
  EXPECT_TRUE(host.modified);
  EXPECT_EQ(host.compiles, 1);
}

TEST_F(TModules, NewModuleAsksAgainForAnExistingName) {
  host.chosenFiles = {std::string("/p/lib/a.xml"), std::string("/p/neu.xml")};
  host.answers = {TAnswer::Ok};
  ASSERT_TRUE(nav.NewModule());
  ASSERT_EQ(host.shown.size(), 1u);
  EXPECT_EQ(host.shown[0], MessageText(TMessageId::NewModuleExists, "a.xml", "/p/lib"));
  // The project keeps its include line on disk, the new module exists and is current.
  EXPECT_TRUE(host.files["/p/main.xml"].basic.starts_with("$INCLUDE \"/p/neu.xml\"\r\n' Hauptprogramm"));
  EXPECT_EQ(host.current, "/p/neu.xml");
  EXPECT_TRUE(host.files.count("/p/neu.xml"));
  EXPECT_EQ(host.files["/p/neu.xml"].basic, "");
  EXPECT_EQ(nav.Records().back().displayName, "neu");
  EXPECT_EQ(nav.ActiveTab(), 3);
  EXPECT_EQ(nav.History(), (std::vector<std::string>{"/p/main.xml"}));
  // The link leads back to the line that includes it.
  ASSERT_TRUE(nav.ModuleLink());
  EXPECT_EQ(host.current, "/p/main.xml");
  EXPECT_EQ(host.shownOffset, 0);
}

TEST_F(TModules, NewModuleGivenUpOrRefused) {
  host.chosenFiles = {std::string("/p/lib/a.xml")};
  host.answers = {TAnswer::Cancel};
  EXPECT_FALSE(nav.NewModule());
  EXPECT_FALSE(host.modified);
  host.chosenFiles = {std::nullopt};
  EXPECT_FALSE(nav.NewModule());

  // An untitled project that is not saved: both messages, and the line goes again.
  host.untitled = true;
  host.current = "Unbenannt.xml";
  const std::string before = host.basic;
  host.chosenFiles = {std::string("/p/neu.xml")};
  EXPECT_FALSE(nav.NewModule());
  ASSERT_EQ(host.shown.size(), 3u);
  EXPECT_EQ(host.shown[1], MessageText(TMessageId::NewModuleSaveFirst, "neu.xml"));
  EXPECT_EQ(host.shown[2], MessageText(TMessageId::NewModuleFailed, "neu.xml"));
  EXPECT_EQ(host.basic, before);
  EXPECT_FALSE(host.files.count("/p/neu.xml"));
  EXPECT_EQ(nav.Records().size(), 3u);
}

TEST_F(TModules, ModuleLinkFindsTheIncludeLineOfTheParent) {
  ASSERT_TRUE(nav.Jump("/p/lib/b.xml"));
  ASSERT_TRUE(nav.ModuleLink());
  EXPECT_EQ(host.current, "/p/lib/a.xml");
  EXPECT_EQ(host.shownOffset, 0);
  ASSERT_TRUE(nav.ModuleLink());
  EXPECT_EQ(host.current, "/p/main.xml");
  EXPECT_EQ(host.shownOffset, 17);  // the second line
  EXPECT_FALSE(nav.ModuleLink());   // the main project includes nothing above it
}

TEST(IncludeLines, FoundByTheNameTheyResolveTo) {
  const std::string text = "x = 1\r\n  $Include \"sub\\m.xml\" ' Modul\r\n$INCLUDE \"/abs/n.xml\"\n";
  EXPECT_EQ(FindIncludeLine(text, "/p/sub/m.xml", "/p"), 7);
  EXPECT_EQ(FindIncludeLine(text, "/abs/n.xml", "/p"), 39);
  EXPECT_EQ(FindIncludeLine(text, "/p/other.xml", "/p"), -1);
  EXPECT_EQ(FindIncludeLine("$INCLUDE \"m.xml", "/p/m.xml", "/p"), -1);  // no closing quote
  EXPECT_EQ(IncludeLine("/p/m.xml"), "$INCLUDE \"/p/m.xml\"\r\n");
}

TEST(TabBreakpoints, EachFileKeepsItsOwnLines) {
  TTabBreakpoints kept;
  EXPECT_FALSE(kept.AnyBesides("/p/main.xml"));
  kept.Keep("/p/main.xml", {3, 7}, {});
  kept.Keep("/p/lib/mod.xml", {}, {2});
  EXPECT_EQ(kept.Lines("/p/main.xml", false), (std::vector<int32_t>{3, 7}));
  EXPECT_TRUE(kept.Lines("/p/main.xml", true).empty());
  EXPECT_EQ(kept.Lines("/p/lib/mod.xml", true), (std::vector<int32_t>{2}));
  EXPECT_TRUE(kept.Lines("/p/other.xml", false).empty());
  // Leaving a file again replaces what it kept.
  kept.Keep("/p/main.xml", {}, {});
  EXPECT_TRUE(kept.Lines("/p/main.xml", false).empty());
  // Whether Haltepunkt has something to run to: the breakpoints of the tabs not shown.
  EXPECT_TRUE(kept.AnyBesides("/p/main.xml"));
  EXPECT_FALSE(kept.AnyBesides("/p/lib/mod.xml"));
  kept.Clear();
  EXPECT_TRUE(kept.Lines("/p/lib/mod.xml", true).empty());
}

}  // namespace
}  // namespace zarvek::workspace
