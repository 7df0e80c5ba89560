// The I/O and device statements: their token bytes on each profile family (Tessel 1.1,
// Tessel Micro, Tessel 2.0, Pyxon) and their messages with positions. Whether the
// generated string loops work is shown by the programs in tests/programs.
#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace zarvek::test {
namespace {

constexpr TProfile kTessel11 = profile::Tessel11;
constexpr TProfile kMicro = profile::TesselMicro;
constexpr TProfile kTessel20 = profile::Tessel20;
constexpr TProfile kPyxon = profile::Pyxon32;

TEST(Print, TextsNumbersSeparatorsAndLineBreaks) {
  EXPECT_EQ(CodeHex(Lines({"PRINT"})), "1F 0D 0A 00");
  EXPECT_EQ(CodeHex(Lines({"PRINT \"a\"; 5, -3"})), "1F 61 00 5A 05 1E 1F 20 00 5A 03 32 1E 1F 0D 0A 00");
  EXPECT_EQ(CodeHex(Lines({"PRINT \"a\"; 5, -3"}), kTessel11),
            "1F 61 00 14 00 05 1E 1F 20 00 14 00 03 32 1E 1F 0D 0A 00");
  // A separator at the end keeps the line open; "," adds its blank to an open text.
  EXPECT_EQ(CodeHex(Lines({"PRINT \"a\","})), "1F 61 20 00");
  EXPECT_EQ(CodeHex(Lines({"PRINT 7;"})), "5A 07 1E");
  EXPECT_EQ(CodeHex(Lines({"PRINT \"x\" ' note"})), "1F 78 0D 0A 00");
  EXPECT_EQ(CodeHex(Lines({"PRINT 1: PRINT \"\""})), "5A 01 1E 1F 0D 0A 00 1F 0D 0A 00");
  EXPECT_EQ(CodeHex(Lines({"PRINT CHR$(65); STR$(300)"}), kTessel20), "14 00 41 20 14 01 2C 1E 1F 0D 0A 00");
}

TEST(Print, StringConstantsAreCopiedAndTheirZeroCharactersPutApart) {
  const std::string source = Lines({"CONST z$ = \"A\" + CHR$(0) + \"B\"", "PRINT z$;"});
  EXPECT_EQ(CodeHex(source), "1F 41 00 5A 00 20 1F 42 00");
  EXPECT_EQ(CodeHex(source, kTessel11), "1F 41 00 14 00 00 20 1F 42 00");
  EXPECT_EQ(CodeHex(Lines({"CONST e$ = \"\"", "PRINT e$"})), "1F 0D 0A 00");
}

TEST(Print, StringVariablesPrintThroughLoops) {
  // Pyxon: the reference and a count on the stack; the labels are code addresses.
  EXPECT_EQ(CodeHex(Lines({"DIM s$", "PRINT s$;"})),
            "5A 00 5D 00 56 56 5A 01 34 1B 00 30 58 5A 00 41 29 56 04 00 2F 58 56 1B 00 30 20 5A 01 33 58 "
            "5A 01 34 03 00 1B 57 57");
  // Tessel: the variable walks to the zero word and is given its reference back; the
  // character the test read is the one printed, and the cells that PUTCHAR, the store and
  // the test leave on the stack are dropped.
  EXPECT_EQ(CodeHex(Lines({"DIM s$", "PRINT s$;"}), kTessel11),
            "17 0B 17 0B 1B 00 2F 04 00 29 20 14 00 00 29 2B 17 0B 14 00 01 33 1A 0B 14 00 00 29 2B 03 00 0B "
            "14 00 00 29 2B 1A 0B");
  EXPECT_EQ(CodeHex(Lines({"DIM f$ AS STRING * 5", "PRINT f$[2]"})), "5A 02 5A 00 33 5C 00 20 1F 0D 0A 00");
  EXPECT_EQ(CodeHex(Lines({"DIM f$ AS STRING * 5", "PRINT f$;"})),
            "5A 00 56 5C 00 5A 05 3B 58 5A 01 33 58 56 04 00 24 58 56 5C 00 20 5A 01 33 58 5A 01 34 03 00 11 "
            "57 57");
}

TEST(Print, Messages) {
  EXPECT_EQ(Error(Lines({"PRINT \"abc"})), "103 1:7 nicht abgeschlossener String. Zeichenketten sollten zwischen "
                                           "\" und \" stehen.");
  EXPECT_EQ(Error(Lines({"PRINT \"a\" \"b\""})), "177 1:11 ';' erwartet.");
  EXPECT_EQ(Error(Lines({"DIM s$", "PRINT s$ 1"})), "177 2:10 ';' erwartet.");
  EXPECT_EQ(Error(Lines({"PRINT CHR$ 5"})), "107 1:12 ( erwartet");
  EXPECT_EQ(Error(Lines({"PRINT STR$(5"})), "107 1:13 ) erwartet");
}

TEST(Print, ToTheDataFileAndOpenClose) {
  EXPECT_EQ(CodeHex(Lines({"OPEN # FOR WRITE", "PRINT #, 1, -2", "CLOSE #"})), "46 02 5A 01 46 05 5A 02 32 46 05 46 04");
  EXPECT_EQ(CodeHex(Lines({"OPEN # FOR READ", "OPEN # FOR APPEND"}), kTessel11), "46 01 46 03");
  EXPECT_EQ(Error(Lines({"OPEN FOR READ"})), "178 1:6 '#' erwartet.");
  EXPECT_EQ(Error(Lines({"CLOSE x"})), "178 1:7 '#' erwartet.");
  EXPECT_EQ(Error(Lines({"OPEN # READ"})), "179 1:8 'FOR' erwartet.");
  EXPECT_EQ(Error(Lines({"OPEN # FOR READING"})), "180 1:12 'READ', 'WRITE' oder 'APPEND' erwartet.");
  EXPECT_EQ(Error(Lines({"OPEN #1 FOR READ"})), "109 1:7 Ende erwartet ");
  EXPECT_EQ(Error(Lines({"PRINT #1, 2"})), "109 1:8 Ende erwartet ");
}

TEST(Input, NumbersIntoVariablesElementsPortsAndOutputs) {
  EXPECT_EQ(CodeHex(Lines({"DIM a AS INTEGER, b AS BYTE", "INPUT a, b"})), "23 5A 00 60 00 23 5A 02 5F 00");
  EXPECT_EQ(CodeHex(Lines({"DIM a AS INTEGER, f AS BOOLEAN", "INPUT a, f"}), kTessel11), "23 1A 0B 23 18 A8");
  EXPECT_EQ(CodeHex(Lines({"DIM f AS BOOLEAN", "INPUT f"}), kMicro), "23 18 00");
  // The element's address follows the value, as the memory write tokens want it.
  EXPECT_EQ(CodeHex(Lines({"DIM r[3] AS INTEGER", "INPUT r[2]"})), "23 5A 02 5A 01 34 5A 00 33 60 00");
  EXPECT_EQ(CodeHex(Lines({"DIM p AS BYTE PORT[1], q AS BOOLEAN PORT[2, 3], d AS BYTE DA[2]", "INPUT p, q, d"}),
                    kTessel20),
            "23 0E 00 23 0D 0A 23 11 01");
  EXPECT_EQ(CodeHex(Lines({"INPUT #, TIMER"})), "error 116: TIMER: Variable erwartet");
  EXPECT_EQ(CodeHex(Lines({"DIM a AS BYTE", "INPUT #, a"})), "46 06 5A 00 5F 00");
}

TEST(Input, Messages) {
  EXPECT_EQ(Error(Lines({"INPUT 5"})), "116 1:7 5: Variable erwartet");
  EXPECT_EQ(Error(Lines({"CONST k = 3", "INPUT k"})), "116 2:7 k: Variable erwartet");
  EXPECT_EQ(Error(Lines({"DIM a AS BYTE AD[1]", "INPUT a"})), "135 2:7 Von einem AD Port kann nur gelesen werden. (a)");
  // The third byte port is an input everywhere but on the Tessel 2.0.
  EXPECT_EQ(Error(Lines({"DIM p AS BYTE PORT[3]", "DIM x AS BYTE", "INPUT x, p"}), kTessel11),
            "135 3:10 Von einem AD Port kann nur gelesen werden. (p)");
  EXPECT_EQ(Error(Lines({"DIM p AS BOOLEAN PORT[3, 1]", "INPUT p"})),
            "135 2:7 Von einem AD Port kann nur gelesen werden. (p)");
  EXPECT_EQ(Error(Lines({"DIM b AS BYTE", "INPUT # b"})), "107 2:9 , erwartet");
  EXPECT_EQ(Error(Lines({"DIM s$", "INPUT #, s$"})),
            "256 2:10 Die Variable vom Typ String kann nicht in Integer, Byte oder Boolean konvertiert werden.");
  EXPECT_EQ(Error(Lines({"DIM s$", "INPUT s$"}), kTessel20),
            "275 2:7 Nur unter Profileinstellung Atmega32 oder Atmega128 verfügbar. (INPUT s$)");
}

TEST(Input, LinesGoIntoABufferOfTheirOwnPerStringVariable) {
  const TCompileResult r = Compile(Lines({"DIM s$, t$", "INPUT s$", "INPUT t$, s$"}));
  ASSERT_TRUE(r.success) << r.error->message.str();
  // The empty string every STRING starts with, then one 80-character buffer each.
  EXPECT_EQ(r.tableLength, 4 + 2 * 164);
  EXPECT_EQ(Error(Lines({"TYPE t", "n$ AS STRING", "END TYPE", "DIM many[200] AS t", "INPUT many[1].n$"})),
            "272 5:7 Array zu groß. Reduzieren Sie die Indexgrenzen oder Dimensionen. 32800");
}

TEST(SetBaud, EachFamilysCode) {
  // Tessel 1.1 at 4000 kHz: 2000000 / 16 is exactly 125000 Baud (prescaler row 0, index 1),
  // 125000 / 2 needs index 2 for receiving.
  EXPECT_EQ(CodeHex(Lines({"SETBAUD 125000, 62500"}), kTessel11), "48 01");
  // 2000000 / 48 = 41666.7 rounds to the rate asked for (prescaler row 1).
  EXPECT_EQ(CodeHex(Lines({"SETBAUD 41667, 41667"}), kTessel11), "48 40");
  EXPECT_EQ(CodeHex(Lines({"SETBAUD 9600, 9600"}), kMicro), "48 80");
  EXPECT_EQ(CodeHex(Lines({"SETBAUD 19200, 19200"}), kMicro), "48 00");
  EXPECT_EQ(CodeHex(Lines({"SETBAUD 1200, 1200", "SETBAUD 2400, 2400", "SETBAUD 4800, 4800", "SETBAUD 9600, 9600"}),
                    kTessel20),
            "48 DB 48 D2 48 C9 48 C0");
  EXPECT_EQ(CodeHex(Lines({"SETBAUD 300", "SETBAUD 115200"})), "48 00 48 0C");
}

TEST(SetBaud, Messages) {
  EXPECT_EQ(Error(Lines({"SETBAUD 9600, 9600"}), kTessel11),
            "195 1:9 Die mögliche Übertragungsgeschwindigkeit, die unter der aktuell gewählten Taktung Ihren "
            "Vorgaben am besten entspricht, liegt bei 9615 Baud TX, 9615 Baud RX.");
  EXPECT_EQ(Error(Lines({"SETBAUD 0"})), "194 1:9 Die Übertragungsgeschwindigkeit muss größer Null sein.");
  EXPECT_EQ(Error(Lines({"SETBAUD 9600, 0"}), kTessel20),
            "194 1:15 Die Übertragungsgeschwindigkeit muss größer Null sein.");
  EXPECT_EQ(Error(Lines({"SETBAUD 9600"}), kTessel11), "107 1:13 , erwartet");
  EXPECT_EQ(Error(Lines({"SETBAUD 9600, 4800"}), kMicro),
            "246 1:9 9600 Baud TX, 4800 Baud RX: In der Profileinstellung \"Micro/Mini\" des Hauptprojektes sind "
            "folgende Baud Einstellungen gültig: SETBAUD 9600, 9600 und SETBAUD 19200, 19200.");
  EXPECT_EQ(Error(Lines({"SETBAUD 4800, 9600"}), kTessel20).substr(0, 40), "247 1:9 4800 Baud TX, 9600 Baud RX: In d");
  EXPECT_EQ(Error(Lines({"SETBAUD 1000"})),
            "280 1:9 Erwartet Baudrate 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 57600, 76800 "
            "oder 115200. ");
  EXPECT_EQ(Error(Lines({"SETBAUD 9600, 9600"})), "109 1:13 Ende erwartet ");
}

TEST(Devices, PinsAndPorts) {
  const std::string pins = Lines({"DIM led AS BOOLEAN PORT[2, 4]", "SWITCH led", "PULSE led", "DEACT led"});
  EXPECT_EQ(CodeHex(pins), "50 0B 51 0B 52 0B");
  EXPECT_EQ(CodeHex(pins, kTessel11), "50 0B 51 0B 52 0B");
  EXPECT_EQ(CodeHex(Lines({"DIM m AS BOOLEAN PORT[5]", "SWITCH m"}), kMicro), "50 04");
  EXPECT_EQ(CodeHex(Lines({"DIM p AS BYTE PORT[2]", "DEACT p"})), "53 01");
  EXPECT_EQ(CodeHex(Lines({"DIM w AS WORD PORT[2]", "DEACT w"}), profile::Pyxon128), "54 01");
  EXPECT_EQ(CodeHex(Lines({"DIM w AS WORD PORT", "DEACT w"}), kTessel11), "54 00");
  EXPECT_EQ(CodeHex(Lines({"DIM w AS WORD PORT", "DEACT w"}), kTessel20), "53 00 53 01");
}

TEST(Devices, Messages) {
  EXPECT_EQ(Error(Lines({"DIM p AS BYTE PORT[1]", "SWITCH p"})), "164 2:8 erwartet eine Bit Port Variable. (p)");
  EXPECT_EQ(Error(Lines({"PULSE nothing"})), "164 1:7 erwartet eine Bit Port Variable. (nothing)");
  EXPECT_EQ(Error(Lines({"DEACT nothing"})), "101 1:7 nothing unbekannt");
  EXPECT_EQ(Error(Lines({"DIM a AS BYTE", "DEACT a"})), "137 2:7 a: Port erwartet.");
  EXPECT_EQ(Error(Lines({"DIM a AS BYTE DA[1]", "DEACT a"})), "137 2:7 a: Port erwartet.");
}

TEST(SimpleStatements, RandomizePauseSlowModePoke) {
  EXPECT_EQ(CodeHex(Lines({"RANDOMIZE 7", "PAUSE 50"})), "5A 07 30 5A 32 02");
  EXPECT_EQ(CodeHex(Lines({"RANDOMIZE 7", "PAUSE 50", "SLOWMODE 1"}), kTessel11), "14 00 07 30 14 00 32 02 09 01");
  // The Pyxon runtime has no slow mode: nothing to run there.
  EXPECT_EQ(CodeHex(Lines({"SLOWMODE 1"})), "");
  EXPECT_EQ(CodeHex(Lines({"POKE 300, 255"})), "14 01 2C 5A FF 58 5F 06");
  EXPECT_EQ(Error(Lines({"POKE 1, 2"}), kTessel11),
            "275 1:1 Nur unter Profileinstellung Atmega32 oder Atmega128 verfügbar. (POKE)");
  EXPECT_EQ(Error(Lines({"POKE 1"})), "107 1:7 , erwartet");
}

TEST(SimpleStatements, EndWithTheDiscardInsideTesselFunctions) {
  const std::string source =
      Lines({"FUNCTION f(a)", "PRINT a;", "PAUSE a", "RANDOMIZE a", "f = a", "END FUNCTION", "PRINT f(1)"});
  const std::string code = CodeHex(source, kTessel20);
  EXPECT_NE(code.find("17 1E 1E 14 00 00 29 2B 17 1E 02 14 00 00 29 2B 17 1E 30 14 00 00 29 2B"), std::string::npos)
      << code;
  EXPECT_EQ(CodeHex(source).find("29 2B"), std::string::npos);
}

}  // namespace
}  // namespace zarvek::test
