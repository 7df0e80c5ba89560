// Captions, status texts and message boxes of the main window.
#include <gtest/gtest.h>

#include "workspace/texts.h"

namespace zarvek::workspace {
namespace {

TEST(Texts, WindowCaption) {
  EXPECT_EQ(WindowCaption(""), "Zarvek");
  EXPECT_EQ(WindowCaption("/home/anna/Ampel.xml"), "Zarvek- /home/anna/Ampel.xml");
}

TEST(Texts, CompiledTextByProfile) {
  EXPECT_EQ(CompiledText(profile::Tessel11), "Compiliert für Tessel 1.1.");
  EXPECT_EQ(CompiledText(profile::TesselMicro), "Compiliert für Tessel Micro/Mini.");
  EXPECT_EQ(CompiledText(profile::Pyxon32), " Compiliert für Pyxon 32.");
  EXPECT_EQ(CompiledText(profile::Pyxon128), "Compiliert für Pyxon 128.");
  EXPECT_EQ(CompiledText(profile::Tessel20), "Compiliert.");
  EXPECT_EQ(SavedStatusText("Ampel.xml"), "Ampel.xml gespeichert.");
  EXPECT_EQ(ReadOnlyStatusText("Ampel.xml"), "Ampel.xml ist schreibgeschützt.");
}

TEST(Texts, SaveQuestionWithAndWithoutFileName) {
  const TMessage with = MessageText(TMessageId::SaveChanges, "/p/Ampel.xml");
  EXPECT_EQ(with.text, "Aktuelle Änderungen in Datei /p/Ampel.xml speichern?");
  EXPECT_EQ(with.buttons, TButtons::YesNoCancel);
  EXPECT_EQ(MessageText(TMessageId::SaveChanges).text, "Aktuelle Änderungen speichern?");
}

TEST(Texts, FileMessages) {
  EXPECT_EQ(MessageText(TMessageId::ReplaceFile, "/p/a.xml"),
            (TMessage{"Die Datei /p/a.xml besteht bereits. \r\nMöchten Sie sie ersetzen?", "Zarvek", TButtons::YesNoCancel}));
  EXPECT_EQ(MessageText(TMessageId::BackupFailed),
            (TMessage{"Eine Sicherungskopie konnte nicht erstellt werden.", "Backup", TButtons::OkCancel}));
  EXPECT_EQ(MessageText(TMessageId::NotAProject, "/p/x.xml"),
            (TMessage{"/p/x.xml ist keine Projektdatei.", "Fehler beim Öffnen", TButtons::Ok}));
  EXPECT_EQ(MessageText(TMessageId::CannotOpen),
            (TMessage{"Die Datei konnte nicht geöffnet werden.", "Fehler beim Öffnen", TButtons::Ok}));
  EXPECT_EQ(MessageText(TMessageId::CannotSave),
            (TMessage{"Die Datei konnte nicht gespeichert werden.", "Fehler beim Speichern", TButtons::Ok}));
}

TEST(Texts, ModuleMessages) {
  const TMessage exists = MessageText(TMessageId::NewModuleExists, "m.xml", "/p");
  EXPECT_EQ(exists.text,
            "Eine Datei mit dem Namen m.xml existiert bereits in /p \r\n"
            "Bitte wählen Sie einen anderen Namen für das neue Projekt Modul.");
  EXPECT_EQ(exists.caption, "Neues Projekt Modul anlegen");
  EXPECT_EQ(exists.buttons, TButtons::OkCancel);
  EXPECT_EQ(MessageText(TMessageId::NewModuleSaveFirst, "m.xml").text,
            "Bevor das neue Projekt Modul m.xml erzeugt werden kann, muss das aktuelle Projekt gespeichert werden.");
  EXPECT_EQ(MessageText(TMessageId::NewModuleFailed, "m.xml").text,
            "Das neue Projekt Modul m.xml konnte nicht erzeugt werden, weil das übergeordnete Modul nicht gespeichert "
            "werden konnte.");
  EXPECT_EQ(MessageText(TMessageId::SaveMainBeforeModule).text,
            "Das Hauptprojekt sollte vor dem Wechsel in ein Unterprojekte gespeichert werden um Inkonsistenzen zu "
            "vermeiden. ");
  EXPECT_EQ(kNewModuleDialogTitle, "Neues Projekt Modul anlegen...");
}

TEST(Texts, DialogFilters) {
  ASSERT_EQ(OpenFilters().size(), 3u);
  EXPECT_EQ(OpenFilters()[0], "Projekt (*.xml)");
  EXPECT_EQ(ImportFilters()[1], "Motorola HC05 Binär(*.BIN)");
  EXPECT_EQ(ExportFilters()[0], "compiliertes Projekt (*.DAT)");
}

}  // namespace
}  // namespace zarvek::workspace
