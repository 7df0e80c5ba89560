// $INCLUDE and MODULE over projects held in memory: splicing, include records, the
// checks and their messages, and errors inside (nested) modules.
#include <gtest/gtest.h>

#include <map>

#include "compile_helpers.h"
#include "memory_modules.h"

namespace zarvek::test {
namespace {

// The first word of every line that starts in column 1, as the assembler collects labels.
std::vector<std::string> FirstWords(const std::vector<std::string>& lines) {
  std::vector<std::string> names;
  for (const std::string& line : lines)
    if (!line.empty() && line[0] != ' ') names.push_back(line.substr(0, line.find(' ')));
  return names;
}

class Modules : public ::testing::Test {
 protected:
  TMemoryModules modules;
  TCompileResult Build(const std::string& source, TProfile profile = profile::Pyxon32) {
    TCompileInput input = Input(source, profile);
    input.projectFileName = "/p/main.xml";
    input.modules = &modules;
    input.assemblerLines = {"start NOP"};
    input.assemblerLabelNames = FirstWords;
    return compiler.CompileProgram(input);
  }
  std::string Failure(const std::string& source) { return Describe(Build(source)); }
  TCompiler compiler;
};

TEST_F(Modules, ModuleTextIsCompiledBehindTheIncludeLine) {
  modules.Add("/p/a.xml", Lines({"$ 2"}));
  const TCompileResult r = Build(Lines({"$ 1", "$INCLUDE \"a.xml\"", "$ 3"}));
  ASSERT_TRUE(r.success) << r.error->message.str();
  EXPECT_EQ(Hex(r.image), "01 02 03 FF");
  ASSERT_EQ(r.includes.size(), 1u);
  const TIncludeRecord& a = r.includes[0];
  EXPECT_EQ(a.fileName, "/p/a.xml");
  EXPECT_EQ(a.parentFileName, "/p/main.xml");
  EXPECT_EQ(a.parentIndex, -1);
  EXPECT_EQ(a.start, 23);  // the LF that ends the $INCLUDE's line
  EXPECT_EQ(a.length, 5);
  EXPECT_EQ(a.depth, 0);
  // The module's statement carries its module index; the project's next one does not.
  for (const TStatementMapRecord& m : r.statementMap) {
    if (m.codeOffset == 1 || m.codeOffset == 2) {
      EXPECT_EQ(m.moduleIndex, m.codeOffset == 1 ? 0 : -1);
    }
  }

  // The rest of the $INCLUDE's line comes first; a comment may follow the file name; the
  // last line needs no line end, and neither does the module's.
  EXPECT_EQ(Hex(Build("$INCLUDE \"a.xml\" : $ 9\r\n$ 3").image), "09 02 03 FF");
  EXPECT_EQ(Hex(Build("$INCLUDE \"a.xml\" ' the library").image), "02 FF");
  modules.Add("/p/a.xml", "$ 2");
  EXPECT_EQ(Hex(Build(Lines({"$INCLUDE \"a.xml\"", "$ 3"})).image), "02 03 FF FF");
}

TEST_F(Modules, NestedModulesGrowTheirParentsAndShowErrorsAtTheOutermostInclude) {
  const std::string a = Lines({"MODULE amod", "$INCLUDE \"b.xml\"", "$ 2"});
  const std::string b = Lines({"MODULE bmod", "$ 5"});
  modules.Add("/p/a.xml", a);
  modules.Add("/p/b.xml", b);
  const std::string main = Lines({"$ 1", "$INCLUDE \"a.xml\"", "$ 3"});
  const TCompileResult r = Build(main);
  ASSERT_TRUE(r.success) << r.error->message.str();
  EXPECT_EQ(Hex(r.image), "01 05 02 03 FF FF");
  ASSERT_EQ(r.includes.size(), 2u);
  EXPECT_EQ(r.includes[0].length, static_cast<int32_t>(a.size() + b.size()));
  EXPECT_EQ(r.includes[1].depth, 1);
  EXPECT_EQ(r.includes[1].parentIndex, 0);
  EXPECT_EQ(r.includes[1].parentFileName, "/p/a.xml");
  EXPECT_EQ(r.includes[1].moduleName, "bmod");

  // In the inner module: its own name, file, line and column; the project's position is
  // the outermost $INCLUDE.
  modules.Add("/p/b.xml", Lines({"MODULE bmod", "", "  y = 1"}));
  TCompileResult bad = Build(main);
  ASSERT_FALSE(bad.success);
  EXPECT_EQ(bad.error->code, 126);
  EXPECT_TRUE(bad.error->message.str().starts_with("bmod - ")) << bad.error->message.str();
  EXPECT_EQ(bad.error->mapped.fileName, "/p/b.xml");
  EXPECT_EQ(bad.error->line, 3);
  EXPECT_EQ(bad.error->column, 3);
  EXPECT_EQ(bad.error->mapped.position, 23);

  // In the outer module behind the inner one, and in the project behind both: the spliced
  // texts do not count.
  modules.Add("/p/b.xml", b);
  modules.Add("/p/a.xml", Lines({"$INCLUDE \"b.xml\"", "y = 1"}));
  bad = Build(main);
  EXPECT_EQ(bad.error->line, 2);
  EXPECT_TRUE(bad.error->message.str().starts_with("Modul /p/a.xml - ")) << bad.error->message.str();
  modules.Add("/p/a.xml", a);
  EXPECT_EQ(Failure(Lines({"$ 1", "$INCLUDE \"a.xml\"", "y = 1"})).substr(0, 8), "126 3:1 ");
}

TEST_F(Modules, IncludeChecks) {
  modules.Add("/p/a.xml", Lines({"$ 2"}));
  modules.Add("/p/lib/m.xml", Lines({"$ 4"}));
  modules.Add("/p/main.xml", "");
  modules.Add("/p/A.XML", "");
  modules.files["/p/bad.xml"] = {1, "", ""};
  modules.files["/p/locked.xml"] = {2, "", ""};
  EXPECT_EQ(Failure("$INCLUDE \"nope.xml\"\r\n"), "257 1:10 Datei /p/nope.xml nicht gefunden.");
  EXPECT_EQ(Failure("$INCLUDE \"bad.xml\"\r\n"), "258 1:10 Datei /p/bad.xml ist kein Projekt.");
  EXPECT_EQ(Failure("$INCLUDE \"locked.xml\"\r\n"), "259 1:10 Zugriffsfehler auf /p/locked.xml");
  EXPECT_EQ(Failure(Lines({"$INCLUDE \"a.xml\"", "$INCLUDE \"lib/../A.XML\""})),
            "262 2:10 Modul ist bereits in dieses Projekt integriert. (/p/A.XML)");
  EXPECT_EQ(Failure("$INCLUDE \"main.xml\"\r\n"),
            "263 1:10 Das Modul wird wiederholt in das Projekt integriert (/p/main.xml)");
  modules.Add("/p/a.xml", Lines({"$INCLUDE \"main.xml\""}));
  EXPECT_EQ(Failure("$INCLUDE \"a.xml\"\r\n"),
            "263 1:10 Modul /p/a.xml - Das Modul wird wiederholt in das Projekt integriert (/p/main.xml)");
  EXPECT_EQ(Failure("$ 1 : $INCLUDE \"a.xml\"\r\n").substr(0, 4), "264 ");
  EXPECT_EQ(Failure("$INCLUDE \"a.xml\" )\r\n").substr(0, 4), "109 ");
  // Folders written with backslashes, as on Windows.
  EXPECT_EQ(Hex(Build("$INCLUDE \"lib\\m.xml\"\r\n").image), "04 FF");
  // The name may be any constant string expression.
  EXPECT_EQ(Hex(Build("$INCLUDE \"lib/\" + \"m.xml\"\r\n").image), "04 FF");

  TCompileInput alone;
  alone.source = "$INCLUDE \"a.xml\"\r\n";
  EXPECT_EQ(compiler.CompileProgram(alone).error->code, 257);  // no loader: no module files
}

TEST_F(Modules, ModuleNames) {
  modules.Add("/p/a.xml", Lines({"MODULE lib", "MODULE LIB"}));
  modules.Add("/p/b.xml", Lines({"MODULE lib"}));
  modules.Add("/p/c.xml", Lines({"MODULE one", "MODULE two"}));
  modules.Add("/p/d.xml", Lines({"MODULE main"}));
  EXPECT_EQ(Failure(Lines({"$INCLUDE \"a.xml\""})), "no error");
  EXPECT_EQ(Failure(Lines({"$INCLUDE \"c.xml\""})),
            "261 2:8 one - Ein Modulname ist für dieses Modul bereits definiert two/one.");
  EXPECT_EQ(Failure(Lines({"$INCLUDE \"a.xml\"", "$INCLUDE \"b.xml\""})),
            "260 1:8 Modul /p/b.xml - Modulname wird in diesem Projekt für unterschiedliche Module mehrfach verwendet. (lib)");
  EXPECT_EQ(Failure(Lines({"MODULE main", "$INCLUDE \"d.xml\""})).substr(0, 4), "260 ");
  EXPECT_EQ(Failure(Lines({"MODULE main", "MODULE Main"})), "no error");
  EXPECT_EQ(Failure(Lines({"MODULE main", "MODULE other"})).substr(0, 4), "261 ");
  const TCompileResult r = Build(Lines({"MODULE main"}));
  EXPECT_EQ(r.moduleName, "main");

  // A MODULE statement behind a nested module's text names the module it stands in.
  modules.Add("/p/a.xml", Lines({"$INCLUDE \"b.xml\"", "MODULE outer"}));
  const TCompileResult nested = Build(Lines({"$INCLUDE \"a.xml\""}));
  ASSERT_TRUE(nested.success) << nested.error->message.str();
  EXPECT_EQ(nested.includes[0].moduleName, "outer");
  EXPECT_EQ(nested.includes[1].moduleName, "lib");
}

TEST_F(Modules, AssemblerTextsAreAppendedWithTheirLabels) {
  modules.Add("/p/a.xml", "", "blink LDA #1\r\n RTS\r\n");
  const TCompileResult r = Build(Lines({"$INCLUDE \"a.xml\"", "CALL blink"}), profile::Tessel11);
  ASSERT_TRUE(r.success) << r.error->message.str();
  EXPECT_EQ(r.assemblerLines, (std::vector<std::string>{"start NOP", "blink LDA #1", " RTS"}));
  EXPECT_EQ(r.includes[0].assemblerFirstLine, 1);
  EXPECT_EQ(r.includes[0].assemblerLineCount, 2);
  EXPECT_EQ(r.includes[0].length, 0);
  // The BASIC text may not declare a name the module's assembler part defines.
  EXPECT_EQ(Failure(Lines({"$INCLUDE \"a.xml\"", "DIM blink AS BYTE"})).substr(0, 4), "125 ");
}

TEST_F(Modules, ContinuedLinesInAModuleFollowTheProjectsRule) {
  modules.Add("/p/a.xml", Lines({"$ 1, _", "  2", "PRINT \"a _ b\""}));
  const TCompileResult r = Build(Lines({"$INCLUDE \"a.xml\""}));
  ASSERT_TRUE(r.success) << r.error->message.str();
  EXPECT_TRUE(Hex(r.image).starts_with("01 02 ")) << Hex(r.image);
  EXPECT_NE(r.image.find("a _ b"), std::string::npos);
  modules.Add("/p/a.xml", Lines({"$ 1, _ 2"}));
  EXPECT_EQ(Failure(Lines({"$INCLUDE \"a.xml\""})), "109 1:8 Modul /p/a.xml - Ende erwartet ");
}

// Every statement is found in its own text, whatever line ends the texts use, and in
// the project's text on the line of the outermost $INCLUDE.
TEST_F(Modules, StatementsAreLocatedInTheirOwnTexts) {
  modules.Add("/p/a.xml", "$ 10\n$INCLUDE \"c.xml\"\n  $ 11\n");
  modules.Add("/p/c.xml", "$ 20\r$ 21\r");
  modules.Add("/p/b.xml", "$ 30\r\n$ 31");
  const TCompileResult r = Build(Lines({"$ 1", "$INCLUDE \"a.xml\"", "$INCLUDE \"b.xml\"", "$ 4"}));
  ASSERT_TRUE(r.success) << r.error->message.str();
  struct TWhere {
    int module, line, column, projectLine;
  };
  const std::map<int, TWhere> expected = {
      {1, {-1, 1, 1, 1}},  {10, {0, 1, 1, 2}}, {20, {1, 1, 1, 2}}, {21, {1, 2, 1, 2}},
      {11, {0, 3, 1, 2}},  {30, {2, 1, 1, 3}}, {31, {2, 2, 1, 3}}, {4, {-1, 4, 1, 4}}};
  size_t found = 0;
  for (const TStatementMapRecord& s : r.statementMap) {
    if (s.codeOffset + 1 >= r.codeLength) continue;  // the END behind the last statement
    const int value = static_cast<uint8_t>(r.image[s.codeOffset]);
    const auto want = expected.find(value);
    ASSERT_TRUE(want != expected.end()) << "statement with byte " << value << " at " << s.codeOffset;
    const TSourceLocation at = compiler.Locate(static_cast<int32_t>(s.sourcePosition));
    SCOPED_TRACE(value);
    EXPECT_EQ(at.mapped.moduleIndex, want->second.module);
    EXPECT_EQ(at.line, want->second.line);
    EXPECT_EQ(at.column, want->second.column);
    EXPECT_EQ(at.projectLine, want->second.projectLine);
    ++found;
  }
  EXPECT_EQ(found, expected.size());
  // A position on a line end belongs to the line it ends; one past the source end to the
  // last line.
  const TSourceLocation lineEnd = compiler.Locate(4);  // the CR of "$ 1" CR LF
  EXPECT_EQ(lineEnd.line, 1);
  EXPECT_EQ(lineEnd.column, 4);
  EXPECT_EQ(compiler.Locate(5).line, 1);  // its LF
}

}  // namespace
}  // namespace zarvek::test
