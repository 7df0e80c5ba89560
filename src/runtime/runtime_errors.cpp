#include "runtime/runtime_errors.h"

namespace zarvek {

TRuntimeError DescribeRuntimeError(int number) {
  using C = TErrorClass;
  switch (number) {
    case err::CallStackOverflow: return {"Aufrufstack Überlauf", C::Critical};
    case err::ReturnImpossible: return {"Rücksprung nicht möglich", C::Critical};
    case err::StackOverflow: return {"Stack Überlauf", C::Critical};
    case err::StackUnderflow: return {"Stack Unterlauf", C::Critical};
    case err::NoSuchMemory: return {"Speicherplatz existiert nicht", C::Critical};
    case err::SysVarRead: return {"Zugriffsverletzung beim Lesen von Systemvariable", C::Critical};
    case err::SysVarWrite: return {"Zugriffsverletzung beim Schreiben auf Systemvariable", C::Critical};
    case err::FileAlreadyOpen: return {"Öffnen einer bereits offenen Datei", C::Exception};
    case err::FileNotOpen: return {"Schließen einer ungeöffneten Datei", C::Exception};
    case err::FileNotForReading: return {"Datei nicht zum Lesen geöffnet", C::Exception};
    case err::FileEnd: return {"Dateiende erreicht", C::Exception};
    case err::FileNotForWriting: return {"Datei nicht zum Schreiben geöffnet", C::Exception};
    case err::MemoryEnd: return {"Speicherende erreicht", C::Exception};
    case err::InvalidBaud: return {"Ungültige Baudrate", C::Report};
    case err::InvalidInterruptKind: return {"Ungültige Interruptart", C::Report};
    case err::Breakpoint: return {"Haltepunkt", C::Report};
    case err::NothingToRun: return {"Nichts auszuführen", C::Report};
    case err::InvalidToken: return {"Ungültiges Token", C::Critical};
    default: return {std::to_string(number), C::Report};
  }
}

}  // namespace zarvek
