// The command table against the menu list of the main window, and the enabling rules.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "workspace/commands.h"

namespace zarvek::workspace {
namespace {

struct TExpected {
  TMenu menu;
  const char* text;
  const char* shortcut;
};

// The menu items as the main window must show them, with their shortcuts.
const TExpected kExpected[] = {
    {TMenu::File, "Neu", ""},
    {TMenu::File, "Öffnen...", ""},
    {TMenu::File, "Speichern", "F2"},
    {TMenu::File, "Speichern unter...", ""},
    {TMenu::File, "Importieren...", ""},
    {TMenu::File, "Exportieren...", ""},
    {TMenu::File, "Beenden", ""},
    {TMenu::Edit, "Rückgängig", "Ctrl+Z"},
    {TMenu::Edit, "Widerrufen", "Ctrl+Shift+Z"},
    {TMenu::Edit, "Ausschneiden", "Ctrl+X"},
    {TMenu::Edit, "Kopieren", "Ctrl+C"},
    {TMenu::Edit, "Einfügen", "Shift+Ins"},
    {TMenu::Edit, "Löschen", ""},
    {TMenu::Edit, "Alles auswählen", ""},
    {TMenu::Edit, "Suchen...", "Ctrl+F"},
    {TMenu::Edit, "Weitersuchen", "F3"},
    {TMenu::Edit, "Ersetzen...", "Ctrl+R"},
    {TMenu::Edit, "Programmierhilfe", "Ctrl+Space"},
    {TMenu::Edit, "Einstellungen", ""},
    {TMenu::Edit, "&Auskommentieren", ""},
    {TMenu::Edit, "Kommentare &entfernen", ""},
    {TMenu::Edit, "&Zeilen gleich ausrichten", ""},
    {TMenu::Edit, "&Links einrücken", ""},
    {TMenu::Project, "&Compilieren", "Shift+F9"},
    {TMenu::Project, "&Starten", "F5"},
    {TMenu::Project, "&Einzelschritt", "F8"},
    {TMenu::Project, "Einzelschritt ohne &Subroutine", "Ctrl+F8"},
    {TMenu::Project, "&Haltepunkt", "Ctrl+F5"},
    {TMenu::Project, "&Unterbrechen", "Pause"},
    {TMenu::Project, "&Abbrechen", "Esc"},
    {TMenu::Project, "Projekt an Controller senden", "Shift+F10"},
    {TMenu::Project, "Laufzeitumgebung installieren", ""},
    {TMenu::Project, "&existierendes Projekt hinzufügen", ""},
    {TMenu::Project, "&neues Projekt hinzufügen", ""},
    {TMenu::Profile, "Tessel Micro/Mini", ""},
    {TMenu::Profile, "Tessel 1.1", ""},
    {TMenu::Profile, "Pyxon 32 ", ""},
    {TMenu::Profile, "Pyxon 128", ""},
    {TMenu::Help, "In&halt", ""},
    {TMenu::Help, "Nutzungsbedinungen", ""},
    {TMenu::Help, "Info", ""},
};

TEST(Commands, EveryMenuItemHasItsTextMenuAndShortcut) {
  for (const TExpected& e : kExpected) {
    int found = 0;
    for (const TCommand& c : Commands())
      if (c.text == e.text) {
        ++found;
        EXPECT_EQ(c.menu, e.menu) << e.text;
        EXPECT_EQ(c.shortcut, e.shortcut) << e.text;
      }
    EXPECT_EQ(found, 1) << e.text;
  }
  std::map<TMenu, std::string> menus;
  for (const TMenuInfo& m : Menus()) menus[m.menu] = std::string(m.text);
  EXPECT_EQ(menus[TMenu::Project], "&Projekt");
  EXPECT_EQ(menus[TMenu::Help], "&Hilfe");
  EXPECT_EQ(menus[TMenu::Profile], "Umgebung");
}

TEST(Commands, RecentItemsAndProfilesKeepTheirOrder) {
  std::vector<std::string> file, profile;
  for (const TCommand& c : Commands()) {
    if (c.menu == TMenu::File) file.emplace_back(c.text);
    if (c.menu == TMenu::Profile) {
      profile.emplace_back(c.text);
      EXPECT_TRUE(c.checkable) << c.text;
    }
  }
  EXPECT_EQ(profile, (std::vector<std::string>{"Tessel Micro/Mini", "Tessel 1.1", "Pyxon 32 ", "Pyxon 128"}));
  // The four recent files stand together before Beenden.
  const std::vector<std::string> tail(file.end() - 5, file.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"1. ", "2. ", "3. ", "4. ", "Beenden"}));
  EXPECT_TRUE(Command(TCommandId::Console).checkable);
  EXPECT_FALSE(Command(TCommandId::Save).checkable);
}

