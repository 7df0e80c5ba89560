#include "compiler/messages.h"

#include <algorithm>

#include "text/shown_text.h"

namespace zarvek {
namespace {

// Where and how much of the argument a message shows: none, all of it (cut to a readable
// length), a file name (its end kept when it is cut), the first 16 characters.
enum class A { None, Whole, FileName, First16 };

// Message = head + argument + tail.
struct TMessageRow {
  int code;
  std::string_view head;
  A argument = A::None;
  std::string_view tail = {};
};

// Texts that two codes share.
constexpr std::string_view kHashExpected = "'#' erwartet.";
constexpr std::string_view kBytePortIndex1To2 = "Der Byte Port Index muss zwischen 1 und 2 liegen.";

// Sorted by code; texts kept exactly as the user sees them, one per line so they can be grepped.
constexpr TMessageRow kMessages[] = {
    {100, "Label erwartet, ", A::Whole, " ist kein Label."},
    {101, "", A::Whole, " unbekannt"},
    {102, "", A::Whole, " keine Anweisung"},
    {103, "nicht abgeschlossener String. Zeichenketten sollten zwischen \" und \" stehen."},
    {104, "unerwartetes Zeichen '", A::Whole, "'"},
    {105, "Sprungziel ", A::Whole, " kann hier nicht verwendet werden"},
    {106, "", A::Whole, " ist eine ungültige Bezeichnung"},
    {107, "", A::Whole, " erwartet"},
    {108, "", A::Whole, ": Typ deklaration erwartet "},
    {109, "Ende erwartet "},
    {110, "", A::Whole, ": Ende oder 'Port' erwartet."},
    {111, "", A::Whole, ": Variablenname erwartet."},
    {112, "= erwartet."},
    {113, "(", A::Whole, ") Überlauf"},
    {114, "", A::Whole, ": Operator erwartet"},
    {115, "", A::Whole, ": bereits definiert"},
    {116, "", A::Whole, ": Variable erwartet"},
    {117, "", A::Whole, ": kein passender Variablen Speicher mehr vorhanden"},
    {118, "Der Index muss zwischen Byte Nr. 1 und 3 liegen."},
    {120, "Der Index muss zwischen Bit Nr. 1 und 8 liegen."},
    {121, "", A::Whole, ": Konstante erwartet"},
    {122, "", A::Whole, ": Inkompatibler Typ String"},
    {123, "", A::Whole, " reserviert"},
    {124, "", A::Whole, " Name für Label ist reserviert"},
    {125, "", A::Whole, " Name schon im Assembler Teil vergeben"},
    {126, "", A::Whole, " Variable wurde zuvor nicht deklariert"},
    {127, "", A::Whole, ": Der linken Seite kann nichts zugewiesen werden"},
    {130, "erwartet BYTE als passende Typdeklaration zu AD."},
    {131, "erwartet BYTE als passende Typdeklaration zu DA."},
    {132, "Der Index muss zwischen AD Nr. 1 und 8 liegen."},
    {133, "Der Index muss zwischen DA Nr. 1 und 2 liegen."},
    {134, "Auf einen DA Port kann nur geschrieben werden. (", A::Whole, ")"},
    {135, "Von einem AD Port kann nur gelesen werden. (", A::Whole, ")"},
    {136, "AD Port kann nur gelesen werden und nicht initialisiert. (", A::Whole, ")"},
    {137, "", A::Whole, ": Port erwartet."},
    {138, "Von INKEY$ können nur empfangene Zeichen gelesen werden"},
    {139, "", A::Whole, ": Assembler Adressen können nur zum Aufrufen verwendet werden. "},
    {140, "Ende oder '{' erwartet."},
    {141, "SUB, FUNCTION, Assembler Sprungziel oder Adresse erwartet"},
    {142, "'LOOP' ohne 'DO'"},
    {143, "erwartet 'UNTIL' oder 'WHILE'."},
    {144, "'DO' ohne 'LOOP'."},
    {145, "Ende erwartet (Schleife ist Kopf-gesteuert)."},
    {146, "Variable erwartet."},
    {147, "'TO' erwartet."},
    {148, "Ende oder 'STEP' erwartet."},
    {149, "Operator erwartet."},
    {150, "'NEXT' ohne 'FOR'."},
    {151, "Die 'NEXT' Variable passt nicht zur 'FOR' Anweisung."},
    {152, "'FOR' ohne 'NEXT'."},
    {153, "Auf einen DA Port kann nur geschrieben werden, die 'FOR' Anweisung benötigt Variablen, die auch ausgelesen werden können."},
    {154, "'THEN' erwartet."},
    {155, "'END IF' erwartet."},
    {156, "'END IF' ohne 'IF'."},
    {157, "'ELSE' ohne 'IF'"},
    {158, "erwartet 'DO', 'SUB', 'FUNCTION' oder 'FOR'."},
    {159, "'EXIT DO' ohne 'DO'."},
    {160, "'EXIT FOR' ohne 'FOR'."},
    {161, "erwartet 'LOOP'."},
    {162, "erwartet 'NEXT'."},
    {163, "Programm ist zu lang."},
    {164, "erwartet eine Bit Port Variable. (", A::Whole, ")"},
    {165, "Ende oder 'INTERRUPT' erwartet."},
    {166, "'GOSUB' erwartet."},
    {167, "'INTERRUPT' erwartet"},
    {168, "'ARRAY{}' erwartet."},
    {169, "Array Anzahl der Elemente muss mindestens 1 sein."},
    {170, "Array Anzahl der Elemente zu groß."},
    {172, "dem Array werden mehr Elemente zugewiesen als definiert (", A::Whole, ")"},
    {173, "dem Array werden nicht genug Werte (", A::Whole, ") zugewiesen. "},
    {174, "'[' Array Index oder '[]' erwartet."},
    {175, "',' mehr Array Elemente erwartet"},
    {176, "'}' weniger Array Element erwartet"},
    {177, "';' erwartet."},
    {178, kHashExpected},
    {179, "'FOR' erwartet."},
    {180, "'READ', 'WRITE' oder 'APPEND' erwartet."},
    {181, kHashExpected},
    {182, "'END SUB' erwartet."},
    {183, "'END FUNCTION' erwartet."},
    {184, "Eine SUB hat keinen Rückgabewert. Sie können diese SUB mit CALL aufrufen oder FUNCTION implementieren."},
    {185, "Bezeichnung erwartet. Benennen Sie das SUB Modul."},
    {186, "Ein SUB oder FUNCTION Modul kann nicht innerhalb eines anderen SUB oder FUNCTION Moduls liegen."},
    {187, "'EXIT SUB' ohne 'SUB'."},
    {188, "'EXIT FUNCTION' ohne 'FUNCTION'."},
    {190, "Ausdruck erwartet."},
    {191, "syntaktisch falsch. (", A::Whole, ")"},
    {192, "", A::Whole, ": Der Rückgabewert der Funktion muss innerhalb der zugehörigen Funktion festgelegt sein."},
    {193, "erwartet Label"},
    {194, "Die Übertragungsgeschwindigkeit muss größer Null sein."},
    {195, "Die mögliche Übertragungsgeschwindigkeit, die unter der aktuell gewählten Taktung Ihren Vorgaben am besten entspricht, liegt bei ", A::Whole, "."},
    {196, "Mit GOTO können Sie nur innerhalb einer FUNCTION, SUB oder innerhalb des Hauptprogramms springen. (", A::Whole, ")"},
    {197, "erwartet 'OFF'. (", A::Whole, ")"},
    {198, "erwartet 'OFF'. Um die Interrupt Behandlungsroutine einzuschalten verwenden Sie 'ON INTERRUPT GOSUB'. "},
    {199, "Interrupt Behandlungsroutinen müssen eine SUB sein."},
    {200, "erwartet 'CASE'. (", A::Whole, ")"},
    {201, "erwartet 'CASE' Anweisung."},
    {202, "'END SELECT' ohne 'SELECT CASE'."},
    {203, "'END SELECT' erwartet."},
    {204, "'CASE' ohne 'SELECT CASE'."},
    {205, "erwartet 'END SELECT', da durch ein vorhergehendes 'CASE ELSE' schon alle übrigen Fälle abgedeckt werden."},
    {206, "erwartet '=', '<>', '>', '=>', '<', oder '<='."},
    {207, "erwartet ',' Ausdruck oder Ende."},
    {208, "erwartet 'TO', Ende oder ',' Ausdruck."},
    {209, "'BEEP' kann nur gelesen werden."},
    {210, "Ereignisbehandlungsroutine 'SUB INTERRUPT' ... 'END SUB' fehlt."},
    {211, "'END FUNCTION' ohne 'FUNCTION'."},
    {212, "'END SUB' ohne 'SUB'."},
    {213, "Ereignisbehandlungsroutine 'SUB INTERRUPT' kann nur durch ein Interrupt Signal aufgerufen werden."},
    {215, "Die Größe des EEPROM (", A::Whole, ") muss zwischen 1 und 65535 liegen."},
    {216, "Die Taktrate (", A::Whole, ") muss zwischen 4000 und 16000 kHz liegen."},
    {217, "", A::Whole, ": Ende, 'Port' oder 'PCF8574' erwartet."},
    {218, "I²C Port Erweiterung PCF8574 ist unter Controller Version 1.x nicht verfügbar."},
    {219, "Erwartet Adresse 0..255 von der I²C Port Erweiterung PCF8574"},
    {220, "I²C Port Erweiterung PCF8574 muss vom Typ 'Byte' oder 'Boolean' sein."},
    {221, "Erwartet ein Bit 1..8 für Byte Variablen oder 1..16 für Integer Variablen"},
    {222, "Indizierung ist nicht möglich, da die Variable kein Array darstellt, das einen kleineren Datentyp enthalten könnte."},
    {223, "", A::Whole, " : Diese Anweisung ist im aktuellen Profil des Hauptprojektes (Controller Version 1.1) nicht verfügbar. Ändern Sie das Profil auf Controller Version 2.x"},
    {224, "", A::Whole, " : Erwartet eine Byte Port oder Word Port Variable."},
    {225, "Erwartet eine einfache Variable in der Parameterliste. ", A::Whole, " ist keine Boolean, Byte oder Integer Variable. "},
    {226, "Erwartet mehr Parameter (", A::Whole, ")."},
    {227, "Erwartet weniger Parameter (", A::Whole, ")."},
    {228, "Die Bezeichnung darf nicht länger als 16 Zeichen sein: ", A::First16},
    {229, "Ende erwartet. Die Sub Prozedur als Interrupt Behandlungsroutine kann keine Parameter enthalten."},
    {230, "Anzahl der Parameter im Aufruf stimmt nicht mit der Anzahl der Sub Prozedur überein. Die Prozedur ist mit ", A::Whole, " Parametern deklariert."},
    {231, "Die Systemvariable FREQ2 kann in der Profileinstellung \"Micro/Mini\" des Hauptprojektes nur beschrieben werden."},
    {232, "", A::Whole, ": In der Profileinstellung \"Micro/Mini\" des Hauptprojektes nicht verfügbar."},
    {233, "Der Port Index in der Profileinstellung \"Micro/Mini\" des Hauptprojektes muss zwischen 1 und 6 liegen."},
    {234, "Der AD Index in der Profileinstellung \"Micro/Mini\" des Hauptprojektes kann nur 1,2,5 oder 6 sein."},
    {235, "Der Micro/Mini Controller unterstützt nur Byte oder Boolean Datentypen."},
    {236, "Auf der linken Seite einer Zuweisung durch '=' muss ein Variablenname stehen."},
    {237, "Hier kann nur ein einzelnes Zeichen zwischen \" und \" stehen, das den ASCII Code liefert."},
    {238, "Erwartet Ende des Ausdrucks oder einen Operator."},
    {239, "Erwartet \" Zeichenkette \", eine Stringvariable$, CHR$ oder STR$."},
    {240, "Erwartet + oder & zur Verkettung von Strings."},
    {241, "Inkompatible Typen: String Konstante ", A::Whole, " und Wert."},
    {242, "Der linken Seite kann nichts zugewiesen werden (String Konstante)."},
    {243, "Eine Variable mit ähnlichem Namen '", A::Whole, "' wurde bereits deklariert."},
    {244, "Erwartet \" String \" Ausdruck, CHR$ oder STR$"},
    {245, "", A::Whole, ": In der Profileinstellung \"2.0\" des Hauptprojektes nicht verfügbar."},
    {246, "", A::Whole, ": In der Profileinstellung \"Micro/Mini\" des Hauptprojektes sind folgende Baud Einstellungen gültig: SETBAUD 9600, 9600 und SETBAUD 19200, 19200."},
    {247, "", A::Whole, ": In der Profileinstellung \"2.0\" des Hauptprojektes sind folgende Baud Einstellungen gültig: SETBAUD 1200, 1200 / SETBAUD 2400, 2400 / SETBAUD 4800, 48000 / SETBAUD 9600, 9600."},
    {249, "", A::Whole, " LINKER CRASHED"},
    {250, "Assembler ", A::Whole, " Label existiert nicht."},
    {251, "Labels und Bezeichner dürfen nur mit einem Buchstaben beginnen."},
    {252, "Erwartet einen String Variablen Namen, der mit '$' endet. (", A::Whole, ")"},
    {253, "Erwaret String als Datentyp und nicht ", A::Whole, "."},
    {254, "Erwartet eine String Konstante. ", A::Whole, " ist eine Stringvariable."},
    {255, "Erwartet eine String Konstante oder Variable, einen \" String \" Ausdruck, Chr$ oder Str$."},
    {256, "Die Variable vom Typ String kann nicht in Integer, Byte oder Boolean konvertiert werden."},
    {257, "Datei ", A::FileName, " nicht gefunden."},
    {258, "Datei ", A::FileName, " ist kein Projekt."},
    {259, "Zugriffsfehler auf ", A::FileName},
    {260, "Modulname wird in diesem Projekt für unterschiedliche Module mehrfach verwendet. (", A::Whole, ")"},
    {261, "Ein Modulname ist für dieses Modul bereits definiert ", A::Whole, "."},
    {262, "Modul ist bereits in dieses Projekt integriert. (", A::FileName, ")"},
    {263, "Das Modul wird wiederholt in das Projekt integriert (", A::FileName, ")"},
    {264, "Die $INCLUDE Anweisung muss am Zeilenanfang stehen."},
    {265, kBytePortIndex1To2},
    {266, "Der Byte Port Index muss zwischen 1 und 4 liegen."},
    {267, "'ELSEIF' ohne 'IF'."},
    {268, "EEPROM Variablen sind auf der Tessel nicht verfügbar."},
    {269, "EEPROM Variablen können nicht initialisiert werden: Der Variablenwert wird beim Programmstart aus dem EEPROM geladen."},
    {270, "lokale Variable können nicht initialisiert werden."},
    {271, "Arrays können nicht initialisiert werden."},
    {272, "Array zu groß. Reduzieren Sie die Indexgrenzen oder Dimensionen. ", A::Whole},
    {273, "Array Indexgrenzen ungültig. (", A::Whole, ")"},
    {274, "Ende erwartet und nicht ", A::Whole, ". "},
    {275, "Nur unter Profileinstellung Atmega32 oder Atmega128 verfügbar. (", A::Whole, ")"},
    {276, "Die String Länge muss zwischen 1 und 254 liegen. (", A::Whole, ")"},
    {277, "Variablen Strings* sind nur unter Profileinstellung Atmega32 oder Atmega128 verfügbar. Sie können unter der Profileinstellung Tessel einfache String Variablen (ohne *) verwenden."},
    {278, "String* Variable erwartet. (", A::Whole, ")"},
    {279, "Erwartet String Ausdruck."},
    {280, "Erwartet Baudrate 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 57600, 76800 oder 115200. "},
    {281, "Erwartet BYTE oder WORD/INTEGER als passende Typdeklaration zu AD."},
    {282, "Die Einstellung, ob das Programm für das externe oder interne EEPROM oder FLASH compiliert werden soll, muss vor den ersten Anweisungen stehen."},
    {283, "EEPROM Variablen, die nicht auf dem selben EEPROM wie das Programm liegen, können nicht initialisiert werden."},
    {284, "Erwartet einen Word Port Index zwischen 1 und 2. (", A::Whole, ")"},
    {285, "Erwartet Zeilenende oder \",\" vor dem nächsten Element oder END TYPE."},
    {286, "Erwartet AS ... Typdeklaration oder \",\" vor dem nächsten Element."},
    {287, "Erwartet Bezeichner für Typenelement."},
    {288, "Erwartet einen BOOLEAN, BYTE, WORD/INTEGER oder STRING Datentyp. (", A::Whole, ")"},
    {289, "Erwartet eine Bezeichnung für ein Element der Datenstruktur."},
    {290, "Erwartet \".\" ... Element."},
    {291, "Erwartet Variable vom Typ ", A::Whole, "."},
    {292, "", A::Whole, " ist kein Element der Datenstruktur."},
    {293, "Erwartet ein Element der Datenstruktur."},
    {294, "", A::Whole, " ist eine FUNCTION Prozedur mit Rückgabewert, die innerhalb eines beliebigen Ausdrucks aufgerufen werden kann. Mit CALL werden nur SUB Prozeduren ohne Rückgabewert aufgerufen."},
    {295, "I2C Bus Variable muss vom Typ BYTE oder WORD sein."},
    {296, "Die I2C Bus Adresse muss zwischen 0 und 255 liegen."},
    {297, "I2C Arrays können nur eindimensional (BYTE) oder zweidimensional (BOOLEAN) sein."},
    {298, "I2C BOOLEAN Arrays können in der letzten Indexgrenze nur 8 Elemente (Bits) umfassen."},
    {299, "I2C Bus Variable muss vom Typ BOOLEAN sein."},
    {300, "Die Stringvariable darf sich nicht selbst zuweisen."},
    {301, "Erwartet genau ", A::Whole, " Parameter."},
    {302, kBytePortIndex1To2},
};

static_assert(std::ranges::adjacent_find(kMessages, std::ranges::greater_equal{}, &TMessageRow::code) ==
                  std::ranges::end(kMessages),
              "message codes must be strictly ascending for the binary search");

}  // namespace

std::string ComposeMessage(int code, std::string_view argument) {
  const auto row = std::ranges::lower_bound(kMessages, code, {}, &TMessageRow::code);
  if (row == std::end(kMessages) || row->code != code) return {};
  if (argument.empty()) argument = "fehlend";
  // 228 shows an over-long name only as far as it is allowed.
  if (row->argument == A::First16) argument = argument.substr(0, 16);
  std::string message(row->head);
  if (row->argument != A::None) message += ShownText(argument, row->argument == A::FileName ? TCutAt::Start : TCutAt::End);
  message += row->tail;
  return message;
}

std::string_view UnusedSymbolText(TUnusedKind kind) {
  switch (kind) {
    case TUnusedKind::Constant: return " Konstante wird nicht verwendet. ";
    case TUnusedKind::Function: return " Funktion wird an keiner Stelle aufgerufen . ";
    case TUnusedKind::Sub: return " Sub Prozedur wird an keiner Stelle aufgerufen. ";
    case TUnusedKind::StringConstant: return " String Konstante wird nicht verwendet. ";
    case TUnusedKind::Structure: return " Datenstruktur wird nicht verwendet. ";
    case TUnusedKind::Variable: return " Variable wird nicht verwendet. ";
    case TUnusedKind::String: return " String wird nicht verwendet. ";
  }
  return {};
}

std::string UnnamedModule(const std::string& fileName) { return "Modul " + fileName; }

std::string CompilingStatus(int percent) { return "Compilieren " + std::to_string(percent) + " % ..."; }

std::string_view LargerEepromStatus() { return "Für dieses Programm benötigen Sie ein größeres EEPROM."; }

}  // namespace zarvek
