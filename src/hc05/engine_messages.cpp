#include "hc05/engine_messages.h"

#include <cstdio>

namespace zarvek::hc05 {

namespace {

std::string Hex(unsigned value, int digits) {
  char text[8];
  std::snprintf(text, sizeof text, "%0*X", digits, value & 0xFFFFu);
  return text;
}

}  // namespace

std::string_view EngineErrorMessage(uint8_t errorState) {
  switch (errorState) {
    case kEngineUndefinedOpcode:
      return "Nicht ausführbar. An der Adresse (PC) gibt es keinen gültigen Befehl. Ein vorhergehender "
             "Sprungbefehl könnte die Ursache sein.";
    case kEngineRefusedWrite:
      return "Zugriffsverletzung: Schreibvorgang auf eine nicht beschreibare Adresse wurde abgebrochen.";
    case kEngineInputWrite: return "Befehl versucht auf einen Eingang zu schreiben, der nur gelesen werden kann.";
    case kEngineStackOverflow:
      return "Stack Überlauf. Zu viele ausgeführte Unterprogramme könnten die Ursache sein.";
    default: return {};
  }
}

std::string RegisterLine(const TCpuRegisters& cpu) {
  const auto flag = [](uint8_t f) { return std::to_string(f & 1); };
  return "A = " + Hex(cpu.a, 2) + "h  X = " + Hex(cpu.x, 2) + "h  ( N = " + flag(cpu.n) + " Z = " + flag(cpu.z) +
         " C = " + flag(cpu.c) + " H = " + flag(cpu.h) + " I = " + flag(cpu.i) + " )  SP = " + Hex(cpu.sp, 4) +
         "h  PC = " + Hex(cpu.previousPc, 4) + "h";
}

std::string BasicPcSuffix(uint16_t eepromWordAddress) { return "  BASIC PC = " + Hex(eepromWordAddress, 4) + "h"; }

}  // namespace zarvek::hc05
