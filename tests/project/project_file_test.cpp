// Project files: the exact bytes a save writes, load and save round trips, the loader's
// tolerance of odd and broken files, and saves that never lose the user's file.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "project/open_file.h"
#include "project/project_export.h"
#include "project/project_file.h"
#include "temp_folder.h"

namespace zarvek::test {
namespace {

TProject Sample() {
  TProject p;
  p.profile = profile::Pyxon32;
  p.basicSource = "PRINT 1 < 2 & 3\r\n";
  p.assemblerSource = " NOP\r\n";
  p.At(0, 1) = {objecttype::LedRed, 0, "LED1", {}};
  p.At(0, 1).slots[0] = {"1", slotkind::Port};
  p.At(0, 1).slots[1] = {"0", slotkind::Bit};
  p.At(0, 1).slots[2] = {"1", slotkind::Active};
  p.At(2, 0) = {objecttype::AnalogWheel, 8, "Rad", {}};
  p.At(2, 0).slots[0] = {"1", slotkind::AdChannel};
  p.At(2, 0).slots[1] = {"128", slotkind::Value};
  p.At(2, 5) = {objecttype::VariableNumerical, 100, "v", {}};
  return p;
}

const std::string kSampleXml =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><project><system>atmega-32</system>"
    "<assembler><source> NOP\r\n</source><breakpoint></breakpoint></assembler>"
    "<basic><source>PRINT 1 &lt; 2 &amp; 3\r\n</source><breakpoint>3 10 </breakpoint></basic><simulator>"
    "<object><class>led-red</class><port>1</port><bit>0</bit><active>1</active><name>LED1</name><x>0</x><y>1</y></object>"
    "<object><class>analog-wheel</class><ad>1</ad><value>128</value><name>Rad</name><x>2</x><y>0</y></object>"
    "<object><class>variable-numerical</class><name>v</name><x>2</x><y>5</y></object>"
    "</simulator></project>";

class ProjectFile : public TTempFolder {
 protected:
  // Loads a document given as text, interactively unless told otherwise.
  TLoadOutcome LoadText(const std::string& xml, TProject& p, TLoadMode mode = TLoadMode::Interactive) {
    return LoadProject(Write("p.xml", xml), mode, p);
  }
  TProject FromText(const std::string& xml) {
    TProject p;
    last = LoadText(xml, p);
    return p;
  }
  static std::string Doc(const std::string& inner) { return "<project>" + inner + "</project>"; }
  static std::string Object(const std::string& inner) { return Doc("<simulator><object>" + inner + "</object></simulator>"); }
  TLoadOutcome last;
};

TEST_F(ProjectFile, SaveWritesTheExactBytes) {
  TProject p = Sample();
  p.basicBreakpoints = {3, 10};
  p.At(3, 3) = {objecttype::Empty, 0, "gone", {}};  // an empty cell is not written
  EXPECT_EQ(ProjectToXml(p), kSampleXml);
  EXPECT_EQ(ProjectToXml(TProject{}),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><project><system>tessel-1.1</system><assembler><source>"
            "</source><breakpoint></breakpoint></assembler><basic><source></source><breakpoint></breakpoint></basic>"
            "<simulator></simulator></project>");
  // Types the file has no class for are written as "unknown", without parameters.
  p.At(3, 3).type = 99;
  EXPECT_NE(ProjectToXml(p).find("<object><class>unknown</class><name>gone</name><x>3</x><y>3</y></object>"),
            std::string::npos);
}

TEST_F(ProjectFile, LoadAndSaveRoundTrip) {
  const TProject original = Sample();
  const TSaveOutcome saved = SaveProject(Path("p.xml"), original);
  ASSERT_TRUE(saved.saved);
  EXPECT_EQ(saved.statusText, Path("p.xml") + " gespeichert.");
  TProject loaded;
  loaded.basicBreakpoints = {7};  // an opened project starts without breakpoints
  const TLoadOutcome outcome = LoadProject(Path("p.xml"), TLoadMode::Interactive, loaded);
  ASSERT_EQ(outcome.result, loadresult::Loaded);
  EXPECT_EQ(loaded, original);
  EXPECT_EQ(outcome.objectNodes, (std::vector<TObjectNode>{{"LED1", 32, 0, 1}, {"Rad", 36, 2, 0}, {"v", 46, 2, 5}}));
  EXPECT_EQ(ProjectToXml(loaded), Read("p.xml"));
}

TEST_F(ProjectFile, SourceTextsSurviveEscapingAndTheirLineBreaks) {
  TProject p;
  p.basicSource = "\r\nPRINT \"&lt;\" ' a <tag> & more\r\n\r\n";
  p.assemblerSource = "/source";
  EXPECT_EQ(FromText(ProjectToXml(p)), p);
  // Blanks and line breaks alone are no content; CDATA is verbatim and then unescaped.
  EXPECT_EQ(FromText(Doc("<basic><source> \r\n </source></basic>")).basicSource, "");
  EXPECT_EQ(FromText(Doc("<basic><source><![CDATA[a < b &amp; c]]></source></basic>")).basicSource, "a < b & c");
  // Names and parameter texts are written as they are.
  EXPECT_EQ(EscapeSource("a&b<c>d"), "a&amp;b&lt;c&gt;d");
  EXPECT_EQ(UnescapeSource("&amp;lt;&quot;"), "&lt;&quot;");
}

TEST_F(ProjectFile, ObjectNamesWithMarkupKeepTheFileOpenable) {
  TProject p = Sample();
  p.At(0, 1).name = "<LED> ]]> &";
  p.At(0, 1).slots[0].text = "<1>";
  p.At(2, 0).name = "a&b>c";
  const std::string xml = ProjectToXml(p);
  EXPECT_NE(xml.find("<name>a&b>c</name>"), std::string::npos);  // written as it is when it can be
  EXPECT_EQ(FromText(xml), p);
  EXPECT_EQ(last.result, loadresult::Loaded);
}

TEST_F(ProjectFile, ProfilesByTheirFileValues) {
  for (TProfile profile : {profile::Tessel11, profile::TesselMicro, profile::Tessel20, profile::Pyxon32,
                           profile::Pyxon128}) {
    TProject p;
    p.profile = profile;
    EXPECT_EQ(FromText(ProjectToXml(p)).profile, profile);
  }
  // A value no profile has loads as Tessel 1.1.
  for (const std::string unknown : {"unknown", "atmega-64", ""})
    EXPECT_EQ(FromText(Doc("<system>" + unknown + "</system>")).profile, profile::Tessel11) << unknown;
  EXPECT_EQ(FromText(Doc("<system>Atmega-32</system>")).profile, profile::Tessel11);
  EXPECT_EQ(FromText(Doc("")).profile, profile::Tessel11);
}

TEST_F(ProjectFile, FilesThatAreNoProjects) {
  TProject p = Sample();
  const TProject before = p;
  for (const std::string& text : {std::string("<Project></Project>"), std::string("<project><basic>"), std::string(""),
                                  std::string("plain text"), std::string("\x00\xff<<>>", 6)}) {
    const TLoadOutcome o = LoadText(text, p);
    EXPECT_EQ(o.result, loadresult::NotAProject) << text;
    EXPECT_EQ(o.message, Path("p.xml") + " ist keine Projektdatei.");
    EXPECT_EQ(o.caption, "Fehler beim Öffnen");
    EXPECT_EQ(p, before);  // nothing is lost
  }
  EXPECT_EQ(LoadProject(Path("missing.xml"), TLoadMode::Interactive, p).result, loadresult::NotAProject);
  // A module load reports the result without a message.
  EXPECT_TRUE(LoadText("<Project></Project>", p, TLoadMode::Module).message.empty());
  // A name that exists but is no file to read: an access error with its reason.
  std::filesystem::create_directory(Path("folder.xml"));
  const TLoadOutcome o = LoadProject(Path("folder.xml"), TLoadMode::Interactive, p);
  EXPECT_EQ(o.result, loadresult::ReadFailed);
  EXPECT_EQ(o.message, "Keine gewöhnliche Datei (ein Ordner, ein Gerät oder eine Pipe).");
  EXPECT_EQ(p, before);
  // Missing parts are no error.
  EXPECT_EQ(FromText("<?xml version=\"1.0\"?>\r\n<project></project>"), TProject{});
  EXPECT_EQ(last.result, loadresult::Loaded);
}

TEST_F(ProjectFile, NestingBeyondTheReadersBoundIsNamedAsTheReason) {
  auto nested = [](int depth) {
    std::string open, close;
    for (int k = 1; k < depth; ++k) {
      open += "<n>";
      close += "</n>";
    }
    return "<project><system>atmega-32</system>" + open + close + "<basic><source>PRINT 1</source></basic></project>";
  };
  // At the bound the file loads; one level more is refused, saying why.
  EXPECT_EQ(FromText(nested(static_cast<int>(kMaxXmlDepth))).basicSource, "PRINT 1");
  EXPECT_EQ(last.result, loadresult::Loaded);
  TProject p = Sample();
  const TLoadOutcome o = LoadText(nested(static_cast<int>(kMaxXmlDepth) + 1), p);
  EXPECT_EQ(o.result, loadresult::NotAProject);
  EXPECT_EQ(o.message, Path("p.xml") + " ist zu tief verschachtelt (mehr als 256 Ebenen von Elementen).");
  EXPECT_EQ(p, Sample());
  EXPECT_TRUE(LoadText(nested(300), p, TLoadMode::Module).message.empty());
  // A broken file deep down is still no project file.
  EXPECT_EQ(LoadText("<project><basic>", p).message, Path("p.xml") + " ist keine Projektdatei.");
}

TEST_F(ProjectFile, ObjectsAreReadAsFarAsTheyAreWhole) {
  TProject p = FromText(Object("<class>switch</class><port>$A</port><bit>7</bit><active>0</active><name>S</name><x>$3</x><y>x</y>"));
  EXPECT_EQ(p.At(3, 0).type, objecttype::Switch);
  EXPECT_EQ(p.At(3, 0).pictureIndex, 6);
  EXPECT_EQ(p.At(3, 0).slots[0], (TObjectSlot{"$A", slotkind::Port}));

  // Outside the grid: skipped. A class the file format does not know: a named empty cell
  // with its tree node, which the next save leaves out.
  const std::string objects = Doc(
      "<simulator><object><class>led-red</class><port>1</port><bit>1</bit><active>1</active><name>far</name><x>20</x><y>0</y></object>"
      "<object><class>lamp</class><name>odd</name><x>1</x><y>1</y></object>"
      "<object><class>interrupt</class><name>" + std::string(40, 'n') + "</name><x>19</x><y>19</y></object>"
      "<object><class>analog-gauge</class><da>12345678901234567890</da><name>g</name><x>0</x><y>0</y></object>"
      "<object><class>led-green</class><port>1</port><name>cut</name><x>5</x><y>5</y></object>"
      "<object><class>led-green</class><port>1</port><bit>1</bit><active>1</active><name>late</name><x>6</x><y>6</y></object>"
      "</simulator>");
  p = FromText(objects);
  EXPECT_EQ(last.objectNodes, (std::vector<TObjectNode>{
                                  {"odd", -1, 1, 1}, {std::string(32, 'n'), 47, 19, 19}, {"g", 37, 0, 0}, {"cut", 34, 5, 5}}));
  EXPECT_EQ(p.At(1, 1).type, objecttype::Empty);
  EXPECT_EQ(p.At(1, 1).name, "odd");
  EXPECT_EQ(ProjectToXml(p).find("odd"), std::string::npos);
  EXPECT_EQ(p.At(0, 0).slots[0], (TObjectSlot{"1234567890123456", slotkind::DaChannel}));
  // A missing element ends the reading of objects; what was read stays.
  EXPECT_EQ(p.At(5, 5).type, objecttype::LedGreen);
  EXPECT_EQ(p.At(5, 5).slots[0].text, "1");
  EXPECT_EQ(p.At(6, 6).type, objecttype::Empty);

  // A module load takes only the texts and the profile.
  TProject module = Sample();
  module.basicBreakpoints = {4};
  LoadText(Doc("<system>tessel-micro</system><basic><source>x</source></basic>") , module, TLoadMode::Module);
  TProject expected = Sample();
  expected.basicBreakpoints = {4};
  expected.profile = profile::TesselMicro;
  expected.basicSource = "x";
  expected.assemblerSource = "";
  EXPECT_EQ(module, expected);
}

TEST_F(ProjectFile, ReadOnlyFilesAreMarked) {
  const std::string path = Write("ro.xml", kSampleXml);
  std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  TProject p;
  const TLoadOutcome o = LoadProject(path, TLoadMode::Interactive, p);
  EXPECT_TRUE(o.readOnly);
  EXPECT_EQ(o.statusText, "ro.xml ist schreibgeschützt.");
}

TEST_F(ProjectFile, SavingKeepsABackupOfTheOldFile) {
  Write("p.xml", "old");
  ASSERT_TRUE(SaveProject(Path("p.xml"), Sample()).backupMade);
  EXPECT_EQ(Read("p.BAK"), "old");
  EXPECT_EQ(Read("p.xml"), ProjectToXml(Sample()));
  ASSERT_TRUE(SaveProject(Path("p.xml"), TProject{}).saved);
  EXPECT_EQ(Read("p.BAK"), ProjectToXml(Sample()));  // an older copy is replaced

  // A backup that cannot be made is asked about; Cancel abandons the save.
  std::filesystem::create_directory(Path("q.BAK"));
  Write("q.xml", "keep");
  std::string asked;
  const TSaveOutcome cancelled = SaveProject(Path("q.xml"), Sample(), [&](const std::string& text, const std::string& caption) {
    asked = caption + ": " + text;
    return false;
  });
  EXPECT_EQ(asked, "Backup: Eine Sicherungskopie konnte nicht erstellt werden.");
  EXPECT_FALSE(cancelled.saved);
  EXPECT_EQ(Read("q.xml"), "keep");
  EXPECT_TRUE(SaveProject(Path("q.xml"), Sample(), [](const std::string&, const std::string&) { return true; }).saved);
  EXPECT_EQ(Read("q.xml"), ProjectToXml(Sample()));
}

TEST_F(ProjectFile, AFailedWriteLeavesTheOldFile) {
  Write("p.xml", "old");
  // A write that runs out of room, as on a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit before{};
  getrlimit(RLIMIT_FSIZE, &before);
  rlimit small = before;
  small.rlim_cur = 64;
  setrlimit(RLIMIT_FSIZE, &small);
  const TSaveOutcome o = SaveProject(Path("p.xml"), Sample());
  setrlimit(RLIMIT_FSIZE, &before);
  EXPECT_FALSE(o.saved);
  EXPECT_EQ(o.message, "Die Datei konnte nicht gespeichert werden.");
  EXPECT_EQ(o.caption, "Fehler beim Speichern");
  EXPECT_EQ(Read("p.xml"), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()), {}), 2);  // p.xml, p.BAK: no leftovers
}

