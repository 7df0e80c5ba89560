// The shared code pipeline: BASIC and assembler see each other's names, the linker joins
// them, and the first failing step stops it.
#include <gtest/gtest.h>

#include <atomic>

#include "pipeline/build.h"
#include "text/hex.h"

namespace zarvek {
namespace {

TBuildInput Project(const std::string& basic, const std::string& assembler) {
  TBuildInput input;
  input.basicSource = basic;
  input.assemblerSource = assembler;
  input.profile = profile::Tessel11;
  return input;
}

TEST(Build, BasicCallsMachineCodeThatReadsBasicVariables) {
  TBuilder builder;
  // The assembler part reads the BASIC byte variable (RAM byte 23 = address 161 + 23).
  const TBuildResult r = builder.Build(Project("DIM count AS BYTE\r\ncount = 7\r\nCALL show\r\n",
                                               "show  LDA count\r\n      RTS\r\n"));
  ASSERT_TRUE(r.success) << (r.basicError ? r.basicError->message.str() : r.assemblerError->message);
  EXPECT_EQ(r.stage, TBuildStage::Done);
  EXPECT_EQ(r.machineCode.startAddress, 257u);
  EXPECT_EQ(HexBytes(r.machineCode.code), "B6 B8 81");
  // count = 7 (LBYTEWRITE 23), then the machine-code call of "show" at $0101.
  EXPECT_EQ(HexBytes(r.program.image), "14 00 07 19 17 08 01 01 FF FF");
  EXPECT_TRUE(r.link.warnings.empty());
}

TEST(Build, TheFirstFailingStepStops) {
  TBuilder builder;
  TBuildResult r = builder.Build(Project("x = 1\r\n", " NOP\r\n"));
  EXPECT_EQ(r.stage, TBuildStage::Compile);
  EXPECT_EQ(r.basicError->code, 126);

  r = builder.Build(Project("DIM a AS BYTE\r\n", " NOP\r\n LDA #300\r\n"));
  EXPECT_FALSE(r.success);
  EXPECT_EQ(r.stage, TBuildStage::Assemble);
  EXPECT_EQ(r.assemblerError->line, 1);

  // A label the BASIC text knows by name must be one the assembler defines.
  r = builder.Build(Project("CALL gone\r\n", "gone: EQU 5\r\n"));
  EXPECT_FALSE(r.success);

  // One name space: the BASIC text may not declare a name the assembler part defines.
  r = builder.Build(Project("DIM taken AS BYTE\r\n", "taken NOP\r\n"));
  EXPECT_EQ(r.stage, TBuildStage::Compile);
  EXPECT_EQ(r.basicError->code, 125);
}

// A cancelled background check stops at the compile step and has no error to show.
TEST(Build, ACancelledBuildStopsWithoutAnError) {
  TBuilder builder;
  std::atomic<bool> cancel{true};
  TBuildInput input = Project("x = 1\r\n", " NOP\r\n");
  input.cancel = &cancel;
  const TBuildResult r = builder.Build(input);
  EXPECT_FALSE(r.success);
  EXPECT_TRUE(r.program.cancelled);
  EXPECT_EQ(r.stage, TBuildStage::Compile);
  EXPECT_FALSE(r.basicError);
  EXPECT_FALSE(r.assemblerError);
}

}  // namespace
}  // namespace zarvek

namespace zarvek {
namespace {

// The token view: the compiler's dump, then the image as linking left it.
TEST(Build, MemoryDumpEndsWithTheLinkedImage) {
  TBuilder builder;
  TBuildInput input = Project("CALL show\r\n", " ORG $200\r\nshow NOP\r\n RTS\r\n");
  input.memoryDump = true;
  TBuildResult r = builder.Build(input);
  ASSERT_TRUE(r.success);
  // The call's address is patched in by linking: 08 02 00, not 08 00 00.
  EXPECT_EQ(r.memoryDump, "---- globaler Variablen Speicher ---\r\n\r\n8, 2, 0, 255");

  // A compile error: the dump without the image, which was never linked.
  input = Project("goto nirgends\r\n", "");
  input.memoryDump = true;
  r = builder.Build(input);
  ASSERT_FALSE(r.success);
  EXPECT_EQ(r.memoryDump, "---- globaler Variablen Speicher ---\r\n");
  input.memoryDump = false;
  input.basicSource = "$ 1\r\n";
  EXPECT_EQ(builder.Build(input).memoryDump, "");
}

}  // namespace
}  // namespace zarvek
