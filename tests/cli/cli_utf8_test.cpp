// Source files in UTF-8, as most editors on Linux write them: converted to cp1252, with
// diagnostics counting the file's own characters.
#include <gtest/gtest.h>

#include "cli_test_support.h"

namespace zarvek::cli {
namespace {

class CliUtf8 : public TCliTest {
 protected:
  CliUtf8() : TCliTest("compile") {}
};

TEST_F(CliUtf8, AByteOrderMarkIsNoCharacterOfTheProgram) {
  const std::string path = File(".bas", "\xEF\xBB\xBF$ 1, &H2A\r\n");
  const TRun r = Run({"--dump", path});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, "image: 01 2A FF FF\n");
  // Errors count columns without it.
  const std::string broken = File(".bas", "\xEF\xBB\xBFx = 1\n");
  EXPECT_EQ(Run({broken}).err, broken + ":1:1: Fehler 126: x Variable wurde zuvor nicht deklariert\n");
}

TEST_F(CliUtf8, UmlautsAreConvertedAndColumnsCountCharacters) {
  // The same program in UTF-8 and in cp1252 gives the same image; an error behind the
  // umlauts is at the same column in both, counted in characters.
  for (const std::string& end : {std::string("\r\n"), std::string("\n"), std::string("\r")}) {
    const std::string utf8 = File(".bas", "' Grüße" + end + "DIM äöü AS BYTE" + end + "PRINT \"für\" : äöü = qq" + end);
    const std::string cp1252 =
        File(".bas", "' Gr\xFC\xDF" "e" + end + "DIM \xE4\xF6\xFC AS BYTE" + end + "PRINT \"f\xFCr\" : \xE4\xF6\xFC = qq" + end);
    const TRun a = Run({"--profile", "atmega-32", utf8});
    const TRun b = Run({"--profile", "atmega-32", cp1252});
    EXPECT_EQ(a.err, utf8 + ":3:21: Fehler 101: qq unbekannt\n");
    EXPECT_EQ(b.err, cp1252 + ":3:21: Fehler 101: qq unbekannt\n");
  }
  const std::string good = "DIM zähler AS BYTE\r\nzähler = 1\r\nPRINT \"Grüße \"; zähler\r\n";
  const TRun dumped = Run({"--dump", File(".bas", good)});
  const TRun plain = Run({"--dump", File(".bas", "DIM z\xE4hler AS BYTE\r\nz\xE4hler = 1\r\nPRINT \"Gr\xFC\xDF" "e \"; z\xE4hler\r\n")});
  EXPECT_EQ(dumped.status, kExitOk) << dumped.err;
  EXPECT_EQ(dumped.out, plain.out);
}

TEST_F(CliUtf8, ACharacterCp1252LacksIsAnErrorAtItsPlace) {
  const std::string path = File(".bas", "PRINT 1\nPRINT \"Grüße → dort\"\n");
  const TRun r = Run({path});
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.err, path + ":2:14: Fehler: Das Zeichen \"→\" (U+2192) gibt es im Zeichensatz der Quelltexte (Windows-1252) nicht.\n");
  // The same for an assembler file, both on its own and beside a BASIC file.
  const std::string asmPath = File(".asm", " NOP ; ✓\r\n");
  const std::string expected = asmPath + ":1:8: Fehler: Das Zeichen \"✓\" (U+2713) gibt es im Zeichensatz der Quelltexte (Windows-1252) nicht.\n";
  EXPECT_EQ(Run({"--asm", asmPath, File(".bas", "")}).err, expected);
  std::ostringstream out, err;
  EXPECT_EQ(Main({"asm", asmPath}, out, err), kExitDiagnosed);
  EXPECT_EQ(err.str(), expected);
}

TEST_F(CliUtf8, FilesThatAreNoUtf8AreTakenAsCp1252) {
  // "\xC4" alone is no UTF-8; as cp1252 it is Ä, a letter of names.
  const TRun r = Run({"--dump", File(".bas", "DIM \xC4 AS BYTE\r\n\xC4 = 1\r\n")});
  EXPECT_EQ(r.status, kExitOk) << r.err;
}

TEST_F(CliUtf8, RuntimeErrorsCountCharactersToo) {
  const std::string utf8 = File(".bas", "DIM ä AS BYTE\nä = 1 : $ 0\n");
  const std::string cp1252 = File(".bas", "DIM \xE4 AS BYTE\n\xE4 = 1 : $ 0\n");
  std::ostringstream out, a, b;
  EXPECT_EQ(Main({"run", utf8}, out, a), kExitDiagnosed);
  EXPECT_EQ(Main({"run", cp1252}, out, b), kExitDiagnosed);
  EXPECT_EQ(a.str(), utf8 + ":2:8: Laufzeitfehler: Unbehandelter, kritischer Fehler: Ungültiges Token\n");
  EXPECT_EQ(b.str(), cp1252 + ":2:8: Laufzeitfehler: Unbehandelter, kritischer Fehler: Ungültiges Token\n");
}

}  // namespace
}  // namespace zarvek::cli
