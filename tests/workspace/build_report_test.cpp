// What the error strip and the tree show after real builds.
#include <gtest/gtest.h>

#include "project/settings.h"
#include "workspace/build_report.h"

namespace zarvek::workspace {
namespace {

struct TBuilt {
  TBuilder builder;
  TBuildResult result;
  TBuilt(const std::string& basic, const std::string& assembler = "", TProfile profile = profile::Tessel11,
         bool warnings = true) {
    TBuildInput in;
    in.basicSource = basic;
    in.assemblerSource = assembler;
    in.profile = profile;
    in.warnings = warnings;
    result = builder.Build(in);
  }
};

TEST(BuildReport, SuccessTextByProfileAndWarnings) {
  TBuilt b("DIM zaehler AS BYTE\r\n", "", profile::Pyxon32);
  ASSERT_TRUE(b.result.success);
  TErrorDisplay d;
  ShowBuildResult(b.result, profile::Pyxon32, option::All, TBuildSender::Command, d);
  EXPECT_EQ(d.Slot(TSlot::Compile).text, " Compiliert für Pyxon 32.");
  EXPECT_EQ(d.Picture(TSlot::Compile), kPictureSuccess);
  EXPECT_NE(d.Slot(TSlot::Status).text.find("zaehler"), std::string::npos);
  EXPECT_EQ(d.Slot(TSlot::Status).position, 5);  // the declaration, for the click
  // Warnings switched off: no status text.
  ShowBuildResult(b.result, profile::Pyxon32, option::All & ~option::Warnings, TBuildSender::Command, d);
  EXPECT_EQ(d.Slot(TSlot::Status).text, "");
  // The open command's silent compile shows no success text.
  ShowBuildResult(b.result, profile::Pyxon32, 0, TBuildSender::Open, d);
  EXPECT_TRUE(d.Empty());
}

TEST(BuildReport, ErrorsWithTheirPositions) {
  TBuilt basic("x = 1\r\ngoto nirgends\r\n");
  ASSERT_FALSE(basic.result.success);
  TErrorDisplay d;
  ShowBuildResult(basic.result, profile::Tessel11, option::All, TBuildSender::Command, d);
  EXPECT_FALSE(d.Slot(TSlot::Compile).text.empty());
  EXPECT_GT(d.Slot(TSlot::Compile).position, 0);
  EXPECT_EQ(d.Picture(TSlot::Compile), kPictureError);
  EXPECT_TRUE(JumpsToError(basic.result, TBuildSender::Command));
  EXPECT_FALSE(JumpsToError(basic.result, TBuildSender::Open));

  TBuilt assembler("", " nop\r\n foo\r\n");
  ASSERT_FALSE(assembler.result.success);
  ShowBuildResult(assembler.result, profile::Tessel11, option::All, TBuildSender::Command, d);
  EXPECT_TRUE(d.Slot(TSlot::Assembler).text.starts_with("Assembler: "));
  EXPECT_EQ(d.Slot(TSlot::Assembler).position, 1);
  EXPECT_EQ(d.Picture(TSlot::Compile), kPictureError);
}

TEST(BuildReport, TreeTakesSizesOfWhatBuilt) {
  TBuilt b("DIM x AS BYTE\r\nx = 1\r\n", "start: nop\r\n", profile::Tessel11);
  ASSERT_TRUE(b.result.success);
  TTreeContent content;
  TakeBuildIntoTree(b.result, b.builder.Assembler().Symbols(), content);
  const TTreeNode root = BuildProjectTree(content);
  EXPECT_EQ(root.children[0].caption, "Assembler (1 Byte)");
  EXPECT_EQ(root.children[1].caption, "BASIC (" + std::to_string(b.result.program.image.size()) + " Bytes)");
  ASSERT_EQ(root.children[0].children.size(), 1u);
  EXPECT_EQ(root.children[0].children[0].caption, "start");

  TBuilt failed("goto nirgends\r\n");
  TTreeContent none;
  TakeBuildIntoTree(failed.result, {}, none);
  EXPECT_EQ(BuildProjectTree(none).children[1].caption, "BASIC");
}

TEST(BuildReport, CompilingText) {
  TErrorDisplay d;
  d.Set(TSlot::Assembler, "alt", 3);
  ShowCompiling(d);
  EXPECT_EQ(d.Slot(TSlot::Compile).text, "Compilieren...");
  EXPECT_EQ(d.Slot(TSlot::Assembler).text, "");
}

}  // namespace
}  // namespace zarvek::workspace
