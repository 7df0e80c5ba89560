// Renders the main window in the states a user sees into PNG files for review:
//   zarvek-screenshots OUTPUT_FOLDER EXAMPLE_PROJECT
// Run it under xvfb-run (scripts/screenshots.sh) or with QT_QPA_PLATFORM=offscreen.
#include <filesystem>
#include <iostream>

#include "ide/console_window.h"
#include "ide/main_window.h"
#include "ide/object_panel.h"
#include "ui/object_grid_widget.h"
#include "ide/setup_dialog.h"
#include "ui/source_editor.h"

#include <QAction>
#include <QApplication>
#include <QPainter>
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
  ide::TForm1 w((out / "Simulation.ini").string());
  w.askHook = [](const workspace::TMessage&) { return workspace::TAnswer::No; };
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
  bool ok = Shot(&w, out / "6-simulation-laeuft.png");
  ok = Shot(console, out / "8-konsole.png") && ok;
  QPixmap doubled(cells->size() * 2);
  doubled.setDevicePixelRatio(2);
  doubled.fill(Qt::white);
  cells->render(&doubled);
  ok = doubled.copy(0, 0, 2 * 260, 2 * 160).save(QString::fromStdString((out / "9-objekte-200-prozent.png").string())) && ok;
  QTest::mouseRelease(cells, Qt::LeftButton, {}, cells->CellRect(0, 1).center());
  w.Action(TCommandId::Pause)->trigger();
  QTest::qWait(400);
  ok = Shot(&w, out / "7-simulation-pause.png") && ok;
  w.Action(TCommandId::Stop)->trigger();
  w.BasicEditor()->setModified(false);
  return ok;
}
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::cerr << "Aufruf: zarvek-screenshots AUSGABEORDNER BEISPIELPROJEKT\n";
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
  w.BasicEditor()->setModified(false);
  w.AssemblerEditor()->setModified(false);
  w.hide();
  ok = SimulationShots(out) && ok;
  return ok ? 0 : 1;
}