TEST(Commands, ToolbarHints) {
  EXPECT_EQ(Command(TCommandId::Compile).hint, "Aktualisieren / Compilieren");
  EXPECT_EQ(Command(TCommandId::ModuleHome).hint, "Hauptprojekt anzeigen");
  EXPECT_EQ(Command(TCommandId::ModuleBack).hint, "Zurück");
  EXPECT_EQ(Command(TCommandId::ModuleAdd).hint, "Anderes Projekt als Modul in dieses Projekt einbeziehen");
  EXPECT_EQ(Command(TCommandId::ModuleLink).hint, "Modul Verknüpfung");
  EXPECT_EQ(Command(TCommandId::ModuleNew).hint, "neues Modul erstellen");
  EXPECT_EQ(Command(TCommandId::Run).hint, "Ausführen ohne Haltepunkte");
  EXPECT_EQ(Command(TCommandId::RunNextBlock).hint, "Nächsten Befehl ausführen ohne Sprung in Unterroutine");
  EXPECT_EQ(Command(TCommandId::RunNextBreak).hint, "Auführen bis Haltepunkt");
  EXPECT_EQ(Command(TCommandId::Stop).hint, "Ausführen beenden");
}

TEST(Commands, TableIsConsistent) {
  std::set<std::string> shortcuts, names;
  for (const TCommand& c : Commands()) {
    EXPECT_EQ(&Command(c.id), &c) << c.name;
    EXPECT_TRUE(names.insert(std::string(c.name)).second) << c.name;
    EXPECT_FALSE(c.text.empty() && c.hint.empty()) << c.name << " can be reached nowhere";
    for (std::string_view key : {c.shortcut, c.alternateShortcut})
      if (!key.empty()) {
        EXPECT_TRUE(shortcuts.insert(std::string(key)).second) << "shortcut used twice: " << key;
      }
  }
  EXPECT_FALSE(Command(TCommandId::ProgHelp).alternateShortcut.empty());
}

TEST(Commands, ProfileItems) {
  TCommandId id{};
  ASSERT_TRUE(ProfileCommand(profile::Pyxon32, id));
  EXPECT_EQ(Command(id).text, "Pyxon 32 ");
  ASSERT_TRUE(ProfileCommand(profile::TesselMicro, id));
  EXPECT_EQ(Command(id).text, "Tessel Micro/Mini");
  EXPECT_FALSE(ProfileCommand(profile::Tessel20, id));  // Tessel 2.0 only through a project file
  EXPECT_EQ(ProfileOfCommand(TCommandId::ProfilePyxon128), profile::Pyxon128);
  EXPECT_EQ(ProfileOfCommand(TCommandId::Save), std::nullopt);
}

TEST(Commands, EnablingFollowsTheState) {
  TCommandState s;
  EXPECT_FALSE(CommandEnabled(TCommandId::ModuleBack, s));
  EXPECT_FALSE(CommandEnabled(TCommandId::ModuleLink, s));
  EXPECT_TRUE(CommandEnabled(TCommandId::ModuleHome, s));
  s.historyEmpty = false;
  EXPECT_TRUE(CommandEnabled(TCommandId::ModuleBack, s));
  EXPECT_TRUE(CommandEnabled(TCommandId::ModuleLink, s));

  // A running simulation or transfer holds every command that switches or builds.
  s.fileToolbarEnabled = false;
  for (TCommandId id : {TCommandId::New, TCommandId::Open, TCommandId::Save, TCommandId::SaveAs, TCommandId::Import,
                        TCommandId::Export, TCommandId::Compile, TCommandId::Transfer, TCommandId::ModuleBack,
                        TCommandId::ModuleAdd, TCommandId::ModuleNew, TCommandId::Recent1})
    EXPECT_FALSE(CommandEnabled(id, s)) << Command(id).name;
  EXPECT_TRUE(CommandEnabled(TCommandId::Stop, s));
  EXPECT_TRUE(CommandEnabled(TCommandId::Copy, TCommandState{.hasSelection = true}));

  TCommandState ro;
  ro.editorReadOnly = true;
  ro.hasSelection = true;
  ro.canUndo = true;
  EXPECT_FALSE(CommandEnabled(TCommandId::Cut, ro));
  EXPECT_FALSE(CommandEnabled(TCommandId::Paste, ro));
  EXPECT_FALSE(CommandEnabled(TCommandId::Undo, ro));
  EXPECT_TRUE(CommandEnabled(TCommandId::Copy, ro));

  TCommandState recent;
  recent.recentEntry[1] = true;
  EXPECT_FALSE(CommandVisible(TCommandId::Recent1, recent));
  EXPECT_TRUE(CommandVisible(TCommandId::Recent2, recent));
}

}  // namespace
}  // namespace zarvek::workspace
