// The settings file: every entry written in its order, and reading odd files.
#include <gtest/gtest.h>

#include "project/settings.h"
#include "temp_folder.h"

namespace zarvek::test {
namespace {

const char* const kDefaults =
    "[Font Name]=Courier New\r\n[Font Size]=10\r\n[Font Color]=0\r\n[Comment Color]=8421504\r\n"
    "[Error Color]=5375\r\n[Breakpoint Color]=0\r\n[Breakpoint Background]=9218815\r\n"
    "[Breakpoint Panel]=16777215\r\n[Background]=16777215\r\n[Run Color]=0\r\n[Run Background]=65535\r\n"
    "[Color]=16777215\r\n[Console Text]=0\r\n[Console Color]=16777215\r\n[Recent File]=\r\n"
    "[ASM Code Propose]=1\r\n[Syntax Test]=1\r\n[Warnings]=1\r\n[Autostart]=1\r\n[MC Init]=1\r\n[COM]=\r\n"
    "[Baud]=\r\n[Vertical]=150\r\n[Horizontal]=150\r\n[Left]=0\r\n[Top]=0\r\n[Width]=640\r\n[Height]=480\r\n"
    "[Maximized]=0\r\n[Profile]=0\r\n[File]=\r\n[File0]=\r\n[File1]=\r\n[File2]=\r\n[File3]=\r\n";

TSettings Read(const std::string& text) {
  TSettings s;
  ReadSettings(text, s);
  return s;
}

TEST(Settings, WritesEveryEntryInOrder) {
  EXPECT_EQ(WriteSettings(TSettings{}), kDefaults);
  TSettings s;
  s.recentFiles = {"a.xml", "", "c:\\x=y.xml", ""};
  s.options = option::Warnings;
  s.maximized = true;
  const std::string text = WriteSettings(s);
  EXPECT_NE(text.find("[ASM Code Propose]=0\r\n[Syntax Test]=0\r\n[Warnings]=1\r\n[Autostart]=0\r\n"), std::string::npos);
  EXPECT_NE(text.find("[Maximized]=1\r\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("[File0]=a.xml\r\n[File1]=\r\n[File2]=c:\\x=y.xml\r\n[File3]=\r\n"));
  EXPECT_EQ(Read(text), s);  // values holding "=" included
}

TEST(Settings, ReadingIsForgivingAndKeepsWhatItCannotUse) {
  // Names in any case, the first match wins, lines without "=" and unknown names are
  // ignored, LF line ends do as well as CR LF.
  TSettings s = Read("junk\n[profile]=4\n[Profile]=5\n[FONT SIZE]=12\n[Unknown]=1\n[Width]=$100\r\n");
  EXPECT_EQ(s.profile, profile::Pyxon32);
  EXPECT_EQ(s.fontSize, 12);
  EXPECT_EQ(s.width, 256);
  // No integer: the value stays.
  s = Read("[Font Size]=large\r\n[Height]=\r\n[Left]=12px\r\n[Top]= 7\r\n[Error Color]=99999999999\r\n");
  EXPECT_EQ(s.fontSize, 10);
  EXPECT_EQ(s.height, 480);
  EXPECT_EQ(s.left, 0);
  EXPECT_EQ(s.top, 7);
  EXPECT_EQ(s.errorColor, 5375);
  EXPECT_EQ(Read("").horizontal, 150);
  const char odd[] = "\0\xFF=\r\n=\r\n[COM]";
  EXPECT_EQ(Read(std::string(odd, sizeof odd - 1)), Read(""));
}

TEST(Settings, TheRulesOfIndividualEntries) {
  EXPECT_EQ(Read("[Profile]=3").profile, profile::Tessel11);
  EXPECT_EQ(Read("[Profile]=1").profile, profile::TesselMicro);
  EXPECT_EQ(Read("[Profile]=9").profile, profile::Tessel11);
  EXPECT_EQ(Read("[Horizontal]=120").horizontal, 150);
  EXPECT_EQ(Read("[Horizontal]=300").horizontal, 300);
  EXPECT_EQ(Read("[MC Init]=1").options & option::McInit, 0);
  EXPECT_EQ(Read("[Warnings]=0\r\n[Syntax Test]=-3").options, option::All & ~option::Warnings & ~option::McInit);
  EXPECT_EQ(Read("[Warnings]=no").options & option::Warnings, option::Warnings);
  EXPECT_TRUE(Read("[Maximized]=1").maximized);
  EXPECT_FALSE(Read("[Maximized]=01").maximized);
  // The gutters take the background colour; the gutter colour itself is never read.
  const TSettings gutter = Read("[Breakpoint Panel]=255\r\n[Background]=4660\r\n");
  EXPECT_EQ(gutter.background, 4660);
  EXPECT_EQ(gutter.gutterColor, 4660);
  EXPECT_EQ(Read("[Breakpoint Panel]=255\r\n[Color]=1").gutterColor, 16777215);
  EXPECT_EQ(Read("[Color]=1").gridColor, 16777215);
  EXPECT_EQ(Read("[COM]=COM3\r\n[Baud]=9600").com, "COM3");
}

class SettingsFile : public TTempFolder {};

TEST_F(SettingsFile, MissingFileKeepsDefaultsAndWritingReplacesTheFile) {
  TSettings s;
  s.fontSize = 14;
  EXPECT_FALSE(ReadSettingsFile(Path("Zarvek.ini"), s));
  EXPECT_EQ(s.fontSize, 14);
  Write("Zarvek.ini", "[Old Entry]=1\r\n");
  ASSERT_TRUE(WriteSettingsFile(Path("Zarvek.ini"), s));
  EXPECT_EQ(Read("Zarvek.ini").find("[Old Entry]"), std::string::npos);
  TSettings back;
  ASSERT_TRUE(ReadSettingsFile(Path("Zarvek.ini"), back));
  EXPECT_EQ(back.fontSize, 14);
}

}  // namespace
}  // namespace zarvek::test
