#include "workspace/commands.h"

#include <array>

namespace zarvek::workspace {

namespace {

using enum TCommandId;
using M = TMenu;

// Hints left empty mark commands without a toolbar button.
constexpr std::array kCommands{
    TCommand{New, M::File, "Mneu", "Neu", "", "", "Neues Projekt"},
    TCommand{Open, M::File, "MOpen", "Öffnen...", "", "", "Öffnen"},
    TCommand{Save, M::File, "MSpeichern", "Speichern", "F2", "", "Speichern"},
    TCommand{SaveAs, M::File, "MSpeichernUnter", "Speichern unter...", "", "", ""},
    TCommand{Import, M::File, "MImport", "Importieren...", "", "", "", false, true},
    TCommand{Export, M::File, "MExport", "Exportieren...", "", "", ""},
    TCommand{Print, M::File, "Drucken1", "Drucken...", "", "", "", false, true},
    TCommand{Recent1, M::File, "MFile1", "1. ", "", "", "", false, true},
    TCommand{Recent2, M::File, "MFile2", "2. ", "", "", ""},
    TCommand{Recent3, M::File, "MFile3", "3. ", "", "", ""},
    TCommand{Recent4, M::File, "MFile4", "4. ", "", "", ""},
    TCommand{Exit, M::File, "MBeenden", "Beenden", "", "", "", false, true},

    TCommand{Undo, M::Edit, "MUndo", "Rückgängig", "Ctrl+Z", "", ""},
    TCommand{Redo, M::Edit, "MRedo", "Widerrufen", "Ctrl+Shift+Z", "", ""},
    TCommand{Cut, M::Edit, "MCut", "Ausschneiden", "Ctrl+X", "", "", false, true},
    TCommand{Copy, M::Edit, "MCopy", "Kopieren", "Ctrl+C", "", ""},
    TCommand{Paste, M::Edit, "MPaste", "Einfügen", "Shift+Ins", "", ""},
    TCommand{Delete, M::Edit, "MDelete", "Löschen", "", "", ""},
    TCommand{SelectAll, M::Edit, "MSelectAll", "Alles auswählen", "", "", ""},
    TCommand{Find, M::Edit, "MFind", "Suchen...", "Ctrl+F", "", "", false, true},
    TCommand{FindNext, M::Edit, "MFindNext", "Weitersuchen", "F3", "", ""},
    TCommand{Replace, M::Edit, "MReplace", "Ersetzen...", "Ctrl+R", "", ""},
    // Input methods often take Ctrl+Space; Ctrl+J reaches the help list then.
    TCommand{ProgHelp, M::Edit, "MProgHelp", "Programmierhilfe", "Ctrl+Space", "Ctrl+J", "", false, true},
    TCommand{Comment, M::Edit, "MComment", "&Auskommentieren", "", "", "", false, true},
    TCommand{Uncomment, M::Edit, "MUncomment", "Kommentare &entfernen", "", "", ""},
    TCommand{AlignLines, M::Edit, "MAlign", "&Zeilen gleich ausrichten", "", "", ""},
    TCommand{IndentLeft, M::Edit, "MIndentLeft", "&Links einrücken", "", "", ""},
    TCommand{IndentRight, M::Edit, "MIndentRight", "&Rechts einrücken", "", "", ""},
    TCommand{Settings, M::Edit, "MSetup", "Einstellungen", "", "", "", false, true},

    TCommand{Console, M::View, "ShowSCI", "&Konsole", "", "", "Konsole", true},

    TCommand{Compile, M::Project, "ButtonTest", "&Compilieren", "Shift+F9", "", "Aktualisieren / Compilieren"},
    TCommand{Run, M::Project, "MProjektRun", "&Starten", "F5", "", "Ausführen ohne Haltepunkte", false, true},
    TCommand{RunNext, M::Project, "MProjektRunNext", "&Einzelschritt", "F8", "", "Nächsten Befehl ausführen"},
    TCommand{RunNextBlock, M::Project, "MProjektRunNextBlock", "Einzelschritt ohne &Subroutine", "Ctrl+F8", "",
             "Nächsten Befehl ausführen ohne Sprung in Unterroutine"},
    TCommand{RunNextBreak, M::Project, "MProjektBreak", "&Haltepunkt", "Ctrl+F5", "", "Auführen bis Haltepunkt"},
    TCommand{Pause, M::Project, "MProjektPause", "&Unterbrechen", "Pause", "", "Ausführen Pause"},
    TCommand{Stop, M::Project, "MProjektStop", "&Abbrechen", "Esc", "", "Ausführen beenden"},
    TCommand{Transfer, M::Project, "MProjektRecord", "Projekt an Controller senden", "Shift+F10", "",
             "Projekt an Controller senden", false, true},
    TCommand{Bootloader, M::Project, "ButtonBootloader", "Laufzeitumgebung installieren", "", "",
             "Laufzeitumgebung installieren"},
    TCommand{ModuleAdd, M::Project, "ButtonModulAdd", "&existierendes Projekt hinzufügen", "", "",
             "Anderes Projekt als Modul in dieses Projekt einbeziehen", false, true},
    TCommand{ModuleNew, M::Project, "ButtonModulNew", "&neues Projekt hinzufügen", "", "", "neues Modul erstellen"},
    TCommand{FindAddress, M::Project, "FindAddress", "Laufzeitfehler suchen...", "", "", "", false, true},

    TCommand{ProfileMicro, M::Profile, "PopUpProfileMicro", "Tessel Micro/Mini", "", "", "", true},
    TCommand{ProfileTessel11, M::Profile, "PopUpProfileTessel11", "Tessel 1.1", "", "", "", true},
    TCommand{ProfilePyxon32, M::Profile, "PopUpProfilePyxon32", "Pyxon 32 ", "", "", "", true},
    TCommand{ProfilePyxon128, M::Profile, "PopUpProfilePyxon128", "Pyxon 128", "", "", "", true},

    TCommand{HelpContents, M::Help, "MTopic", "In&halt", "", "", "Hilfe"},
    TCommand{HelpTerms, M::Help, "MHelpInfo", "Nutzungsbedinungen", "", "", ""},
    TCommand{HelpInfo, M::Help, "MInfo", "Info", "", "", ""},

    TCommand{ModuleHome, M::Project, "ButtonHome", "", "", "", "Hauptprojekt anzeigen"},
    TCommand{ModuleBack, M::Project, "ButtonBack", "", "", "", "Zurück"},
    TCommand{ModuleLink, M::Project, "ButtonModulRemove", "", "", "", "Modul Verknüpfung"},
    TCommand{InternetUpdate, M::Help, "ButtonInternet", "", "", "", "Aktualisierung im Internet suchen"},
};

constexpr std::array kMenus{
    TMenuInfo{M::File, "&Datei"},     TMenuInfo{M::Edit, "&Bearbeiten"}, TMenuInfo{M::View, "&Ansicht"},
    TMenuInfo{M::Project, "&Projekt"}, TMenuInfo{M::Profile, "Umgebung"}, TMenuInfo{M::Help, "&Hilfe"},
};

}  // namespace

std::span<const TCommand> Commands() { return kCommands; }
std::span<const TMenuInfo> Menus() { return kMenus; }

const TCommand& Command(TCommandId id) {
  for (const TCommand& c : kCommands)
    if (c.id == id) return c;
  return kCommands.front();  // every id is in the table; the test walks them all
}

bool CommandVisible(TCommandId id, const TCommandState& state) {
  switch (id) {
    case Recent1: return state.recentEntry[0];
    case Recent2: return state.recentEntry[1];
    case Recent3: return state.recentEntry[2];
    case Recent4: return state.recentEntry[3];
    default: return true;
  }
}

bool CommandEnabled(TCommandId id, const TCommandState& state) {
  switch (id) {
    // The file toolbar and everything that switches or builds the project wait while a
    // simulation or a transfer runs.
    case New: case Open: case Save: case SaveAs: case Import: case Export: case Compile: case Transfer:
    case Recent1: case Recent2: case Recent3: case Recent4: case ModuleAdd: case ModuleNew: case ModuleHome:
      return state.fileToolbarEnabled;
    case ModuleBack: case ModuleLink:
      return state.fileToolbarEnabled && !state.historyEmpty;
    case Undo: return state.canUndo && !state.editorReadOnly;
    case Redo: return state.canRedo && !state.editorReadOnly;
    case Cut: case Delete: return state.hasSelection && !state.editorReadOnly;
    case Copy: return state.hasSelection;
    case Paste: case Comment: case Uncomment: case AlignLines: case IndentLeft: case IndentRight: case Replace:
      return !state.editorReadOnly;
    default: return true;
  }
}

std::optional<TProfile> ProfileOfCommand(TCommandId id) {
  switch (id) {
    case ProfileMicro: return TProfile::TesselMicro;
    case ProfileTessel11: return TProfile::Tessel11;
    case ProfilePyxon32: return TProfile::Pyxon32;
    case ProfilePyxon128: return TProfile::Pyxon128;
    default: return std::nullopt;
  }
}

bool ProfileCommand(TProfile profile, TCommandId& id) {
  for (TCommandId c : {ProfileMicro, ProfileTessel11, ProfilePyxon32, ProfilePyxon128})
    if (ProfileOfCommand(c) == profile) {
      id = c;
      return true;
    }
  return false;
}

}  // namespace zarvek::workspace
