// The recent-file list: order, duplicates, captions and the settings file.
#include <gtest/gtest.h>

#include "workspace/recent_files.h"

namespace zarvek::workspace {
namespace {

TEST(RecentFiles, ShorteningKeepsTheTailFromAFolder) {
  // 32 characters stay whole; 33 and more lose their head.
  const std::string n32 = "C:\\Projekte\\Ampel\\Steuerung1.xml";
  ASSERT_EQ(n32.size(), 32u);
  EXPECT_EQ(ShortenRecentName(n32), n32);
  const std::string n33 = "C:\\Projekte\\Ampel\\Steuerung12.xml";
  EXPECT_EQ(ShortenRecentName(n33), "...\\Projekte\\Ampel\\Steuerung12.xml");
  // The last 31 characters begin inside "Projekte": the tail starts at the next backslash.
  EXPECT_EQ(ShortenRecentName("C:\\Projekte\\Ampel\\Steuerung123.xml"), "...\\Ampel\\Steuerung123.xml");
  EXPECT_EQ(ShortenRecentName("/home/anna/projekte/ampel/steuerung.xml"), ".../projekte/ampel/steuerung.xml");
  // No separator among the last 31 characters: those 31 characters.
  const std::string longName = "/x/" + std::string(40, 'a') + ".xml";
  EXPECT_EQ(ShortenRecentName(longName), "..." + std::string(27, 'a') + ".xml");
}

TEST(RecentFiles, ShorteningCountsCharactersNotBytes) {
  // 32 characters, more bytes: stays whole; the tail never splits a character.
  const std::string umlauts = "/home/jörg/Übungen/Lauflicht.xml";
  EXPECT_EQ(ShortenRecentName(umlauts), umlauts);
  const std::string longer = "/home/jörg/Übungen/Lauflicht-2.xml";
  EXPECT_EQ(ShortenRecentName(longer), ".../jörg/Übungen/Lauflicht-2.xml");
}

TEST(RecentFiles, NewFilesComeFirstAndPushTheOldestOut) {
  TRecentFiles r;
  for (const char* f : {"/a.xml", "/b.xml", "/c.xml", "/d.xml", "/e.xml"}) r.Add(f);
  EXPECT_EQ(r.Entries(), (std::array<std::string, 4>{"/e.xml", "/d.xml", "/c.xml", "/b.xml"}));
  r.Add("/c.xml");  // listed already: to the front, nothing lost
  EXPECT_EQ(r.Entries(), (std::array<std::string, 4>{"/c.xml", "/e.xml", "/d.xml", "/b.xml"}));
  r.Add("/c.xml");
  EXPECT_EQ(r.Entries()[0], "/c.xml");
  EXPECT_EQ(r.Entries()[1], "/e.xml");
  r.Add("");
  EXPECT_EQ(r.Entries()[0], "/c.xml");
}

TEST(RecentFiles, CaptionsNumberTheVisibleEntries) {
  TRecentFiles r;
  r.Add("/p/a.xml");
  EXPECT_EQ(r.Caption(0), "1. /p/a.xml");
  EXPECT_EQ(r.Caption(1), "");  // hidden
  r.Add("/home/anna/projekte/ampel/steuerung.xml");
  EXPECT_EQ(r.Caption(0), "1. .../projekte/ampel/steuerung.xml");
  EXPECT_EQ(r.Caption(1), "2. /p/a.xml");
  EXPECT_EQ(r.Caption(7), "");
}

TEST(RecentFiles, SettingsRoundTripDropsGapsAndDuplicates) {
  TSettings s;
  s.recentFiles = {"", "/a.xml", "/b.xml", "/a.xml"};
  TRecentFiles r;
  r.Load(s);
  EXPECT_EQ(r.Entries(), (std::array<std::string, 4>{"/a.xml", "/b.xml", "", ""}));
  r.Add("/c.xml");
  TSettings out;
  r.Store(out);
  EXPECT_EQ(out.recentFiles, (std::array<std::string, 4>{"/c.xml", "/a.xml", "/b.xml", ""}));
  // Through the settings file text and back.
  TSettings again;
  ReadSettings(WriteSettings(out), again);
  TRecentFiles r2;
  r2.Load(again);
  EXPECT_EQ(r2.Entries(), r.Entries());
}

}  // namespace
}  // namespace zarvek::workspace

#include "workspace/paths.h"

namespace zarvek::workspace {
namespace {

TEST(Paths, NamesAndFolders) {
  EXPECT_EQ(BaseName("/p/lib/a.xml"), "a.xml");
  EXPECT_EQ(BaseName("C:\\p\\Ampel.XML"), "Ampel.XML");
  EXPECT_EQ(BaseName("a.xml"), "a.xml");
  EXPECT_EQ(FolderOf("/p/lib/a.xml"), "/p/lib");
  EXPECT_EQ(FolderOf("a.xml"), "");
  EXPECT_EQ(ModuleDisplayName("/p/Ampel.XML"), "Ampel");
  EXPECT_EQ(ModuleDisplayName("/p/prog.bas"), "prog.bas");
  EXPECT_EQ(ModuleDisplayName("/p/.xml"), "");
  EXPECT_EQ(CharCount("Grün"), 4u);
  EXPECT_EQ(LastChars("Grün", 2), "ün");
  EXPECT_EQ(LastChars("ab", 5), "ab");
#ifndef _WIN32
  EXPECT_FALSE(SamePath("/p/A.xml", "/p/a.xml"));  // two files on this file system
#endif
  EXPECT_TRUE(SamePath("/p/a.xml", "/p/a.xml"));
}

}  // namespace
}  // namespace zarvek::workspace
