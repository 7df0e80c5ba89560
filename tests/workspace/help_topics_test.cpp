// The help: which anchor a word opens, that our page carries every one of them, and where
// the help is looked for.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "workspace/help_topics.h"
#include "workspace/lexer_words.h"

namespace zarvek::workspace {
namespace {

TEST(HelpTopics, KeywordsMapToTheirAnchorsInAnyCase) {
  EXPECT_EQ(KeywordAnchor("dim"), "dim");
  EXPECT_EQ(KeywordAnchor("DiM"), "dim");
  EXPECT_EQ(KeywordAnchor("$include"), "include");
  EXPECT_EQ(KeywordAnchor("$"), "bytes");
  // The directive and the qualifier share their entry.
  EXPECT_EQ(KeywordAnchor("$XEEPROM"), "xeeprom");
  EXPECT_EQ(KeywordAnchor("xEEPROM"), "xeeprom");
  EXPECT_EQ(KeywordAnchor("zaehler"), std::nullopt);
  EXPECT_EQ(KeywordAnchor(""), std::nullopt);
  // Every word the editor colours as a keyword has its entry.
  for (std::string_view keyword : BasicKeywords()) EXPECT_TRUE(KeywordAnchor(keyword)) << keyword;
}

TEST(HelpTopics, TheWordAtTheCaret) {
  EXPECT_EQ(HelpWordAt("  dim x AS BYTE", 3), "dim");   // inside
  EXPECT_EQ(HelpWordAt("  dim x AS BYTE", 5), "dim");   // just behind
  EXPECT_EQ(HelpWordAt("  dim x AS BYTE", 2), "dim");   // just before
  EXPECT_EQ(HelpWordAt("$INCLUDE \"a.xml\"", 4), "$INCLUDE");
  EXPECT_EQ(HelpWordAt("x = 1", 2), "");
  EXPECT_EQ(HelpWordAt("", 0), "");
  EXPECT_EQ(HelpWordAt("loop", 99), "loop");  // a caret past the end counts as at the end
}

TEST(HelpTopics, OurPageCarriesEveryAnchorOnce) {
  std::ifstream in(std::string(ZARVEK_SOURCE_DIR) + "/data/help/index.html", std::ios::binary);
  ASSERT_TRUE(in);
  std::stringstream page;
  page << in.rdbuf();
  const std::string html = page.str();
  const std::vector<std::string> anchors = HelpAnchors();
  EXPECT_EQ(std::set<std::string>(anchors.begin(), anchors.end()).size(), anchors.size());
  EXPECT_NE(std::find(anchors.begin(), anchors.end(), "7"), anchors.end());  // the terms of use
  for (const std::string& anchor : anchors) {
    const std::string id = "id=\"" + anchor + "\"";
    const size_t at = html.find(id);
    EXPECT_NE(at, std::string::npos) << anchor;
    if (at != std::string::npos) {
      EXPECT_EQ(html.find(id, at + 1), std::string::npos) << anchor;
    }
  }
}

class HelpSearch : public ::testing::Test {
 protected:
  std::set<std::string> files;
  std::set<std::string> programs;
  THelpSearch search;

  void SetUp() override {
    search.programFolder = "/opt/zarvek/bin";
    search.dataFolders = {"/home/u/.local/share", "/usr/share"};
    search.fileExists = [this](const std::string& f) { return files.count(f) > 0; };
    search.findProgram = [this](const std::string& p) { return programs.count(p) ? "/usr/bin/" + p : std::string(); };
  }
};

TEST_F(HelpSearch, TheHtmlPageWinsInItsOrder) {
  files = {"/usr/share/zarvek/help/index.html", "/opt/zarvek/bin/Zarvek.chm"};
  programs = {"xchm"};
  THelpTarget t = FindHelp("dim", search);
  EXPECT_EQ(t.kind, THelpKind::HtmlPage);
  EXPECT_EQ(t.file, "/usr/share/zarvek/help/index.html");
  EXPECT_EQ(t.anchor, "dim");
  files.insert("/opt/zarvek/share/zarvek/help/index.html");  // an installed program's own
  EXPECT_EQ(FindHelp("dim", search).file, "/opt/zarvek/share/zarvek/help/index.html");
  files.insert("/opt/zarvek/bin/help/index.html");  // beside the program (the build tree)
  EXPECT_EQ(FindHelp("", search).file, "/opt/zarvek/bin/help/index.html");
}

TEST_F(HelpSearch, ACompiledHelpFileOpensInAViewerAtTheTopic) {
  files = {"/opt/zarvek/bin/Zarvek.chm"};
  programs = {"kchmviewer"};
  THelpTarget t = FindHelp("7", search);
  EXPECT_EQ(t.kind, THelpKind::ChmViewer);
  EXPECT_EQ(t.command, (std::vector<std::string>{"/usr/bin/kchmviewer", "-showPage", "index.html#7", "/opt/zarvek/bin/Zarvek.chm"}));
  programs.insert("xchm");
  t = FindHelp("7", search);
  EXPECT_EQ(t.command, (std::vector<std::string>{"/usr/bin/xchm", "file:/opt/zarvek/bin/Zarvek.chm#xchm:/index.html#7"}));
  // Without a viewer we know, the system gets the file.
  programs.clear();
  t = FindHelp("7", search);
  EXPECT_EQ(t.kind, THelpKind::ChmFile);
  EXPECT_EQ(t.file, "/opt/zarvek/bin/Zarvek.chm");
}

TEST_F(HelpSearch, NothingInstalledNamesWhereTheHelpWasLookedFor) {
  programs = {"xchm"};
  const THelpTarget t = FindHelp("", search);
  EXPECT_EQ(t.kind, THelpKind::Missing);
  EXPECT_EQ(t.file, "/opt/zarvek/bin/Zarvek.chm");
}

}  // namespace
}  // namespace zarvek::workspace
