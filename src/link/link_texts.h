// The link's user texts (German, as the user sees them) and its serial-port messages.
#pragma once

#include <string>

namespace zarvek::link::texts {

// Serial port
inline constexpr const char* kIllegalTerminator =
    "Illegal terminator string.\rformat : #<asciicode>#<asciicode>#<...>\rexample: #13#10";
inline constexpr const char* kEmptyTerminator = "Terminator string cannot be empty!";
inline constexpr const char* kConnected = "> Verbindung hergestellt.\r\n";

// Program upload
inline constexpr const char* kCompiling = "Compilieren...";
inline constexpr const char* kSearchTesselMicro = "Tessel Micro/PCB wird gesucht...";
inline constexpr const char* kSearchTessel20 = "Tessel 2.0 wird gesucht...";
inline constexpr const char* kSearchAtmega32 = "ATmega32 wird gesucht...";
inline constexpr const char* kSearchAtmega128 = "ATmega128 wird gesucht...";
inline constexpr const char* kSearchTessel11 = "Tessel 1.1 wird gesucht...";
inline constexpr const char* kUpdateBasic = "Update (BASIC)";
inline constexpr const char* kBrowsing = "Durchsuchen...";
inline constexpr const char* kSendingBasic = "Senden... (BASIC)";
inline constexpr const char* kTooMuchData = "Fehler: Zu viele Daten empfangen!";
inline constexpr const char* kAssemblerTransferError = "Assembler Übertragungsfehler";
inline constexpr const char* kTransferError = "Übertragungsfehler";
inline constexpr const char* kDone = "fertig!";
inline constexpr const char* kProjectTransferred = "Das Projekt wurde übertragen.";
inline constexpr const char* kNoAnswer = "Controller antwortet nicht.";
// Our own: streams whose length fields cannot hold them would arrive corrupted.
inline constexpr const char* kMachineCodeTooLong =
    "Fehler: Der Maschinencode ist länger als 255 Bytes und passt nicht in den Speicher des Controllers.";
inline constexpr const char* kProgramTooLong =
    "Fehler: Das Programm ist länger als 65535 Bytes und kann nicht übertragen werden.";

// Runtime update
inline constexpr const char* kBootIntro =
    "Schalten Sie den Mikrocontroller ein, er darf kein Programm ausführen und klicken Sie auf \"Update\" um das "
    "Betriebssystem mit der oben gewählten Datei zu aktualisieren.";
inline constexpr const char* kBootNotReady =
    "Der Mikrocontroller war nicht bereit. Um den Bootloader jetzt zu starten, halten Sie RESET und drücken "
    "START.\r\nLassen Sie nun umgekehrter Reihenfolge erst RESET los, dann START!";
inline constexpr const char* kBootInitialising = "Der Bootloader wird initialisiert...";
inline constexpr const char* kBootWrongBoard =
    "Warnung: Es ist kein ATmega Mikrocontroller in der Profileinstellung ausgewählt oder der angeschlossene "
    "Mikrocontroller enthält einen anderen Bootloader.";
inline constexpr const char* kBootInvalidFile = "Fehler: Die Datei ist ungültig.";
inline constexpr const char* kBootFinished = "Update fertiggestellt.";
inline constexpr const char* kBootStopWarning =
    "Warnung!\r\n\r\nWenn Sie das Update abbrechen, ist kein Betriebssystem auf dem Mikrocontroller installiert. Sie "
    "können dann solange keine BASIC Programme mehr ausführen, bis wieder ein Betriebssystem installiert ist. "
    "\r\n\r\nKlicken Sie auf \"Ja\", wenn Sie das Update wirklich abbrechen wollen!";

inline std::string ConnectingText(const std::string& port, const std::string& speed) {
  return "Verbindungsaufbau über " + port + " Port mit " + speed + " Baud.";
}
inline std::string PortBusyText(const std::string& port) {
  return "Fehler: Der Port " + port + " ist zur Zeit belegt oder nicht vorhanden.";
}
inline std::string PageSendingText(int page, int count, int failed) {
  return "Das Betriebssystem wird auf den Mikrocontroller übertragen...\r\n" + std::to_string(page) +
         " erfolgreich übertragene Seiten von insgesamt " + std::to_string(count) + "\r\n" +
         "Fehlgeschlagene Seiten: " + std::to_string(failed);
}
inline std::string PageRejectedText(const std::string& reply, int page, int count) {
  return "Übertragungsfehler. (NAK) " + reply + "\r\n" + "Fehler bei der Übertragung von Seite " +
         std::to_string(page) + " von insgesamt " + std::to_string(count);
}
// Our own: why a port could not be opened, and on Linux where the right to open serial
// ports usually comes from.
inline std::string PortOpenFailureText(const std::string& port, const std::string& reason) {
  std::string text = PortBusyText(port);
  if (!reason.empty()) text += " (" + reason + ")";
#ifdef __linux__
  text +=
      "\nHinweis: Für serielle Ports braucht man Schreib- und Leserechte, meist durch die Gruppe dialout "
      "(sudo usermod -aG dialout BENUTZER, danach neu anmelden).";
#endif
  return text;
}
// Our own: the device went away while in use.
inline std::string PortLostText(const std::string& port) {
  return "Fehler: Die Verbindung über " + port + " ist abgebrochen.";
}

// Console
inline constexpr const char* kConnect = "Verbinden";
inline constexpr const char* kDisconnect = "Verbindung trennen";

}  // namespace zarvek::link::texts
