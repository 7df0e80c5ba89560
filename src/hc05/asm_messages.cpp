#include "hc05/asm_messages.h"

#include <array>

#include "text/cp1252.h"

namespace zarvek::hc05 {

namespace {

constexpr std::array<std::string_view, 45> kTexts = {
    "Ungültiger Wert ",
    "unbekannter Befehl ",
    "zu viele Parameter ",
    "zu wenige Parameter ",
    "Unzulässige Bezeichnung ",
    "unzulässige Parameter ",
    "Symbol bereits definiert ",
    "Konstante nicht definiert ",
    "zu viele Konstanten ",
    "zu viele Symbole ",
    "Konstante bereits definiert ",
    "Bezeichnung ist reserviert ",
    "Eine Bezeichnung für dieses Symbol fehlt ",
    "Parameter fehlen",
    "Der Symbolname kann kein numerischer Wert sein.",
    "Der Name für diese Konstante kann kein numerischer Wert sein.",
    "Hier muss die Bit Position angeben werden (0...7) ",
    "Ein Label kann nicht auf einen festen Wert gesetzt werden.",
    "Die Startadresse muss noch vor dem ersten Befehl festgelegt werden.",
    "Die Ziel - Adresse dieses Sprunges liegt zu weit entfernt.",
    "Hierzu fehlt die'IF' Anweisung.",
    "Datei nicht gefunden ",
    "Das Index Register kann nur für eine Adresse der Offset Wert sein, nicht für einen festen # Wert.",
    "Eine Zeichenkette muss von \" oder ' eingeschlossen werden.",
    "Die Adresse muss im Bereich 0...255 liegen.",
    "Diese Operation kann nur auf eine Adresse erfolgen, nicht auf einen festen # Wert.",
    "Das Sprung Ziel muss eine Adresse sein, nicht ein fester # Wert.",
    "Die Adresse muss im Bereich 0...65535 liegen.",
    "Klammer erwartet:",
    "Operator wird auf nichts angewendet.",
    "Eine Konstante kann nicht implizit sich selbst beschreiben.",
    "Nur das Indexregister 'X' kann hier angegeben werden, falls es als Offset für die Adresse genutzt werden soll.",
    "Das Index Register kann nicht innerhalb eines Ausdrucks verwendet werden.",
    "Das Index Register kann an dieser Stelle nicht verwendet werden.",
    "Hier muss ein fester # Wert angegeben werden.",
    "Der Wert (Byte) muss im Bereich #0...#255 liegen.",
    "Der Wert (Word) muss im Bereich #0...#65535 liegen.",
    "Der Wert ist zu groß.",
    "Division durch Null.",
    "Die möglichen Startadressen beginnen ab '1'.",
    "Eine Bit Selektion kann hier nicht durchgeführt werden.",
    "In einem Byte können nur die Bits 7...0 selektiert werden.",
    "Das Bit braucht ein zugehöriges Byte mit gleichem Namen.",
    "Die Symbolbezeichnung wird bereits im BASIC Programm verwendet.",
    "Nur Variablen können als Zeiger auf Speicheradressen aus dem BASIC Programm verwendet werden.",
};

// The order in which the texts of several members are joined.
constexpr std::array<uint8_t, 45> kOrder = {0,  2,  3,  4,  1,  5,  6,  10, 7,  35, 36, 8,  34, 9,  11,
                                            12, 13, 14, 15, 16, 17, 18, 39, 19, 20, 21, 22, 23, 24, 25,
                                            26, 27, 28, 29, 30, 31, 32, 33, 37, 38, 40, 41, 42, 43, 44};

}  // namespace

std::string_view AsmMessageText(TAsmMessage m) {
  const auto n = static_cast<size_t>(m);
  return n < kTexts.size() ? kTexts[n] : std::string_view{};
}

std::string ComposeAsmMessage(std::string_view offending, TAsmErrorSet set, std::string_view module) {
  std::string message = "Assembler: " + Cp1252ToUtf8(offending) + " - ";
  for (uint8_t n : kOrder) {
    if (set.Has(static_cast<TAsmMessage>(n))) message += kTexts[n];
  }
  if (!module.empty()) message += " (" + Cp1252ToUtf8(module) + ")";
  return message;
}

}  // namespace zarvek::hc05
