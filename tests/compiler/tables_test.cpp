#include <gtest/gtest.h>

#include <set>

#include "compiler/messages.h"
#include "compiler/reserved_words.h"

namespace zarvek {
namespace {

// --- messages ---

TEST(Messages, ArgumentGoesBetweenHeadAndTail) {
  EXPECT_EQ(ComposeMessage(100, "weiter"), "Label erwartet, weiter ist kein Label.");
  EXPECT_EQ(ComposeMessage(101, "x"), "x unbekannt");
  EXPECT_EQ(ComposeMessage(104, "%"), "unerwartetes Zeichen '%'");
  EXPECT_EQ(ComposeMessage(113, "70000"), "(70000) Überlauf");
  EXPECT_EQ(ComposeMessage(191, "a +"), "syntaktisch falsch. (a +)");
}

TEST(Messages, EmptyArgumentReadsFehlend) {
  EXPECT_EQ(ComposeMessage(101, ""), "fehlend unbekannt");
  EXPECT_EQ(ComposeMessage(216, ""), "Die Taktrate (fehlend) muss zwischen 4000 und 16000 kHz liegen.");
  EXPECT_EQ(ComposeMessage(228, ""), "Die Bezeichnung darf nicht länger als 16 Zeichen sein: fehlend");
}

TEST(Messages, FixedTextsIgnoreTheArgument) {
  for (std::string_view argument : {"", "x", "\"quoted\""}) {
    EXPECT_EQ(ComposeMessage(109, argument), "Ende erwartet ");
    EXPECT_EQ(ComposeMessage(251, argument), "Labels und Bezeichner dürfen nur mit einem Buchstaben beginnen.");
  }
}

TEST(Messages, ExactlyTheUnlistedCodesComposeNothing) {
  const std::set<int> unlisted = {119, 128, 129, 171, 189, 214, 248};
  for (int code = 90; code <= 310; ++code) {
    SCOPED_TRACE(code);
    const bool listed = code >= 100 && code <= 302 && !unlisted.contains(code);
    EXPECT_EQ(ComposeMessage(code, "x").empty(), !listed);
  }
  EXPECT_EQ(ComposeMessage(-1, ""), "");
}

TEST(Messages, ArgumentIsConvertedFromCp1252) {
  EXPECT_EQ(ComposeMessage(104, "\xA7"), "unerwartetes Zeichen '§'");
  EXPECT_EQ(ComposeMessage(123, "GR\xD6\xDF" "E"), "GRÖßE reserviert");
  EXPECT_EQ(ComposeMessage(257, "C:\\Module\\\x80uro.pro"), "Datei C:\\Module\\€uro.pro nicht gefunden.");
}

TEST(Messages, TextsWithInnerQuotesAreExact) {
  EXPECT_EQ(ComposeMessage(103, ""), "nicht abgeschlossener String. Zeichenketten sollten zwischen \" und \" stehen.");
  EXPECT_EQ(ComposeMessage(232, "INTERRUPT"),
            "INTERRUPT: In der Profileinstellung \"Micro/Mini\" des Hauptprojektes nicht verfügbar.");
  EXPECT_EQ(ComposeMessage(239, ""), "Erwartet \" Zeichenkette \", eine Stringvariable$, CHR$ oder STR$.");
  EXPECT_EQ(ComposeMessage(285, ""), "Erwartet Zeilenende oder \",\" vor dem nächsten Element oder END TYPE.");
  EXPECT_EQ(ComposeMessage(290, ""), "Erwartet \".\" ... Element.");
}

TEST(Messages, OtherTextsAreExact) {
  EXPECT_EQ(ComposeMessage(218, ""),
            "I²C Port Erweiterung PCF8574 ist unter Controller Version 1.x nicht verfügbar.");
  EXPECT_EQ(ComposeMessage(253, "BYTE"), "Erwaret String als Datentyp und nicht BYTE.");
  EXPECT_EQ(ComposeMessage(277, ""),
            "Variablen Strings* sind nur unter Profileinstellung Atmega32 oder Atmega128 verfügbar. "
            "Sie können unter der Profileinstellung Tessel einfache String Variablen (ohne *) verwenden.");
}

TEST(Messages, TwoCodesOfOneRowShareTheText) {
  EXPECT_EQ(ComposeMessage(178, ""), "'#' erwartet.");
  EXPECT_EQ(ComposeMessage(181, "x"), "'#' erwartet.");
  EXPECT_EQ(ComposeMessage(265, ""), "Der Byte Port Index muss zwischen 1 und 2 liegen.");
  EXPECT_EQ(ComposeMessage(302, "x"), "Der Byte Port Index muss zwischen 1 und 2 liegen.");
}

TEST(Messages, LongNameShowsItsFirst16Characters) {
  const std::string head = "Die Bezeichnung darf nicht länger als 16 Zeichen sein: ";
  EXPECT_EQ(ComposeMessage(228, "EinSehrLangerLabelName"), head + "EinSehrLangerLab");
  EXPECT_EQ(ComposeMessage(228, "GenauSechzehnZei"), head + "GenauSechzehnZei");
  EXPECT_EQ(ComposeMessage(228, "kurz"), head + "kurz");
  // Counted in source characters, not in the bytes of the converted text.
  EXPECT_EQ(ComposeMessage(228, "\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xD6\xDC"),
            head + "ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÖ");
  // Other messages show long arguments whole.
  EXPECT_EQ(ComposeMessage(101, "EinSehrLangerLabelName"), "EinSehrLangerLabelName unbekannt");
}

// --- reserved words ---

TEST(ReservedWords, TableIsStrictlyAscendingByUpperCaseBytes) {
  ASSERT_EQ(kReservedWordCount, 108);
  for (int i = 1; i < kReservedWordCount; ++i) {
    const std::string before = UpperCase(ReservedWordSpelling(i - 1));
    const std::string after = UpperCase(ReservedWordSpelling(i));
    EXPECT_LT(before, after) << "at " << i;
  }
  EXPECT_EQ(ReservedWordSpelling(0), "$INCLUDE");
  EXPECT_EQ(ReservedWordSpelling(kReservedWordCount - 1), "Year");
  EXPECT_EQ(IsReserved("CHR") + 1, IsReserved("CHR$"));
  EXPECT_EQ(IsReserved("STR") + 1, IsReserved("STR$"));
  EXPECT_EQ(IsReserved("STR$") + 1, IsReserved("STRING"));
  EXPECT_EQ(IsReserved("XEEPROM") + 1, IsReserved("XOR"));
  EXPECT_EQ(IsReserved("I2C") + 1, IsReserved("IEEPROM"));
}

TEST(ReservedWords, EveryWordIsFoundAtItsIndex) {
  for (int i = 0; i < kReservedWordCount; ++i)
    EXPECT_EQ(IsReserved(UpperCase(ReservedWordSpelling(i))), i) << ReservedWordSpelling(i);
}

TEST(ReservedWords, OtherNamesAreNotReserved) {
  for (std::string_view name : {"", "!", "$INCLUD", "AA", "CHR$X", "GOSU", "GOSUBX", "ZZZ", "gosub", "GoSub",
                                "\xC4ND", "YEARS"})
    EXPECT_EQ(IsReserved(name), -1) << name;
}

TEST(ReservedWords, SpellingIsTheEditorsMixedCase) {
  EXPECT_EQ(ReservedWordSpelling(IsReserved("GOSUB")), "GoSub");
  EXPECT_EQ(ReservedWordSpelling(IsReserved("IEEPROM")), "iEEPROM");
  EXPECT_EQ(ReservedWordSpelling(IsReserved("PCF8574")), "PCF8574");
  EXPECT_EQ(ReservedWordSpelling(-1), "");
  EXPECT_EQ(ReservedWordSpelling(kReservedWordCount), "");
}

TEST(ReservedWords, UpperCaseMapsLettersAndGermanUmlautsOnly) {
  EXPECT_EQ(UpperCase("abc xyz_09$.:"), "ABC XYZ_09$.:");
  EXPECT_EQ(UpperCase("\xE4\xF6\xFC"), "\xC4\xD6\xDC");                  // ä ö ü
  EXPECT_EQ(UpperCase("\xDF\xE9\xE0\xFF\xC4"), "\xDF\xE9\xE0\xFF\xC4");  // ß é à ÿ Ä stay
}

TEST(Identifiers, AcceptedNames) {
  for (std::string_view name : {"A", "_", "_X1", "\xC4PFEL", "\xDF" "A", "MA\xDF\xDC", "A.B", "LOOP1:", "A.B:",
                                "ABCDEFGHIJKLMNOPQRS"})
    EXPECT_TRUE(IsValidIdentifier(name)) << name;
}

TEST(Identifiers, RejectedNames) {
  for (std::string_view name : {"", "ABCDEFGHIJKLMNOPQRST", "1A", ".A", ":", "A.", "A..B", "A.B.C", "A:B", "A::",
                                "A$", "A B", "A-B", "a", "Aa", "\xE4", "\xC9T\xC9", "A\xE9"})
    EXPECT_FALSE(IsValidIdentifier(name)) << name;
}

}  // namespace
}  // namespace zarvek
