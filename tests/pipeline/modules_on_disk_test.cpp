// Projects with modules on disk: the pipeline reads module files through the project
// loader, assembles their assembler parts behind the project's and names a module's file
// for errors inside it.
#include <gtest/gtest.h>

#include "../project/temp_folder.h"
#include "pipeline/build.h"
#include "pipeline/project_modules.h"
#include "project/project_xml.h"
#include "text/hex.h"

namespace zarvek::test {
namespace {

class ModulesOnDisk : public TTempFolder {
 protected:
  std::string Project(const std::string& name, const std::string& basic, const std::string& assembler = "") {
    TProject p;
    p.basicSource = basic;
    p.assemblerSource = assembler;
    return Write(name, ProjectToXml(p));
  }
  TBuildResult Build(const std::string& basic, const std::string& assembler = "") {
    TBuildInput input;
    input.basicSource = basic;
    input.assemblerSource = assembler;
    input.profile = profile::Tessel11;
    input.projectFileName = Project("main.xml", basic, assembler);
    input.modules = &loader;
    return builder.Build(input);
  }
  std::string Canonical(const std::string& name) const { return loader.Canonical(Path(name)); }
  TProjectFileLoader loader;
  TBuilder builder;
};

TEST_F(ModulesOnDisk, NestedModulesWithAssemblerParts) {
  // Nested includes name their files relative to the project's folder.
  Project("lib/util.xml", "MODULE util\r\n$INCLUDE \"lib/leds.xml\"\r\nSUB twice\r\nCALL blink\r\nCALL blink\r\nEND SUB\r\n");
  Project("lib/leds.xml", "MODULE leds\r\n", "blink LDA #1\r\n      RTS\r\n");
  const TBuildResult r = Build("$INCLUDE \"lib/util.xml\"\r\nCALL twice\r\n", "main  NOP\r\n");
  ASSERT_TRUE(r.success) << (r.basicError ? r.basicError->message.str() : r.assemblerError->message);
  EXPECT_EQ(HexBytes(r.machineCode.code), "9D A6 01 81");
  ASSERT_EQ(r.program.includes.size(), 2u);
  EXPECT_EQ(r.program.includes[1].fileName, Canonical("lib/leds.xml"));
  EXPECT_EQ(r.program.includes[1].assemblerFirstLine, 1);
  EXPECT_EQ(r.program.includes[1].assemblerLineCount, 2);
}

TEST_F(ModulesOnDisk, ErrorsInsideModulesNameTheModulesFileAndLine) {
  Project("lib/util.xml", "MODULE util\r\n$INCLUDE \"lib/leds.xml\"\r\n");
  Project("lib/leds.xml", "MODULE leds\r\n\r\n  PRINT q\r\n");
  TBuildResult r = Build("' main\r\n$INCLUDE \"lib/util.xml\"\r\n");
  ASSERT_TRUE(r.basicError);
  EXPECT_EQ(r.basicError->message.str(), "leds - q unbekannt");
  EXPECT_EQ(r.basicError->mapped.fileName, Canonical("lib/leds.xml"));
  EXPECT_EQ(r.basicError->line, 3);
  EXPECT_EQ(r.basicError->column, 9);
  const TSourceLocation at = builder.Compiler().Locate(r.basicError->sourcePosition);
  EXPECT_EQ(at.mapped.position, 33);  // the end of the project's $INCLUDE line

  // An assembler error inside a module carries the module's name and its own line.
  Project("lib/leds.xml", "MODULE leds\r\n", "blink LDA #1\r\n      LDA #300\r\n");
  r = Build("$INCLUDE \"lib/leds.xml\"\r\n", " NOP\r\n");
  ASSERT_TRUE(r.assemblerError);
  EXPECT_TRUE(r.assemblerError->message.ends_with(" (leds)")) << r.assemblerError->message;
  const TAsmLineOrigin origin = LocateAssemblerLine(r.program.includes, r.assemblerError->line);
  EXPECT_EQ(origin.moduleIndex, 0);
  EXPECT_EQ(origin.line, 1);
  // And back: the module's line in the assembled text, none past the module's end.
  EXPECT_EQ(AssembledLine(r.program.includes, origin), r.assemblerError->line);
  EXPECT_EQ(AssembledLine(r.program.includes, {-1, 0}), 0);
  EXPECT_FALSE(AssembledLine(r.program.includes, {0, 2}));
  EXPECT_FALSE(AssembledLine(r.program.includes, {1, 0}));
}

TEST_F(ModulesOnDisk, AFileIsIncludedOnlyOnce) {
  Project("a.xml", "$INCLUDE \"main.xml\"\r\n");
  TBuildResult r = Build("$INCLUDE \"a.xml\"\r\n");
  ASSERT_TRUE(r.basicError);
  EXPECT_EQ(r.basicError->code, 263);
  Project("a.xml", "");
  r = Build("$INCLUDE \"a.xml\"\r\n$INCLUDE \"./a.xml\"\r\n");
  EXPECT_EQ(r.basicError->code, 262);
  // A folder that links to itself gives no endless chain of names for one file.
  std::filesystem::create_directory_symlink(Folder(), Folder() / "loop");
  Project("a.xml", "$INCLUDE \"loop/a.xml\"\r\n");
  r = Build("$INCLUDE \"a.xml\"\r\n");
  EXPECT_EQ(r.basicError->code, 262);
  r = Build("$INCLUDE \"loop/loop/main.xml\"\r\n");
  EXPECT_EQ(r.basicError->code, 263);
  // A file that is no project, one that cannot be read, one that is not there.
  Write("text.xml", "PRINT 1");
  EXPECT_EQ(Build("$INCLUDE \"text.xml\"\r\n").basicError->code, 258);
  std::filesystem::create_directory(Path("dir.xml"));
  EXPECT_EQ(Build("$INCLUDE \"dir.xml\"\r\n").basicError->code, 259);
  EXPECT_EQ(Build("$INCLUDE \"none.xml\"\r\n").basicError->message.str(), "Datei " + Canonical("none.xml") + " nicht gefunden.");
}

}  // namespace
}  // namespace zarvek::test
