#include "simulation/variable_view.h"

#include "sim_fixture.h"

namespace zarvek::test {
namespace {

const TVariableNode* Child(const TVariableNode& node, const std::string& prefix) {
  for (const TVariableNode& c : node.children)
    if (c.text.rfind(prefix, 0) == 0) return &c;
  return nullptr;
}

std::vector<std::string> Texts(const std::vector<TVariableNode>& nodes) {
  std::vector<std::string> texts;
  for (const TVariableNode& n : nodes) texts.push_back(n.text);
  return texts;
}

TEST(VariableView, RecursiveFunctionShowsOneBranchPerFrameWithItsOwnLocals) {
  TSimRun run;
  ASSERT_TRUE(run.Start("DIM total AS INTEGER\n"
                        "FUNCTION fak(n AS INTEGER)\n"
                        "  DIM rest AS INTEGER\n"
                        "  IF n > 1 THEN\n"
                        "    rest = fak(n - 1)\n"
                        "    fak = n * rest\n"  // line 6
                        "  END IF\n"
                        "  IF n = 1 THEN\n"
                        "    fak = 1\n"  // line 9
                        "  END IF\n"
                        "END FUNCTION\n"
                        "total = fak(3)\n"
                        "PRINT total\n"
                        "END\n",
                        {9}));
  ASSERT_EQ(run.Run(TRunMode::ToBreakpoint), TSliceEnd::Paused);
  ASSERT_EQ(run.listener.stops.size(), 1u);
  TVariableView view(run.plan.symbols);
  view.Rebuild(run.sim->GetDebugState(), *run.access);
  ASSERT_EQ(Texts(view.Branches()), (std::vector<std::string>{"Hauptprogramm", "fak", "fak", "fak"}));
  EXPECT_EQ(view.Branches()[0].image, varimage::MainOrSub);
  EXPECT_EQ(view.Branches()[1].image, varimage::Function);
  EXPECT_EQ(Texts(view.Branches()[0].children), (std::vector<std::string>{"total=0"}));
  // Each frame holds its own n; the innermost call is the one at n = 1.
  EXPECT_EQ(Texts(view.Branches()[1].children), (std::vector<std::string>{"n=3", "rest=0"}));
  EXPECT_EQ(Texts(view.Branches()[2].children), (std::vector<std::string>{"n=2", "rest=0"}));
  EXPECT_EQ(Texts(view.Branches()[3].children), (std::vector<std::string>{"n=1", "rest=0"}));
  for (const TVariableNode& b : view.Branches())
    for (const TVariableNode& v : b.children) EXPECT_FALSE(v.changed) << v.text;

  // On to the statement after the innermost call returned: its caller took the result.
  run.sim->ClearBreakpoint(9);
  run.sim->SetBreakpoint(6);
  ASSERT_EQ(run.Run(TRunMode::ToBreakpoint), TSliceEnd::Paused);
  view.Rebuild(run.sim->GetDebugState(), *run.access);
  ASSERT_EQ(Texts(view.Branches()), (std::vector<std::string>{"Hauptprogramm", "fak", "fak"}));
  const TVariableNode* rest = Child(view.Branches()[2], "rest=");
  ASSERT_NE(rest, nullptr);
  EXPECT_EQ(rest->text, "rest=1");
  EXPECT_TRUE(rest->changed);
  const TVariableNode* n = Child(view.Branches()[2], "n=");
  ASSERT_NE(n, nullptr);
  EXPECT_FALSE(n->changed);

  view.Discard();
  EXPECT_TRUE(view.Branches().empty());
}

TEST(VariableView, ValuesFollowTheirTypesAndUnchangedValuesAreNotMarked) {
  TSimRun run;
  ASSERT_TRUE(run.Start("DIM flag AS BOOLEAN\n"
                        "DIM b AS BYTE\n"
                        "DIM w AS INTEGER\n"
                        "DIM s$ AS STRING\n"
                        "DIM list[3] AS BYTE\n"
                        "TYPE Point\n"
                        "  x AS INTEGER\n"
                        "  y AS BYTE\n"
                        "END TYPE\n"
                        "DIM p AS Point\n"
                        "flag = -1\n"
                        "b = 200\n"
                        "w = &H8000\n"
                        "s$ = \"hallo\"\n"
                        "list[2] = 7\n"
                        "p.x = -5\n"
                        "p.y = 9\n"
                        "b = 201\n"   // line 18
                        "b = 202\n"   // line 19
                        "END\n",
                        {18, 19}));
  ASSERT_EQ(run.Run(TRunMode::ToBreakpoint), TSliceEnd::Paused);
  TVariableView view(run.plan.symbols);
  view.Rebuild(run.sim->GetDebugState(), *run.access);
  ASSERT_EQ(view.Branches().size(), 1u);
  const TVariableNode& main = view.Branches()[0];
  EXPECT_EQ(Texts(main.children),
            (std::vector<std::string>{"b=200", "flag=-1", "list[...]", "p...", "s$=\"hallo\"", "w=-32768"}));
  const TVariableNode* list = Child(main, "list");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->image, varimage::Array);
  EXPECT_EQ(Texts(list->children), (std::vector<std::string>{"[1]=0", "[2]=7", "[3]=0"}));
  const TVariableNode* p = Child(main, "p...");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->image, varimage::Structure);
  EXPECT_EQ(Texts(p->children), (std::vector<std::string>{"x: -5", "y: 9"}));

  ASSERT_EQ(run.Run(TRunMode::ToBreakpoint), TSliceEnd::Paused);
  view.Rebuild(run.sim->GetDebugState(), *run.access);
  for (const TVariableNode& v : view.Branches()[0].children) EXPECT_EQ(v.changed, v.text == "b=201") << v.text;
}

}  // namespace
}  // namespace zarvek::test

namespace zarvek::test {
namespace {

TEST(VariableView, TesselVariablesAreReadFromTheEmulatedRam) {
  TBuilder builder;
  TStartInput in;
  in.basicSource = "DIM a AS BOOLEAN, b AS BOOLEAN\r\nDIM c AS BYTE\r\nDIM w AS INTEGER\r\nEND\r\n";
  in.profile = profile::Tessel11;
  const TStartPlan plan = PrepareStart(builder, in);
  ASSERT_TRUE(plan.ready) << plan.message;
  std::array<uint8_t, 256> ram{};
  ram[161 + 23] = 0x02;  // bits 184 and 185: b set
  ram[161 + 22] = 250;   // c
  const int w = plan.symbols.FindBasic("w");
  ASSERT_GE(w, 0);
  const size_t word = 161 + 2 * static_cast<size_t>(plan.symbols.Basic()[static_cast<size_t>(w)].address);
  ram[word] = 0xFF;
  ram[word + 1] = 0xFE;
  TTesselRamAccess access([&](uint16_t address) { return ram[address % ram.size()]; });
  TVariableView view(plan.symbols);
  view.RebuildGlobals(access);
  ASSERT_EQ(view.Branches().size(), 1u);
  EXPECT_EQ(Texts(view.Branches()[0].children), (std::vector<std::string>{"a=0", "b=-1", "c=250", "w=-2"}));
  ram[161 + 22] = 251;
  view.RebuildGlobals(access);
  for (const TVariableNode& v : view.Branches()[0].children) EXPECT_EQ(v.changed, v.text == "c=251") << v.text;
}

}  // namespace
}  // namespace zarvek::test
