// Control flow and procedures: the token bytes of jumps, IF, SELECT CASE, FOR, DO, EXIT,
// SUB, FUNCTION, CALL and the interrupt statements on each profile family (Tessel 1.1,
// Tessel Micro, Tessel 2.0, Pyxon), and their messages with positions. Whether the Pyxon
// code runs as it should is shown by the programs in tests/programs.
#include <gtest/gtest.h>

#include "compile_helpers.h"

namespace zarvek::test {
namespace {

constexpr TProfile kTessel11 = profile::Tessel11;
constexpr TProfile kMicro = profile::TesselMicro;
constexpr TProfile kTessel20 = profile::Tessel20;
constexpr TProfile kPyxon = profile::Pyxon32;

TEST(Jumps, GotoGosubAndReturn) {
  const std::string source = Lines({"start:", "GOTO start", "GOSUB start", "RETURN", "RETURN INTERRUPT"});
  EXPECT_EQ(ImageHex(source), "03 00 04 05 00 04 06 07 FF FF");
  EXPECT_EQ(ImageHex(source, kTessel11), "03 00 04 05 00 04 06 07 FF FF");
  const TCompileResult r = Compile(Lines({"SUB s", "here:", "GOTO here", "END SUB"}));
  ASSERT_TRUE(r.success);
  EXPECT_EQ(r.fixups[1].text, "here|s");  // a GOTO stays in its procedure
}

TEST(Jumps, Messages) {
  EXPECT_EQ(Error(Lines({"DIM v", "GOTO v"})), "100 2:6 Label erwartet, v ist kein Label.");
  EXPECT_EQ(Error(Lines({"GOSUB nowhere"})), "101 1:7 nowhere() unbekannt");
  EXPECT_EQ(Error(Lines({"GOTO"})), "193 1:5 erwartet Label");
  EXPECT_EQ(Error(Lines({"RETURN 5"})), "165 1:8 Ende oder 'INTERRUPT' erwartet.");
  EXPECT_EQ(Error(Lines({"main:", "SUB s", "GOTO main", "END SUB"})),
            "196 3:6 Mit GOTO können Sie nur innerhalb einer FUNCTION, SUB oder innerhalb des Hauptprogramms "
            "springen. (main)");
  EXPECT_EQ(Code(Lines({"SUB s", "inside:", "END SUB", "GOTO inside"})), 196);
}

TEST(If, BranchesOnPyxonAndTessel) {
  const std::string chain = Lines({"IF 1 THEN", "ELSEIF 2 THEN", "ELSE", "END IF"});
  EXPECT_EQ(ImageHex(chain), "5A 01 04 00 0C 03 00 14 5A 02 04 00 14 03 00 14 FF FF");
  EXPECT_EQ(ImageHex(chain, kTessel11), "14 00 01 04 00 0D 03 00 16 14 00 02 04 00 16 03 00 16 FF FF");
  // A one-line IF ends with its line, its ELSE part included.
  EXPECT_EQ(ImageHex(Lines({"IF 1 THEN END ELSE RETURN", "END"})), "5A 01 04 00 0D FF 03 00 0E 06 FF FF");
  EXPECT_EQ(ImageHex("IF 1 THEN RETURN"), "5A 01 04 00 0A 06 FF FF");
}

TEST(If, Messages) {
  EXPECT_EQ(Error(Lines({"IF 1"})), "154 1:5 'THEN' erwartet.");
  EXPECT_EQ(Error(Lines({"x = 1", "IF 1 THEN"})), "126 1:1 x Variable wurde zuvor nicht deklariert");
  EXPECT_EQ(Error(Lines({"DIM x", "  IF 1 THEN", "x = 1"})), "155 2:3 'END IF' erwartet.");
  EXPECT_EQ(Error(Lines({"IF 1 THEN", "ELSEIF 2 THEN"})), "155 1:1 'END IF' erwartet.");
  EXPECT_EQ(Error(Lines({"END IF"})), "156 1:1 'END IF' ohne 'IF'.");
  EXPECT_EQ(Error(Lines({"ELSE"})), "157 1:1 'ELSE' ohne 'IF'");
  EXPECT_EQ(Code(Lines({"IF 1 THEN", "ELSE", "ELSE"})), 157);
  EXPECT_EQ(Error(Lines({"ELSEIF 1 THEN"})), "267 1:1 'ELSEIF' ohne 'IF'.");
  EXPECT_EQ(Code(Lines({"IF 1 THEN", "ELSE", "ELSEIF 2 THEN"})), 267);
  EXPECT_EQ(Code(Lines({"IF 1 THEN", "END IF 2"})), 109);
  // A one-line IF is over at the end of its line.
  EXPECT_EQ(Code(Lines({"IF 1 THEN END", "END IF"})), 156);
}

TEST(Select, ItemsOnEachProfileFamily) {
  const std::string items = Lines({"SELECT CASE 5", "CASE 1, 2 TO 3, IS > 4", "CASE ELSE", "END SELECT"});
  // Pyxon: the selector stays on the stack twice; a matching item drops one copy at the
  // body, CASE ELSE drops both.
  EXPECT_EQ(ImageHex(items),
            "5A 05 56 5A 01 41 04 00 26 56 5A 02 3D 04 00 1B 56 5A 03 3C 04 00 26 56 5A 04 3F 04 00 26 56 "
            "03 00 2A 57 03 00 2C 57 57 FF FF");
  EXPECT_EQ(ImageHex(items, kTessel11),
            "14 00 05 08 11 87 14 00 01 41 04 00 35 08 11 87 14 00 02 3D 04 00 25 08 11 87 14 00 03 3C 04 00 "
            "35 08 11 87 14 00 04 3F 04 00 35 08 11 87 03 00 38 03 00 38 FF FF");
  const std::string one = Lines({"SELECT CASE 5", "CASE 1", "END SELECT"});
  EXPECT_EQ(ImageHex(one, kMicro), "14 00 05 19 17 16 17 16 17 14 00 01 41 04 00 19 16 17 03 00 19 FF");
  EXPECT_EQ(ImageHex(one, kTessel20), "14 00 05 1A 1F 17 1F 17 1F 14 00 01 41 04 00 19 17 1F 03 00 19 FF");
  // Without CASE ELSE the failure of the last branch drops both copies; the bodies jump
  // past those drops.
  EXPECT_EQ(ImageHex(one), "5A 05 56 5A 01 41 04 00 11 56 03 00 15 57 03 00 17 57 57 FF");
}

TEST(Select, EveryComparisonIsNegated) {
  const auto item = [](const std::string& text) {
    const std::string image = ImageHex(Lines({"SELECT CASE 0", ("CASE IS " + text).c_str(), "END SELECT"}));
    return image.substr(15, 2);  // the token after the value
  };
  EXPECT_EQ(item("= 1"), "41");
  EXPECT_EQ(item("<> 1"), "40");
  EXPECT_EQ(item("> 1"), "3F");
  EXPECT_EQ(item("< 1"), "3D");
  EXPECT_EQ(item(">= 1"), "3E");
  EXPECT_EQ(item("=> 1"), "3E");
  EXPECT_EQ(item("<= 1"), "3C");
  EXPECT_EQ(item("=< 1"), "3C");
}

TEST(Select, Messages) {
  EXPECT_EQ(Error(Lines({"SELECT x"})), "200 1:8 erwartet 'CASE'. (x)");
  EXPECT_EQ(Error(Lines({"SELECT CASE 1", "", "' note", "  RETURN"})), "201 4:3 erwartet 'CASE' Anweisung.");
  EXPECT_EQ(Error(Lines({"END SELECT"})), "202 1:1 'END SELECT' ohne 'SELECT CASE'.");
  EXPECT_EQ(Error(Lines({"SELECT CASE 1", "CASE 1"})), "203 1:1 'END SELECT' erwartet.");
  EXPECT_EQ(Error(Lines({"CASE 1"})), "204 1:1 'CASE' ohne 'SELECT CASE'.");
  EXPECT_EQ(Code(Lines({"SELECT CASE 1", "CASE ELSE", "CASE 2"})), 205);
  EXPECT_EQ(Error(Lines({"SELECT CASE 1", "CASE IS ! 2"})), "206 2:9 erwartet '=', '<>', '>', '=>', '<', oder '<='.");
  EXPECT_EQ(Error(Lines({"SELECT CASE 1", "CASE 1,"})), "207 2:8 erwartet ',' Ausdruck oder Ende.");
  EXPECT_EQ(Error(Lines({"SELECT CASE 1", "CASE 1 STEP"})), "208 2:8 erwartet 'TO', Ende oder ',' Ausdruck.");
  EXPECT_EQ(Error(Lines({"SELECT CASE 1", "CASE 1, , 2"})), "190 2:9 Ausdruck erwartet.");
  EXPECT_EQ(Code(Lines({"SELECT CASE 1", "CASE"})), 190);
  EXPECT_EQ(Code(Lines({"SELECT CASE 1", "CASE 1", "NEXT"})), 203);
}

TEST(For, CountsOnPyxonWithACopyForTheTest) {
  const std::string loops =
      Lines({"DIM i AS BYTE", "FOR i = 1 TO 3", "NEXT", "FOR i = 3 DOWNTO 1 STEP 2", "NEXT i"});
  EXPECT_EQ(ImageHex(loops),
            "5A 01 56 5A 00 5F 00 5A 03 3F 04 00 20 5A 01 5A 00 5C 00 33 56 5A 00 5F 00 03 00 0B "
            "5A 03 56 5A 00 5F 00 5A 01 3D 04 00 3C 5A 02 5A 00 5C 00 33 56 5A 00 5F 00 03 00 27 FF FF");
  EXPECT_EQ(ImageHex(loops, kTessel11),
            "14 00 01 19 17 14 00 03 3F 04 00 1B 14 00 01 16 17 33 19 17 03 00 09 "
            "14 00 03 19 17 14 00 01 3D 04 00 32 14 00 02 16 17 33 19 17 03 00 20 FF FF");
  EXPECT_EQ(ImageHex(Lines({"DIM i AS BYTE", "FOR i = 3 DOWNTO 1", "NEXT"}), kMicro),
            "14 00 03 19 3D 14 00 01 3D 04 00 1B 14 FF FF 16 3D 33 19 3D 03 00 09 FF");
  // A byte port counts through its port tokens.
  EXPECT_EQ(ImageHex(Lines({"DIM p AS BYTE PORT[1]", "FOR p = 0 TO 1", "NEXT"}), kTessel20),
            "14 00 00 0E 00 14 00 01 3F 04 00 1B 14 00 01 0B 00 33 0E 00 03 00 09 FF");
}

TEST(For, TheStatementStartsAtTheLoopTest) {
  const TCompileResult r = Compile(Lines({"DIM i AS BYTE", "FOR i = 1 TO 3", "NEXT"}));
  ASSERT_TRUE(r.success);
  ASSERT_EQ(r.statementMap.size(), 3u);
  EXPECT_EQ(r.statementMap[0].codeOffset, 7u);
  EXPECT_EQ(r.statementMap[0].sourcePosition, 16u);
  EXPECT_EQ(r.statementMap[1].codeOffset, 13u);
}

TEST(For, Messages) {
  EXPECT_EQ(Error(Lines({"FOR q = 1 TO 2"})), "101 1:5 q unbekannt");
  EXPECT_EQ(Error(Lines({"FOR = 1 TO 2"})), "146 1:5 Variable erwartet.");
  EXPECT_EQ(Error(Lines({"DIM i", "FOR i 1 TO 2"})), "112 2:7 = erwartet.");
  EXPECT_EQ(Error(Lines({"DIM f AS BOOLEAN", "FOR f = 1 TO 2"})), "146 2:5 Variable erwartet.");
  EXPECT_EQ(Code(Lines({"DIM s$", "FOR s$ = 1 TO 2"})), 146);
  EXPECT_EQ(Code(Lines({"DIM d AS BYTE DA[1]", "FOR d = 1 TO 2"})), 153);
  EXPECT_EQ(Code(Lines({"DIM a AS BYTE AD[1]", "FOR a = 1 TO 2"})), 135);
  EXPECT_EQ(Code(Lines({"DIM p AS BYTE PORT[3]", "FOR p = 1 TO 2"}), kTessel11), 135);
  EXPECT_EQ(Code(Lines({"DIM p AS BYTE PORT[2]", "FOR p = 1 TO 2", "NEXT"}), kTessel20), 0);
  EXPECT_EQ(Error(Lines({"DIM i", "FOR i = 1"})), "147 2:10 'TO' erwartet.");
  EXPECT_EQ(Error(Lines({"DIM i", "FOR i = 1 TO 3 TO 4"})), "148 2:16 Ende oder 'STEP' erwartet.");
  EXPECT_EQ(Error(Lines({"NEXT"})), "150 1:1 'NEXT' ohne 'FOR'.");
  EXPECT_EQ(Error(Lines({"DIM i, j", "FOR i = 1 TO 2", "NEXT j"})),
            "151 3:6 Die 'NEXT' Variable passt nicht zur 'FOR' Anweisung.");
  EXPECT_EQ(Error(Lines({"DIM i", "FOR i = 1 TO 2", "NEXT i 3"})), "109 3:8 Ende erwartet ");
  EXPECT_EQ(Error(Lines({"DIM i", " FOR i = 1 TO 2"})), "152 2:2 'FOR' ohne 'NEXT'.");
  EXPECT_EQ(Error(Lines({"DIM i", "FOR i = 1 TO 2", "END IF"})), "162 3:1 erwartet 'NEXT'.");
}

TEST(Do, BothEndsAndExit) {
  EXPECT_EQ(ImageHex(Lines({"DO", "EXIT DO", "LOOP WHILE 1", "DO UNTIL 0", "EXIT DO", "LOOP"})),
            "03 00 0F 5A 01 04 00 0F 03 00 04 5A 00 28 04 00 1B 03 00 1B 03 00 0F FF");
  EXPECT_EQ(ImageHex(Lines({"DO", "LOOP UNTIL 1", "DO", "LOOP"})), "5A 01 28 04 00 0D 03 00 04 03 00 0D FF FF");
  // Two DOs at one code address keep their labels apart.
  EXPECT_EQ(ImageHex(Lines({"DO", "DO", "LOOP", "EXIT DO", "LOOP"})), "03 00 04 03 00 0D 03 00 04 FF");
  // EXIT FOR inside a DO leaves the FOR.
  EXPECT_EQ(ImageHex(Lines({"DIM i AS BYTE", "FOR i = 1 TO 2", "DO", "EXIT FOR", "LOOP", "NEXT"})),
            "5A 01 56 5A 00 5F 00 5A 02 3F 04 00 26 03 00 26 03 00 11 "
            "5A 01 5A 00 5C 00 33 56 5A 00 5F 00 03 00 0B FF FF");
}

// Thousands of DOs opened at one code address, each closed with its own jump back.
TEST(Do, DeeplyNestedBlocksEachGetTheirLabels) {
  constexpr int kDepth = 3000;
  std::string source;
  for (int k = 0; k < kDepth; ++k) source += "DO\r\n";
  source += "EXIT DO\r\n";
  for (int k = 0; k < kDepth; ++k) source += "LOOP\r\n";
  const TCompileResult r = Compile(source);
  ASSERT_TRUE(r.success) << r.error->message.str();
  // EXIT DO, then one GOTO per LOOP: the innermost LOOP goes back to the start (4), and so
  // does every other, since all DOs start there.
  ASSERT_EQ(r.image.size(), 3u * (kDepth + 1) + 1);
  EXPECT_EQ(Hex(r.image.substr(0, 3)), "03 00 0A");  // EXIT DO: behind the innermost LOOP
  for (int k = 1; k <= kDepth; ++k) ASSERT_EQ(Hex(r.image.substr(3 * k, 3)), "03 00 04") << k;
}

TEST(Do, Messages) {
  EXPECT_EQ(Error(Lines({"LOOP"})), "142 1:1 'LOOP' ohne 'DO'");
  EXPECT_EQ(Error(Lines({"DO FOREVER"})), "143 1:4 erwartet 'UNTIL' oder 'WHILE'.");
  EXPECT_EQ(Code(Lines({"DO", "LOOP AGAIN"})), 143);
  EXPECT_EQ(Error(Lines({"x:", "  DO"})), "144 2:3 'DO' ohne 'LOOP'.");
  EXPECT_EQ(Error(Lines({"DO WHILE 1", "LOOP UNTIL 0"})), "145 2:6 Ende erwartet (Schleife ist Kopf-gesteuert).");
  EXPECT_EQ(Error(Lines({"EXIT WHILE"})), "158 1:6 erwartet 'DO', 'SUB', 'FUNCTION' oder 'FOR'.");
  EXPECT_EQ(Error(Lines({"EXIT DO"})), "159 1:1 'EXIT DO' ohne 'DO'.");
  EXPECT_EQ(Error(Lines({"DO", "EXIT FOR"})), "160 2:1 'EXIT FOR' ohne 'FOR'.");
  EXPECT_EQ(Error(Lines({"DO", "NEXT"})), "161 2:1 erwartet 'LOOP'.");
}

TEST(Procedures, CallsFramesAndResultsOnPyxon) {
  // Arguments go on the stack left to right; the entry pops them, the last one first. A
  // FUNCTION's result is local word 0, cleared on entry and pushed by its end.
  EXPECT_EQ(ImageHex(Lines({"DIM x", "SUB s(a, b AS BYTE)", "CALL s(1, 2)", "END SUB", "CALL s(3, x)",
                            "x = g(4)", "FUNCTION g(v)", "END FUNCTION"})),
            "03 00 13 19 02 1A 00 5A 01 5A 02 69 00 07 6A 5A 03 5A 00 5D 00 05 00 07 "
            "5A 04 05 00 28 5A 00 60 00 03 00 31 1A 01 5A 00 1A 00 17 00 6A FF");
  EXPECT_EQ(ImageHex(Lines({"FUNCTION f(a)", "f = a", "END FUNCTION"})),
            "03 00 14 1A 01 5A 00 1A 00 17 01 1A 00 17 00 6A FF FF");
  EXPECT_EQ(ImageHex(Lines({"FUNCTION f", "EXIT FUNCTION", "END FUNCTION"})),
            "03 00 11 5A 00 1A 00 17 00 6A 17 00 6A FF");
  // A CALL inside a procedure is a plain GOSUB on the Tessel boards.
  EXPECT_EQ(ImageHex(Lines({"SUB s", "CALL s", "END SUB"}), kTessel11), "03 00 0B 05 00 07 06 FF");
}

TEST(Procedures, TesselFunctionsDiscardAfterTheirStatements) {
  const std::string function = Lines({"FUNCTION f", "IF 1 THEN", "END IF", "f = 2", "END FUNCTION"});
  // Tessel 1.1 and Micro: the IF without ELSE gets an empty ELSE that drops the failed
  // condition on its own path (GOTO over it), so the THEN path keeps its cells.
  EXPECT_EQ(ImageHex(function, kTessel11),
            "03 00 1E 14 00 01 04 00 15 14 00 00 29 2B 03 00 1A 14 00 00 29 2B 14 00 02 06 FF FF");
  EXPECT_EQ(ImageHex(function, kMicro),
            "03 00 20 14 00 01 04 00 15 14 00 00 29 2B 03 00 1A 14 00 00 29 2B 14 00 02 19 17 06 FF FF");
  EXPECT_EQ(ImageHex(function, kTessel20),
            "03 00 1D 14 00 01 04 00 12 14 00 00 29 2B 14 00 00 29 2B 14 00 02 1A 1F 06 FF");
  EXPECT_EQ(ImageHex(function), "03 00 17 5A 00 1A 00 5A 01 04 00 10 5A 02 1A 00 17 00 6A FF");
}

TEST(Procedures, Handlers) {
  const std::string interrupt = Lines({"SUB INTERRUPT", "EXIT SUB", "END SUB", "INTERRUPT ON", "INTERRUPT OFF",
                                       "h:", "RETURN INTERRUPT", "ON INTERRUPT GOSUB h"});
  EXPECT_EQ(ImageHex(interrupt), "03 00 09 07 07 49 00 00 07 49 00 00 00 07 49 00 00 11 FF FF");
  EXPECT_EQ(ImageHex(interrupt, kTessel11), "03 00 0A 07 07 06 49 00 07 49 00 00 07 49 00 10 FF FF");
  EXPECT_EQ(ImageHex(Lines({"SUB KEYINTERRUPT", "END SUB", "KEYINTERRUPT ON"})), "03 00 08 06 49 01 00 07 FF FF");
  // A handler's variables are global: the machine enters it in whatever frame is current.
  EXPECT_EQ(ImageHex(Lines({"SUB INTERRUPT", "DIM v", "v = 1", "END SUB"})), "03 00 0E 5A 01 5A 00 60 00 07 FF FF");
  // ERROR and CRASH get the address and the number; CRASH leaves every frame before the
  // program starts again.
  EXPECT_EQ(ImageHex(Lines({"SUB ERROR(a, n)", "END SUB", "SUB CRASH(a, n)", "EXIT SUB", "END SUB"})),
            "49 FF 00 1B 49 FE 00 0F 03 00 18 5A 01 60 00 5A 00 60 00 06 03 00 36 5A 03 60 00 5A 02 60 00 "
            "5A 10 05 00 32 5A 01 34 56 04 00 33 03 00 25 6A 57 06 06 FF FF");
}

TEST(Procedures, Messages) {
  EXPECT_EQ(Error(Lines({"SUB"})), "185 1:4 Bezeichnung erwartet. Benennen Sie das SUB Modul.");
  EXPECT_EQ(Error(Lines({"SUB abcdefghijklmnopq"})),
            "228 1:5 Die Bezeichnung darf nicht länger als 16 Zeichen sein: abcdefghijklmnop");
  EXPECT_EQ(Error(Lines({"DIM s", "SUB s"})), "115 2:5 s: bereits definiert");
  EXPECT_EQ(Error(Lines({"SUB Print"})), "123 1:5 Print reserviert");
  EXPECT_EQ(Error(Lines({"FUNCTION Error"})), "199 1:10 Interrupt Behandlungsroutinen müssen eine SUB sein.");
  EXPECT_EQ(Error(Lines({"SUB a", "  SUB b"})),
            "186 2:3 Ein SUB oder FUNCTION Modul kann nicht innerhalb eines anderen SUB oder FUNCTION Moduls liegen.");
  EXPECT_EQ(Code(Lines({"DO", "SUB b"})), 161);
  EXPECT_EQ(Error(Lines({"SUB s(a"})), "107 1:8 ) erwartet");
  EXPECT_EQ(Error(Lines({"SUB s(a AS Point)"})),
            "225 1:7 Erwartet eine einfache Variable in der Parameterliste. a ist keine Boolean, Byte oder Integer "
            "Variable. ");
  EXPECT_EQ(Code(Lines({"SUB s(a, a)"})), 115);
  EXPECT_EQ(Code(Lines({"SUB s(a AS STRING)"})), 252);
  EXPECT_EQ(Code(Lines({"SUB s(a AS BYTE)", "END SUB"}), kMicro), 0);
  EXPECT_EQ(Code(Lines({"SUB s(a)"}), kMicro), 232);
  EXPECT_EQ(Error(Lines({"SUB INTERRUPT(a)"})),
            "229 1:14 Ende erwartet. Die Sub Prozedur als Interrupt Behandlungsroutine kann keine Parameter enthalten.");
  EXPECT_EQ(Error(Lines({"SUB ERROR(a AS BYTE)"})), "301 1:10 Erwartet genau 2 Parameter.");
  EXPECT_EQ(Code(Lines({"SUB CRASH", "END SUB"})), 301);
  EXPECT_EQ(Error(Lines({" SUB s"})), "182 1:2 'END SUB' erwartet.");
  EXPECT_EQ(Error(Lines({"FUNCTION f"})), "183 1:1 'END FUNCTION' erwartet.");
  EXPECT_EQ(Error(Lines({"END SUB"})), "212 1:1 'END SUB' ohne 'SUB'.");
  EXPECT_EQ(Error(Lines({"END FUNCTION"})), "211 1:1 'END FUNCTION' ohne 'FUNCTION'.");
  EXPECT_EQ(Code(Lines({"SUB s", "END FUNCTION"})), 182);
  EXPECT_EQ(Error(Lines({"EXIT SUB"})), "187 1:1 'EXIT SUB' ohne 'SUB'.");
  EXPECT_EQ(Code(Lines({"FUNCTION f", "EXIT SUB"})), 187);
  EXPECT_EQ(Error(Lines({"SUB s", "EXIT FUNCTION"})), "188 2:1 'EXIT FUNCTION' ohne 'FUNCTION'.");
  EXPECT_EQ(Error(Lines({"END LOOP"})), "109 1:5 Ende erwartet ");
  // Sixteen words fill a procedure's frame.
  EXPECT_EQ(Code(Lines({"SUB s(a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p)", "END SUB"})), 0);
  EXPECT_EQ(Error(Lines({"FUNCTION s(a, b, c, d, e, f, g, h, i, j, k, l, m, n, o, p)"})),
            "117 1:57 fehlend: kein passender Variablen Speicher mehr vorhanden");
}

TEST(Call, Messages) {
  EXPECT_EQ(Error(Lines({"CALL 5"})), "141 1:6 SUB, FUNCTION, Assembler Sprungziel oder Adresse erwartet");
  EXPECT_EQ(Code(Lines({"DIM v", "CALL v"})), 141);
  EXPECT_EQ(Error(Lines({"SUB INTERRUPT", "END SUB", "CALL INTERRUPT"})),
            "213 3:6 Ereignisbehandlungsroutine 'SUB INTERRUPT' kann nur durch ein Interrupt Signal aufgerufen werden.");
  EXPECT_EQ(Error(Lines({"FUNCTION f", "END FUNCTION", "CALL f"})),
            "294 3:6 f ist eine FUNCTION Prozedur mit Rückgabewert, die innerhalb eines beliebigen Ausdrucks "
            "aufgerufen werden kann. Mit CALL werden nur SUB Prozeduren ohne Rückgabewert aufgerufen.");
  EXPECT_EQ(Error(Lines({"SUB s(a, b)", "END SUB", "CALL s(1)"})),
            "230 3:6 Anzahl der Parameter im Aufruf stimmt nicht mit der Anzahl der Sub Prozedur überein. Die "
            "Prozedur ist mit 2 Parametern deklariert.");
  EXPECT_EQ(Code(Lines({"CALL later(1, 2)", "SUB later(a)", "END SUB"})), 230);
  EXPECT_EQ(Error(Lines({"SUB s(a)", "END SUB", "CALL s(1"})), "107 3:9 ) erwartet");
  EXPECT_EQ(Error(Lines({"DIM x", "FUNCTION f(a)", "END FUNCTION", "x = f()"})), "226 4:5 Erwartet mehr Parameter (f).");
}

TEST(Interrupts, ProfilesAndMessages) {
  EXPECT_EQ(Error(Lines({"INTERRUPT ON"}), kMicro),
            "232 1:1 INTERRUPT: In der Profileinstellung \"Micro/Mini\" des Hauptprojektes nicht verfügbar.");
  EXPECT_EQ(Error(Lines({"KEYINTERRUPT OFF"}), kTessel20),
            "275 1:1 Nur unter Profileinstellung Atmega32 oder Atmega128 verfügbar. (KEYINTERRUPT)");
  EXPECT_EQ(Error(Lines({"INTERRUPT MAYBE"})), "197 1:11 erwartet 'OFF'. (MAYBE)");
  EXPECT_EQ(Error(Lines({"INTERRUPT ON"})), "210 1:11 Ereignisbehandlungsroutine 'SUB INTERRUPT' ... 'END SUB' fehlt.");
  EXPECT_EQ(Error(Lines({"ON ERROR GOSUB x"})), "167 1:4 'INTERRUPT' erwartet");
  EXPECT_EQ(Error(Lines({"ON INTERRUPT GOTO x"})), "166 1:14 'GOSUB' erwartet.");
  EXPECT_EQ(ImageHex(Lines({"h:", "ON INTERRUPT GOSUB h", "INTERRUPT OFF"}), kTessel20), "49 00 04 49 00 00 FF FF");
}

}  // namespace
}  // namespace zarvek::test
