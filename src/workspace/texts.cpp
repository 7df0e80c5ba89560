#include "workspace/texts.h"

#include <array>

#include "project/project_file.h"

namespace zarvek::workspace {

namespace {
constexpr std::array<std::string_view, 3> kOpenFilters{"Projekt (*.xml)", "Assembler (*.asm)", "BASIC (*.bas)"};
constexpr std::array<std::string_view, 1> kSaveFilters{"Projekt (*.xml)"};
constexpr std::array<std::string_view, 3> kImportFilters{"Motorola HC05 (*.S19)", "Motorola HC05 Binär(*.BIN)",
                                                          "Zarvek (*.CPO)"};
constexpr std::array<std::string_view, 1> kExportFilters{"compiliertes Projekt (*.DAT)"};
constexpr std::string_view kNewModuleCaption = "Neues Projekt Modul anlegen";

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string s;
  for (std::string_view p : parts) s += p;
  return s;
}
}  // namespace

std::span<const std::string_view> OpenFilters() { return kOpenFilters; }
std::span<const std::string_view> SaveFilters() { return kSaveFilters; }
std::span<const std::string_view> ImportFilters() { return kImportFilters; }
std::span<const std::string_view> ExportFilters() { return kExportFilters; }

std::string WindowCaption(std::string_view fileName) {
  return fileName.empty() ? std::string(kAppTitle) : Join({kAppTitle, "- ", fileName});
}

std::string CompiledText(TProfile profile) {
  switch (profile) {
    case TProfile::Tessel11: return "Compiliert für Tessel 1.1.";
    case TProfile::TesselMicro: return "Compiliert für Tessel Micro/Mini.";
    case TProfile::Tessel20: return "Compiliert.";
    case TProfile::Pyxon32: return " Compiliert für Pyxon 32.";
    case TProfile::Pyxon128: return "Compiliert für Pyxon 128.";
  }
  return "Compiliert.";
}

std::string SavedStatusText(std::string_view fileNameOnly) { return Join({fileNameOnly, " gespeichert."}); }
std::string ReadOnlyStatusText(std::string_view fileNameOnly) { return Join({fileNameOnly, " ist schreibgeschützt."}); }

TMessage MessageText(TMessageId id, std::string_view name, std::string_view folder) {
  switch (id) {
    case TMessageId::SaveChanges:
      return {name.empty() ? "Aktuelle Änderungen speichern?" : Join({"Aktuelle Änderungen in Datei ", name, " speichern?"}),
              std::string(kAppTitle), TButtons::YesNoCancel};
    case TMessageId::ReplaceFile:
      return {Join({"Die Datei ", name, " besteht bereits. \r\nMöchten Sie sie ersetzen?"}), std::string(kAppTitle),
              TButtons::YesNoCancel};
    case TMessageId::BackupFailed:
      return {kBackupFailedText, kBackupCaption, TButtons::OkCancel};
    case TMessageId::NotAProject:
      return {NotAProjectText(std::string(name)), kOpenErrorCaption, TButtons::Ok};
    case TMessageId::CannotOpen:
      return {kOpenFailedText, kOpenErrorCaption, TButtons::Ok};
    case TMessageId::CannotSave:
      return {kSaveFailedText, kSaveErrorCaption, TButtons::Ok};
    case TMessageId::NewModuleExists:
      return {Join({"Eine Datei mit dem Namen ", name, " existiert bereits in ", folder,
                    " \r\nBitte wählen Sie einen anderen Namen für das neue Projekt Modul."}),
              std::string(kNewModuleCaption), TButtons::OkCancel};
    case TMessageId::NewModuleSaveFirst:
      return {Join({"Bevor das neue Projekt Modul ", name,
                    " erzeugt werden kann, muss das aktuelle Projekt gespeichert werden."}),
              std::string(kNewModuleCaption), TButtons::Ok};
    case TMessageId::NewModuleFailed:
      return {Join({"Das neue Projekt Modul ", name,
                    " konnte nicht erzeugt werden, weil das übergeordnete Modul nicht gespeichert werden konnte."}),
              std::string(kNewModuleCaption), TButtons::Ok};
    case TMessageId::SaveMainBeforeModule:
      return {"Das Hauptprojekt sollte vor dem Wechsel in ein Unterprojekte gespeichert werden um Inkonsistenzen zu "
              "vermeiden. ",
              std::string(kAppTitle), TButtons::Ok};
    case TMessageId::ReadOnly:
      return {ReadOnlyStatusText(name), std::string(kAppTitle), TButtons::Ok};
    case TMessageId::HelpNotShown:
      return {Join({"Die Hilfe konnte nicht angezeigt werden: Für ", name, " ist kein Programm zum Anzeigen eingerichtet."}),
              "Hilfe", TButtons::Ok};
    case TMessageId::HelpMissing:
      return {Join({"Die Hilfe ist nicht installiert: ", name, " wurde nicht gefunden."}),
              "Hilfe", TButtons::Ok};
  }
  return {};
}

}  // namespace zarvek::workspace
