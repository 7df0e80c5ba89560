#include "cli/cli.h"

#include <ostream>

#include "cli/asm_command.h"
#include "cli/board_command.h"
#include "cli/compile_command.h"
#include "cli/console_command.h"
#include "cli/disasm_command.h"
#include "cli/export_command.h"
#include "cli/flash_command.h"
#include "cli/import_command.h"
#include "cli/run_command.h"
#include "cli/upload_command.h"

namespace zarvek::cli {

namespace {

void PrintUsage(std::ostream& s) {
  s << "Aufruf: zarvek-cli BEFEHL [OPTIONEN] DATEI\n"
       "\n"
       "Befehle:\n"
       "  run [--profile atmega-32|atmega-128|tessel-1.1|tessel-micro] [--asm DATEI.asm] [--input TEXT]\n"
       "      [--max-tokens N] [--timeout SEKUNDEN] [--realtime] [--image]\n"
       "      DATEI.bas|PROJEKT.xml|PROGRAMM.bin\n"
       "      übersetzt ein Programm oder Projekt wie compile (mit seinen Modulen) und führt\n"
       "      es aus: für atmega-32/atmega-128 (ohne --profile bei DATEI.bas) auf der\n"
       "      Token-Maschine, für tessel-1.1/tessel-micro auf dem emulierten Tessel-Controller;\n"
       "      PROGRAMM.bin (oder jede Datei mit --image) ist ein fertiges Programmabbild\n"
       "  compile [--profile tessel-1.1|tessel-micro|tessel-2.0|atmega-32|atmega-128] [--asm DATEI.asm]\n"
       "      [--dump] [--memory-dump] DATEI.bas|PROJEKT.xml\n"
       "      übersetzt ein BASIC-Programm oder ein Projekt mit seinen Modulen;\n"
       "      --dump zeigt das Programmabbild, --memory-dump die Variablenspeicher und das\n"
       "      Programmabbild wie die Token-Ansicht (-DEBUG) der IDE\n"
       "  export [--profile NAME] PROJEKT.xml|DATEI.bas -o AUSGABE.dat\n"
       "      schreibt das compilierte Projekt (TESEL-BASIC, Token-Code und Maschinencode)\n"
       "  import ALT.cpo -o PROJEKT.xml\n"
       "      wandelt ein Projekt im alten Binärformat in eine Projektdatei\n"
       "  asm [--dump] DATEI.asm\n"
       "      assembliert HC05-Assembler; --dump zeigt Startadresse und Code\n"
       "  disasm [--start ADRESSE] DATEI\n"
       "      disassembliert HC05-Maschinencode: DATEI.s19 als S-Records, jede andere Datei\n"
       "      als Rohdaten ab $0101 (oder ADRESSE: dezimal, $hex, 0xhex);\n"
       "      die Zeilen enden mit \\n, nicht mit CR LF wie im Editor\n"
       "  upload --port PFAD [--baud N] [--profile NAME] [--asm DATEI.asm] DATEI.bas|PROJEKT.xml\n"
       "      übersetzt wie compile und überträgt das Programm an ein Board\n"
       "  flash --port PFAD [--baud N] --profile atmega-32|atmega-128 LAUFZEIT.hex\n"
       "      installiert eine Laufzeitumgebung über den Bootloader eines ATmega-Boards\n"
       "  console --port PFAD [--baud N]\n"
       "      Terminal zum Board: stdin zum Board, was das Board sendet nach stdout\n"
       "  board --profile atmega-32|atmega-128|tessel-1.1|tessel-micro [--link PFAD] [--eeprom DATEI]\n"
       "      [--flash DATEI] [--baud N] [--fault ART[=N]]...\n"
       "      ein virtuelles Board auf einem Pseudo-Terminal, bis es unterbrochen wird\n";
}

int Dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    PrintUsage(err);
    return kExitUsage;
  }
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    PrintUsage(out);
    return kExitOk;
  }
  if (command == "run") return RunCommand(rest, out, err);
  if (command == "compile") return CompileCommand(rest, out, err);
  if (command == "asm") return AsmCommand(rest, out, err);
  if (command == "disasm") return DisasmCommand(rest, out, err);
  if (command == "export") return ExportCommand(rest, out, err);
  if (command == "import") return ImportCommand(rest, out, err);
  if (command == "upload") return UploadCommand(rest, out, err);
  if (command == "flash") return FlashCommand(rest, out, err);
  if (command == "console") return ConsoleCommand(rest, out, err);
  if (command == "board") return BoardCommand(rest, out, err);
  err << "zarvek-cli: unbekannter Befehl \"" << command << "\"\n";
  PrintUsage(err);
  return kExitUsage;
}

}  // namespace

int Main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const int status = Dispatch(args, out, err);
  // Output that never arrived (a full disk, a closed pipe) is a failure, whatever the
  // command itself made of its work.
  out.flush();
  if (!out) {
    err << "zarvek-cli: Die Ausgabe konnte nicht geschrieben werden.\n";
    return kExitDiagnosed;
  }
  return status;
}

}  // namespace zarvek::cli
