// Renders the main window in the states a user sees into PNG files for review (the token
// view of "-DEBUG" last):
//   zarvek-screenshots OUTPUT_FOLDER EXAMPLE_PROJECT [UPLOAD_LINE UPDATE_LINE]
// With the lines of two virtual ATmega32 boards (zarvek-cli board) it also shows the
// upload and the runtime update windows at work (a board running a program does not
// enter its bootloader, hence two).
// Run it under xvfb-run (scripts/screenshots.sh) or with QT_QPA_PLATFORM=offscreen.
#include <filesystem>
#include <iostream>

#include <fstream>

#include "ide/bootloader_window.h"
#include "ide/console_window.h"
#include "ide/link_controller.h"
#include "ide/main_window.h"
#include "project/settings.h"
#include "ide/object_panel.h"
#include "ide/simulation_controller.h"
#include "ide/setup_dialog.h"
#include "ide/upload_window.h"
#include "ui/object_grid_widget.h"
#include "ui/source_editor.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

namespace {
bool Shot(QWidget* widget, const std::filesystem::path& file) {
  QTest::qWait(100);
  const bool saved = widget->grab().save(QString::fromStdString(file.string()));
  std::cout << (saved ? "geschrieben: " : "FEHLER: ") << file.string() << "\n";
  return saved;
}
// Puts an object into a cell as the settings grid would leave it.
void Place(zarvek::TObjectGrid& grid, int x, int y, uint16_t type, const std::string& name,
           const std::vector<std::string>& values) {
  grid.Select(x, y);
  grid.Insert(type);
  grid.EditSetting(0, name);
  for (size_t s = 0; s < values.size(); ++s) grid.EditSetting(static_cast<int>(s + 1), values[s]);
}

// A running Pyxon program with one object of every kind, paused with its variables, the
// console beside it, and the object grid at 200 % scaling.
bool SimulationShots(const std::filesystem::path& out) {
  using namespace zarvek;
  using workspace::TCommandId;
  // Room for every object and for the variables' values, as a user would drag the panels.
  TSettings roomy;
  roomy.vertical = 230;
  roomy.horizontal = 240;
  WriteSettingsFile((out / "Simulation.ini").string(), roomy);
  ide::TForm1 w((out / "Simulation.ini").string());
  w.askHook = [](const workspace::TMessage&) { return workspace::TAnswer::No; };
  w.InitApplication({});
  w.PopUpProfileClick(profile::Pyxon32, true);
  w.BasicEditor()->SetCp1252Text(
      "' Alle Objektarten an einem laufenden Programm\r\n"
      "DIM leds AS BYTE PORT[1]\r\nDIM taste AS BOOLEAN PORT[2, 1]\r\nDIM poti AS BYTE AD[1]\r\n"
      "DIM anzeige AS BYTE DA[1]\r\nDIM zaehler AS INTEGER\r\nDIM name$ AS STRING\r\n"
      "SUB INTERRUPT\r\n  zaehler = zaehler + 100\r\nEND SUB\r\n"
      "name$ = \"Lauf\"\r\nINTERRUPT ON\r\nDO\r\n  leds = zaehler\r\n  anzeige = poti\r\n"
      "  zaehler = zaehler + 1\r\n  PRINT name$; \" \"; zaehler; \" Poti: \"; poti; \" Taste: \"; taste\r\n"
      "  PAUSE 5\r\nLOOP\r\n");
  TObjectGrid& grid = w.Simulation()->Grid();
  Place(grid, 0, 0, objecttype::LedRed, "rot", {"leds", "1", "1"});
  Place(grid, 1, 0, objecttype::LedYellow, "gelb", {"leds", "2", "1"});
  Place(grid, 2, 0, objecttype::LedGreen, "gruen", {"leds", "3", "1"});
  Place(grid, 3, 0, objecttype::LedRed, "bit4", {"leds", "4", "1"});
  Place(grid, 0, 1, objecttype::Switch, "taste", {"taste", "", "1"});
  Place(grid, 1, 1, objecttype::AnalogWheel, "poti", {"poti", "140"});
  Place(grid, 2, 1, objecttype::AnalogGauge, "anzeige", {"anzeige"});
  Place(grid, 0, 2, objecttype::Interrupt, "irq", {});
  Place(grid, 1, 2, objecttype::VariableNumerical, "zaehler", {});
  grid.Select(1, 1);
  w.Simulation()->Objects()->Refresh();
  Q_EMIT w.Simulation()->Objects()->Changed();  // placed past the panel: the tree takes them
  w.resize(1280, 800);
  w.show();
  ide::TConsoleWindow* console = w.Simulation()->Console();
  console->show();
  console->move(w.x() + 700, w.y() + 480);
  w.Action(TCommandId::Run)->trigger();
  QTest::qWait(700);
  ui::TObjectGridWidget* cells = w.Simulation()->Objects()->GridWidget();
  QTest::mousePress(cells, Qt::LeftButton, {}, cells->CellRect(0, 1).center());  // the switch held
  QTest::qWait(300);
  bool ok = Shot(&w, out / "12-simulation-laeuft.png");
  ok = Shot(console, out / "14-konsole-simulation.png") && ok;
  QPixmap doubled(cells->size() * 2);
  doubled.setDevicePixelRatio(2);
  doubled.fill(Qt::white);
  cells->render(&doubled);
  ok = doubled.copy(0, 0, 2 * 260, 2 * 160).save(QString::fromStdString((out / "15-objekte-200-prozent.png").string())) && ok;
  QTest::mouseRelease(cells, Qt::LeftButton, {}, cells->CellRect(0, 1).center());
  w.Action(TCommandId::Pause)->trigger();
  QTest::qWait(400);
  // A few single steps, so that the tree marks the values the steps changed.
  for (int step = 0; step < 3; ++step) {
    w.Action(TCommandId::RunNext)->trigger();
    QTest::qWait(250);
  }
  ok = Shot(&w, out / "13-simulation-pause.png") && ok;
  w.Action(TCommandId::Stop)->trigger();
  w.BasicEditor()->setModified(false);
  return ok;
}

// The token view of "-DEBUG" under the editors after a compile for a Pyxon board.
bool DebugShot(const std::filesystem::path& out, const std::string& example) {
  using namespace zarvek;
  ide::TForm1 w((out / "Debug.ini").string());
  w.askHook = [](const workspace::TMessage&) { return workspace::TAnswer::No; };
  w.InitApplication({"-DEBUG", example});
  w.resize(1200, 800);
  w.show();
  w.Action(workspace::TCommandId::ProfilePyxon32)->trigger();
  const bool ok = Shot(&w, out / "16-token-ansicht.png");
  w.BasicEditor()->setModified(false);
  w.AssemblerEditor()->setModified(false);
  return ok;
}

// The whole screen: windows of their own (upload, update) over the main window.
bool ScreenShot(const std::filesystem::path& file) {
  QTest::qWait(100);
  const bool saved = QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(file.string()));
  std::cout << (saved ? "geschrieben: " : "FEHLER: ") << file.string() << "\n";
  return saved;
}

