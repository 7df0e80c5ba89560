// The run's line table and breakpoints for projects with modules: statements of a module
// carry the module's own lines, and a breakpoint belongs to the text it was set in.
#include <gtest/gtest.h>

#include <map>

#include "compiler/memory_modules.h"
#include "simulation/start_plan.h"

namespace zarvek {
namespace {

class ModuleLines : public ::testing::Test {
 protected:
  test::TMemoryModules modules;
  TBuilder builder;
  std::map<std::string, std::vector<int32_t>> moduleBasic, moduleAssembler;

  TStartPlan Start(TProfile profile, std::vector<int32_t> mainBreakpoints = {}) {
    modules.files["/p/mod.xml"] = {0, "DIM m AS BYTE\r\nSUB zwei\r\n  m = 2\r\nEND SUB\r\n",
                                   "mlab LDA #1\r\n; nichts\r\n     RTS\r\n"};
    TStartInput in;
    in.basicSource = "DIM a AS BYTE\r\n$INCLUDE \"mod.xml\"\r\na = 1\r\nCALL zwei\r\nEND\r\n";
    in.assemblerSource = "start NOP\r\n      RTS\r\n";
    in.profile = profile;
    in.projectFileName = "/p/main.xml";
    in.modules = &modules;
    in.basicBreakpoints = std::move(mainBreakpoints);
    in.moduleBasicBreakpoints = [this](const std::string& f) { return moduleBasic[f]; };
    in.moduleAssemblerBreakpoints = [this](const std::string& f) { return moduleAssembler[f]; };
    return PrepareStart(builder, in);
  }
  static const TLineRecord* Find(const std::vector<TLineRecord>& table, uint32_t origin, uint32_t line) {
    for (const TLineRecord& r : table)
      if (r.origin == origin && r.sourceLine == line) return &r;
    return nullptr;
  }
};

TEST_F(ModuleLines, StatementsOfAModuleCarryTheModulesOwnLines) {
  const TStartPlan plan = Start(profile::Pyxon32);
  ASSERT_TRUE(plan.ready) << plan.message;
  ASSERT_EQ(plan.build.program.includes.size(), 1u);
  EXPECT_EQ(plan.build.program.includes[0].fileName, "/p/mod.xml");
  const std::vector<TLineRecord>& table = plan.pyxon->lineTable;
  EXPECT_NE(Find(table, 0, 3), nullptr);                  // m = 2 in the module
  EXPECT_NE(Find(table, kMainSourceOrigin, 3), nullptr);  // a = 1 in the main text
  EXPECT_NE(Find(table, kMainSourceOrigin, 4), nullptr);  // CALL zwei
  // Nothing of the module stands on the $INCLUDE line any more.
  EXPECT_EQ(Find(table, kMainSourceOrigin, 2), nullptr);
}

TEST_F(ModuleLines, BreakpointsFlagOnlyTheStatementsOfTheirOwnText) {
  moduleBasic["/p/mod.xml"] = {3};
  TStartPlan plan = Start(profile::Pyxon32, {4});
  ASSERT_TRUE(plan.ready) << plan.message;
  const std::vector<TLineRecord>& table = plan.pyxon->lineTable;
  EXPECT_EQ(Find(table, 0, 3)->breakpoint, 1);
  EXPECT_EQ(Find(table, kMainSourceOrigin, 3)->breakpoint, 0);  // the same number, the other text
  EXPECT_EQ(Find(table, kMainSourceOrigin, 4)->breakpoint, 1);
  int flagged = 0;
  for (const TLineRecord& r : table) flagged += r.breakpoint;
  EXPECT_EQ(flagged, 2);

  // A breakpoint in the main text on the line of the $INCLUDE flags no module statement.
  moduleBasic.clear();
  plan = Start(profile::Pyxon32, {2});
  for (const TLineRecord& r : plan.pyxon->lineTable) EXPECT_EQ(r.breakpoint, 0) << r.sourceLine;
}

TEST_F(ModuleLines, AssemblerBreakpointsOfAModuleReachTheCode) {
  moduleAssembler["/p/mod.xml"] = {2};  // a comment line: the breakpoint moves on to the RTS
  const TStartPlan plan = Start(profile::Tessel11);
  ASSERT_TRUE(plan.ready) << plan.message;
  const TIncludeRecord& module = plan.build.program.includes[0];
  const TTesselStart& t = *plan.tessel;
  ASSERT_EQ(t.assemblerBreakpoints.size(), 1u);
  const uint16_t at = t.assemblerBreakpoints[0];
  bool found = false;
  for (const hc05::TAsmLineMapEntry& e : t.assemblerLineMap)
    if (e.position == at) {
      EXPECT_EQ(e.line, module.assemblerFirstLine + 2);  // RTS, the module's third line
      found = true;
    }
  EXPECT_TRUE(found);
  // Lines beyond the module's own text are not taken for the next module's.
  moduleAssembler["/p/mod.xml"] = {4, 0};
  EXPECT_TRUE(Start(profile::Tessel11).tessel->assemblerBreakpoints.empty());
}

TEST(AssemblerBreakpointPositions, ALineWithoutCodeTakesTheNextLineWithCode) {
  const std::vector<hc05::TAsmLineMapEntry> map = {{0, 0}, {2, 3}, {3, 5}};
  EXPECT_EQ(AssemblerBreakpointPositions(map, {0, 3}), (std::vector<uint16_t>{0, 2}));
  EXPECT_EQ(AssemblerBreakpointPositions(map, {1}), (std::vector<uint16_t>{2}));
  EXPECT_EQ(AssemblerBreakpointPositions(map, {4}), (std::vector<uint16_t>{3}));
  EXPECT_TRUE(AssemblerBreakpointPositions(map, {6}).empty());  // after the last code
}

}  // namespace
}  // namespace zarvek