TEST_F(ProjectFile, AReadOnlyFolderLeavesTheOldFile) {
  Write("p.xml", "old");
  std::filesystem::permissions(Folder(), std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                             std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  if (access(Folder().c_str(), W_OK) == 0) GTEST_SKIP() << "folder permissions do not bind this user";
  const TSaveOutcome o = SaveProject(Path("p.xml"), Sample());
  EXPECT_FALSE(o.saved);
  EXPECT_EQ(o.message, "Die Datei konnte nicht gespeichert werden.");
  EXPECT_EQ(Read("p.xml"), "old");
}

TEST_F(ProjectFile, OpenByExtension) {
  EXPECT_EQ(KindOfFile("a/B.XML"), TFileKind::Project);
  EXPECT_EQ(KindOfFile("b.bak"), TFileKind::Project);
  EXPECT_EQ(KindOfFile("c.Asm"), TFileKind::AssemblerText);
  EXPECT_EQ(KindOfFile("d.BAS"), TFileKind::BasicText);
  EXPECT_EQ(KindOfFile("e.cpo"), TFileKind::Other);
  TProject p = Sample();
  ASSERT_EQ(OpenFile(Write("t.bas", "PRINT 2\r\n"), p).result, loadresult::Loaded);
  EXPECT_EQ(p.basicSource, "PRINT 2\r\n");
  EXPECT_EQ(p.assemblerSource, Sample().assemblerSource);
  ASSERT_EQ(OpenFile(Write("t.asm", " RTS\r\n"), p).result, loadresult::Loaded);
  EXPECT_EQ(p.assemblerSource, " RTS\r\n");
  EXPECT_EQ(OpenFile(Write("t.txt", "x"), p).result, loadresult::NotAProject);
  ASSERT_EQ(OpenFile(Write("t.BAK", kSampleXml), p).result, loadresult::Loaded);
  EXPECT_EQ(p, Sample());
}

TEST(ProjectExport, FiveLinesOfDecimalBytes) {
  EXPECT_EQ(CompiledProjectExport(std::string("\x14\x00\xff", 3), ""), "TESEL-BASIC\r\n3\r\n20 0 255 \r\n0\r\n\r\n");
  EXPECT_EQ(CompiledProjectExport("", "\x81"), "TESEL-BASIC\r\n0\r\n\r\n1\r\n129 \r\n");
}

}  // namespace
}  // namespace zarvek::test