// Waits up to `ms` for `done`.
bool WaitFor(const std::function<bool()>& done, int ms) {
  for (int waited = 0; waited < ms && !done(); waited += 10) QTest::qWait(10);
  return done();
}

bool LinkShots(zarvek::ide::TForm1& w, const std::filesystem::path& out, const std::string& line,
               const std::string& updateLine) {
  using zarvek::workspace::TCommandId;
  zarvek::ide::TLinkController& link = *w.LinkControl();
  link.Ports().ComPortListChange(line);
  w.Action(TCommandId::ProfilePyxon32)->trigger();
  w.Action(TCommandId::Transfer)->trigger();
  zarvek::ide::TUploadWin& upload = *link.UploadWin();
  bool ok = WaitFor([&] { return upload.Progress() > upload.ProgressMax() / 3 || !upload.isVisible(); }, 60000) &&
            upload.isVisible();
  if (!ok) std::cout << "FEHLER: die Übertragung kam nicht in Gang\n";
  ok = Shot(&upload, out / "6-uebertragung.png") && ok;
  ok = ScreenShot(out / "7-uebertragung-bildschirm.png") && ok;
  ok = WaitFor([&] { return !upload.isVisible(); }, 120000) && ok;

  // A runtime image of a few records, then the update until its pages go out.
  const std::filesystem::path hex = out / "laufzeit.hex";
  std::ofstream(hex, std::ios::binary) << ":100000000C942A000C9434000C9434000C943400AA\r\n:00000001FF\r\n";
  link.Ports().ComPortListChange(updateLine);
  w.Action(TCommandId::Bootloader)->trigger();
  zarvek::ide::TBootloaderWin& boot = *link.BootloaderWin();
  boot.move(w.geometry().center() - QPoint(boot.width() / 2, boot.height() / 2));
  boot.EditOSFile()->setText(QString::fromStdString(hex.string()));
  ok = Shot(&boot, out / "8-update-bereit.png") && ok;
  boot.ButtonUpdate()->click();
  ok = WaitFor([&] { return boot.Machine().PageIndex() > 3; }, 60000) && ok;
  ok = Shot(&boot, out / "9-update-seiten.png") && ok;
  ok = ScreenShot(out / "10-update-bildschirm.png") && ok;
  w.askHook = [](const zarvek::workspace::TMessage&) { return zarvek::workspace::TAnswer::Yes; };
  boot.ButtonUpdate()->click();
  boot.close();
  link.Link().LinkClose();

  // The console on the board that got the program.
  zarvek::ide::TConsoleWindow& console = *w.Simulation()->Console();
  console.show();
  console.PortList()->setEditText(QString::fromStdString(line));
  console.ConnectButton()->click();
  ok = link.Link().Connected() && ok;
  ok = Shot(&console, out / "11-konsole-verbunden.png") && ok;
  console.ConnectButton()->click();
  console.hide();
  w.Action(TCommandId::ProfileTessel11)->trigger();  // the settings file keeps the profile
  return ok;
}
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3 && argc != 5) {
    std::cerr << "Aufruf: zarvek-screenshots AUSGABEORDNER BEISPIELPROJEKT [LEITUNG-UEBERTRAGUNG LEITUNG-UPDATE]\n";
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);
  using zarvek::workspace::TCommandId;
  zarvek::ide::TForm1 w((out / "Zarvek.ini").string());
  w.askHook = [](const zarvek::workspace::TMessage&) { return zarvek::workspace::TAnswer::No; };
  w.resize(1200, 800);
  w.show();
  bool ok = Shot(&w, out / "1-leeres-projekt.png");
  ok = w.OpenFile(std::filesystem::absolute(argv[2]).string()) && ok;
  w.Action(TCommandId::Compile)->trigger();
  ok = Shot(&w, out / "2-beispielprojekt.png") && ok;
  w.BasicEditor()->append(QStringLiteral("\r\ngoto nirgendwo ' dieses Sprungziel gibt es nicht\r\n"));
  w.Action(TCommandId::Compile)->trigger();
  ok = Shot(&w, out / "3-compilierfehler.png") && ok;
  w.Setup()->FormShow();
  w.Setup()->resize(700, 420);
  w.Setup()->show();
  ok = Shot(w.Setup(), out / "4-einstellungen.png") && ok;
  w.Setup()->colourHook = [](int32_t) { return std::optional<int32_t>(0x302020); };
  w.Setup()->FarbenClick(1);  // dark background
  w.Setup()->colourHook = [](int32_t) { return std::optional<int32_t>(0xE0E0E0); };
  w.Setup()->FarbenClick(0);  // light text
  w.Setup()->hide();
  ok = Shot(&w, out / "5-eigene-farben.png") && ok;
  if (argc == 5) {
    ok = w.OpenFile(std::filesystem::absolute(argv[2]).string()) && ok;  // without the faulty line
    ok = LinkShots(w, out, argv[3], argv[4]) && ok;
  }
  w.BasicEditor()->setModified(false);
  w.AssemblerEditor()->setModified(false);
  w.hide();
  ok = SimulationShots(out) && ok;
  ok = DebugShot(out, std::filesystem::absolute(argv[2]).string()) && ok;
  return ok ? 0 : 1;
}
