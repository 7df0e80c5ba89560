// The simulation in the main window, offscreen: run commands from the menu actions, the
// object grid against running programs, pauses with their statement and variables, the
// console, and a program flooding the console while the event loop keeps turning.
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ide/console_window.h"
#include "ide/main_window.h"
#include "window_test_support.h"
#include "ide/object_panel.h"
#include "ide/simulation_controller.h"
#include "project/project_file.h"
#include "simulation/tessel_runtime.h"
#include "ui/error_strip.h"
#include "ui/object_grid_widget.h"
#include "ui/source_editor.h"

#include <QAction>
#include <QComboBox>
#include <QMimeData>
#include <QUrl>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTableWidget>
#include <QTreeWidget>

using namespace zarvek;
using namespace zarvek::test;
using workspace::TAnswer;
using workspace::TCommandId;
using workspace::TMessage;

namespace {

// Puts an object into a cell as the settings grid would leave it.
void Place(TObjectGrid& grid, int x, int y, uint16_t type, const std::string& name, std::vector<std::string> values = {}) {
  grid.Select(x, y);
  QVERIFY(grid.Insert(type));
  QVERIFY(grid.EditSetting(0, name));
  for (size_t s = 0; s < values.size(); ++s) QVERIFY(grid.EditSetting(static_cast<int>(s + 1), values[s]));
}
}  // namespace

class TSimulationWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  std::vector<TMessage> m_shown;

  std::unique_ptr<ide::TForm1> Window(const std::string& basic, TProfile profile, const std::string& assembler = {}) {
    auto w = std::make_unique<ide::TForm1>(m_dir.filePath(QStringLiteral("sim.ini")).toStdString());
    w->askHook = [this](const TMessage& m) {
      m_shown.push_back(m);
      return TAnswer::No;
    };
    w->fileDialogHook = [](ide::TFileDialog, const std::string&, const std::string&) { return std::optional<std::string>(); };
    w->PopUpProfileClick(profile, true);
    w->BasicEditor()->SetCp1252Text(basic);
    w->AssemblerEditor()->SetCp1252Text(assembler);
    w->resize(1000, 700);
    w->show();
    return w;
  }
  static void Trigger(ide::TForm1& w, TCommandId id) {
    QAction* a = w.Action(id);
    QVERIFY(a->isEnabled());
    a->trigger();
  }
  static std::string Output(ide::TForm1& w) { return w.Simulation()->ConsoleModel().Output(); }
  static std::string Status(ide::TForm1& w) { return w.ErrorDisplay()->Display().Slot(workspace::TSlot::Status).text; }

 private Q_SLOTS:
  void initTestCase() { QVERIFY(m_dir.isValid()); }

  void runningLightLightsTheLedsInOrder() {
    std::ifstream file(ZARVEK_SOURCE_DIR "/examples/lauflicht.bas", std::ios::binary);
    std::stringstream source;
    source << file.rdbuf();
    auto w = Window(source.str(), profile::Pyxon32);
    TObjectGrid& grid = w->Simulation()->Grid();
    for (int bit = 0; bit < 8; ++bit)
      Place(grid, bit, 0, objecttype::LedRed, "L" + std::to_string(bit), {"leds", std::to_string(bit + 1), "1"});
    std::vector<int> order;  // the lit LED each time the lit set changed
    QTimer watch;
    watch.setInterval(5);
    connect(&watch, &QTimer::timeout, this, [&] {
      int lit = -1, count = 0;
      for (int bit = 0; bit < 8; ++bit)
        if (grid.At(bit, 0).pictureIndex == objecttype::LedRed - 1 + objectpicture::LitOffset) {
          lit = bit;
          ++count;
        }
      if (count == 1 && (order.empty() || order.back() != lit)) order.push_back(lit);
    });
    watch.start();
    Trigger(*w, TCommandId::Run);
    QVERIFY(w->BasicEditor()->isReadOnly());
    QVERIFY(w->Action(TCommandId::Stop)->isEnabled());
    QVERIFY(!w->Action(TCommandId::Run)->isEnabled());
    QVERIFY(QTest::qWaitFor([&] { return order.size() >= 10; }, kWaitMs));
    watch.stop();
    // The light walks up the port and starts again at the first LED.
    const size_t start = static_cast<size_t>(std::find(order.begin(), order.end(), 0) - order.begin());
    QVERIFY(start < 3);
    for (size_t i = start; i < order.size(); ++i) QCOMPARE(order[i], static_cast<int>((i - start) % 8));
    Trigger(*w, TCommandId::Stop);
  }

  void aHeldSwitchChangesTheProgramsPath() {
    auto w = Window(Lines({"DIM taste AS BOOLEAN PORT[2, 1]", "DIM n AS INTEGER", "DO", "  n = n + 1",
                           "LOOP UNTIL taste", "PRINT \"gedrueckt\"", "END"}),
                    profile::Pyxon32);
    Place(w->Simulation()->Grid(), 2, 1, objecttype::Switch, "taste", {"taste", "", "1"});
    w->Simulation()->Objects()->Refresh();
    Trigger(*w, TCommandId::Run);
    QTest::qWait(300);
    QCOMPARE(Output(*w), std::string());  // not pressed: the loop goes on
    ui::TObjectGridWidget* grid = w->Simulation()->Objects()->GridWidget();
    const QRect cell = grid->CellRect(2, 1);
    QTest::mousePress(grid, Qt::LeftButton, {}, cell.center());
    QCOMPARE(w->Simulation()->Grid().At(2, 1).pictureIndex, objectpicture::Pressed);
    QVERIFY(QTest::qWaitFor([&] { return Output(*w).find("gedrueckt") != std::string::npos; }, kWaitMs));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, cell.center());
    QCOMPARE(w->Simulation()->Grid().At(2, 1).pictureIndex, objectpicture::Released);
    Trigger(*w, TCommandId::Stop);
  }

  void singleStepsStepOverBreakpointsAndStop() {
    auto w = Window(Lines({
                        "DIM a AS BYTE",   // 1
                        "a = 1",           // 2
                        "CALL plus",       // 3
                        "a = a + 10",      // 4
                        "DO",              // 5
                        "  a = a + 1",     // 6
                        "LOOP",            // 7
                        "SUB plus",        // 8
                        "  a = a + 1",     // 9
                        "  a = a + 1",     // 10
                        "END SUB",         // 11
                    }),
                    profile::Pyxon32);
    QCOMPARE(StepTo(*w, TCommandId::RunNext), 2);
    QCOMPARE(SelectedLine(w->BasicEditor()), 2);
    QCOMPARE(Status(*w), std::string("Haltepunkt"));  // the stop report, shown like an error
    QVERIFY(Variables(*w));
    QCOMPARE(Variables(*w)->child(0)->text(0), QStringLiteral("Hauptprogramm"));
    QCOMPARE(StepTo(*w, TCommandId::RunNext), 3);
    QCOMPARE(Variables(*w)->child(0)->child(0)->text(0), QStringLiteral("a=1"));
    QVERIFY(Variables(*w)->child(0)->child(0)->font(0).bold());  // 0 at the pause before
    QCOMPARE(StepTo(*w, TCommandId::RunNext), 9);  // into the SUB
    QCOMPARE(Variables(*w)->child(1)->text(0), QStringLiteral("plus"));
    QVERIFY(!Variables(*w)->child(0)->child(0)->font(0).bold());  // still 1
    // Running on keeps the last pause's variables in the tree.
    Trigger(*w, TCommandId::Run);
    QVERIFY(Variables(*w));
    Trigger(*w, TCommandId::Pause);
    Trigger(*w, TCommandId::Stop);
    QVERIFY(!Variables(*w));
    QCOMPARE(StepTo(*w, TCommandId::RunNext), 2);
    QCOMPARE(StepTo(*w, TCommandId::RunNext), 3);
    QCOMPARE(StepTo(*w, TCommandId::RunNext), 9);
    QCOMPARE(StepTo(*w, TCommandId::RunNext), 10);
    // Inside the SUB the step over runs it to its end: back after the call.
    QCOMPARE(StepTo(*w, TCommandId::RunNextBlock), 4);
    QCOMPARE(Variables(*w)->childCount(), 1);
    // From the call itself the step over runs the whole SUB.
    Trigger(*w, TCommandId::Stop);
    QCOMPARE(StepTo(*w, TCommandId::RunNext), 2);
    QCOMPARE(StepTo(*w, TCommandId::RunNext), 3);
    QCOMPARE(StepTo(*w, TCommandId::RunNextBlock), 4);
    QCOMPARE(Variables(*w)->child(0)->child(0)->text(0), QStringLiteral("a=3"));

    // A breakpoint set while the program runs to breakpoints stops it there.
    QVERIFY(!w->Action(TCommandId::RunNextBreak)->isEnabled());
    GutterClick(w->BasicEditor(), 2);  // never reached again
    Trigger(*w, TCommandId::RunNextBreak);
    QTest::qWait(100);
    QVERIFY(w->Simulation()->Control().Running());
    const uint64_t pauses = w->Simulation()->Pauses();
    GutterClick(w->BasicEditor(), 6);
    QVERIFY(QTest::qWaitFor([&] { return w->Simulation()->Pauses() > pauses; }, kWaitMs));
    QCOMPARE(w->Simulation()->PausedLine(), 6);
    QVERIFY(w->Action(TCommandId::RunNextBreak)->isEnabled());
    QCOMPARE(StepTo(*w, TCommandId::RunNextBreak), 6);  // round the loop once more

    // Esc: stopped, editors editable again, the variables gone.
    Trigger(*w, TCommandId::Stop);
    QVERIFY(!w->BasicEditor()->isReadOnly());
    QVERIFY(!Variables(*w));
    QVERIFY(w->Action(TCommandId::Run)->isEnabled());
    QVERIFY(!w->Action(TCommandId::Stop)->isEnabled());
    QVERIFY(!w->Action(TCommandId::Pause)->isEnabled());
  }

  void aRuntimeErrorSelectsItsStatementAndFindAddressFindsIt() {
    auto w = Window(Lines({"DIM a AS BYTE", "a = 1", "RETURN", "a = 2", "END"}), profile::Pyxon32);
    const uint64_t before = w->Simulation()->Pauses();
    Trigger(*w, TCommandId::Run);
    QVERIFY(QTest::qWaitFor([&] { return w->Simulation()->Pauses() > before; }, kWaitMs));
    QCOMPARE(w->Simulation()->PausedLine(), 3);
    QCOMPARE(SelectedLine(w->BasicEditor()), 3);
    QVERIFY(w->Action(TCommandId::Run)->isEnabled());
    const int32_t address = w->Simulation()->LastStopAddress();
    QVERIFY(address > 0);
    Trigger(*w, TCommandId::Stop);
    w->BasicEditor()->setSelection(0, 0, 0, 1);
    w->inputHook = [&](const std::string&, const std::string&) { return std::optional<std::string>(std::to_string(address)); };
    Trigger(*w, TCommandId::FindAddress);
    QCOMPARE(SelectedLine(w->BasicEditor()), 3);
    w->inputHook = [](const std::string&, const std::string&) { return std::optional<std::string>("abc"); };
    m_shown.clear();
    Trigger(*w, TCommandId::FindAddress);
    QCOMPARE(m_shown.size(), size_t{1});
  }

  void typingInTheConsoleReachesInput() {
    auto w = Window(Lines({"DIM a AS INTEGER", "INPUT a", "PRINT a * 2", "END"}), profile::Pyxon32);
    Trigger(*w, TCommandId::Run);
    ide::TConsoleWindow* console = w->Simulation()->Console();
    console->show();
    QTest::qWait(100);
    // The buttons carry their hints.
    const std::pair<const char*, const char*> hints[] = {{"ButtonClear", "Löschen"},
                                                         {"ButtonCancel", "Empfang Abbrechen"},
                                                         {"ButtonSend", "Senden"},
                                                         {"ButtonStayOnTop", "Geöffnet halten"}};
    for (const auto& [name, hint] : hints) {
      QWidget* button = console->findChild<QWidget*>(QString::fromUtf8(name));
      QVERIFY2(button, name);
      QCOMPARE(button->toolTip(), QString::fromUtf8(hint));
    }
    QCOMPARE(console->Panel(1)->minimumWidth(), 80);
    console->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(console));
    QTest::keyClicks(console->Output(), QStringLiteral("21"));
    // The line ends with the code chosen in the list and sent; the output has the focus again.
    console->ComboAscii()->setCurrentIndex(13);
    console->findChild<QWidget*>(QStringLiteral("ButtonSend"))->setFocus();
    QTest::mouseClick(console->findChild<QWidget*>(QStringLiteral("ButtonSend")), Qt::LeftButton);
    QVERIFY(console->Output()->hasFocus());
    QVERIFY(QTest::qWaitFor([&] { return Output(*w).find("42") != std::string::npos; }, kWaitMs));
    QVERIFY(console->Output()->toPlainText().contains(QStringLiteral("42")));
    QVERIFY2(console->Panel(1)->text().contains(QStringLiteral("Simulation")), qPrintable(console->Panel(1)->text()));
    // The token machine's line runs at its reset rate until the program sets another.
    QVERIFY2(console->Panel(2)->text().contains(QStringLiteral("19200/19200")), qPrintable(console->Panel(2)->text()));
    // Closing only hides it.
    console->close();
    QVERIFY(console->isHidden());
    Trigger(*w, TCommandId::Stop);
  }

  void outputPrintedWhileTheConsoleIsHiddenIsThereWhenItOpens() {
    auto w = Window(Lines({"DIM a AS INTEGER", "PRINT \"Hallo aus dem Hintergrund\"", "INPUT a",
                           "PRINT \"Eingabe \"; a", "END"}),
                    profile::Pyxon32);
    ide::TConsoleWindow* console = w->Simulation()->Console();
    QVERIFY(console->isHidden());
    Trigger(*w, TCommandId::Run);
    QVERIFY(QTest::qWaitFor([&] { return Output(*w).find("Hintergrund") != std::string::npos; }, kWaitMs));
    // The closed window did no work meanwhile; opening it shows what was printed.
    QVERIFY(console->Output()->toPlainText().isEmpty());
    Trigger(*w, TCommandId::Console);
    QVERIFY(console->isVisible());
    QVERIFY(console->Output()->toPlainText().startsWith(QStringLiteral("Hallo aus dem Hintergrund")));
    // The answer's output arrives after the window was closed again; it is there at the
    // next opening, after the text shown before.
    QTest::keyClicks(console->Output(), QStringLiteral("7"));
    QTest::keyClick(console->Output(), Qt::Key_Return);
    console->close();
    QVERIFY(QTest::qWaitFor([&] { return Output(*w).find("Eingabe 7") != std::string::npos; }, kWaitMs));
    QVERIFY(!console->Output()->toPlainText().contains(QStringLiteral("Eingabe")));
    Trigger(*w, TCommandId::Console);
    const QString shown = console->Output()->toPlainText();
    QVERIFY2(shown.startsWith(QStringLiteral("Hallo aus dem Hintergrund")) && shown.contains(QStringLiteral("Eingabe 7")),
             qPrintable(shown));
    Trigger(*w, TCommandId::Stop);
  }

  void aFloodOfOutputKeepsTheEventLoopTurning() {
    // At 115200 baud a character costs the machine no time: it prints as fast as it runs.
    auto w = Window(Lines({"SETBAUD 115200", "DO", "  PRINT \"Zeile mit etwas Text, immer wieder\"", "LOOP"}),
                    profile::Pyxon32);
    w->Simulation()->Console()->show();
    int turns = 0;
    QTimer counter;
    counter.setInterval(10);
    connect(&counter, &QTimer::timeout, this, [&] { ++turns; });
    counter.start();
    Trigger(*w, TCommandId::Run);
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(1500);
    const qint64 elapsed = clock.elapsed();
    counter.stop();
    const size_t shown = Output(*w).size();
    Trigger(*w, TCommandId::Stop);
    QVERIFY2(shown > 1000, "the program printed");
    // Only a bounded tail is kept, however much arrived.
    QVERIFY(shown <= kConsoleTextLimit);
    QVERIFY(w->Simulation()->Console()->Output()->document()->blockCount() <= 5001);
    // A 10 ms timer turns about 150 times in 1.5 s; a window that froze for whole seconds
    // (as it did while laying out all of a flood) turns a handful. The margin allows for a
    // busy machine.
    QVERIFY2(turns > elapsed / 10 / 5, qPrintable(QStringLiteral("%1 turns in %2 ms").arg(turns).arg(elapsed)));
  }

  void objectPanelInsertsEditsAndTakesTheMouse() {
    auto w = Window(Lines({"DIM poti AS BYTE AD[1]", "DIM hits AS INTEGER", "SUB INTERRUPT", "  hits = hits + 1",
                           "END SUB", "INTERRUPT ON", "DO", "  PRINT poti; \" \"; hits", "  PAUSE 1", "LOOP"}),
                    profile::Pyxon32);
    ide::TObjectPanel* panel = w->Simulation()->Objects();
    TObjectGrid& grid = w->Simulation()->Grid();
    QVERIFY(panel->isVisible());  // in the bottom panel, empty or not
    QVERIFY(w->BottomPanel()->isAncestorOf(panel));
    grid.Select(0, 0);
    panel->InsertButton(objecttype::AnalogWheel)->trigger();
    QCOMPARE(grid.At(0, 0).type, objecttype::AnalogWheel);
    w->BasicEditor()->setModified(false);
    QVERIFY(w->Modified());  // closing asks to save the new object
    // The settings grid shows the wheel's rows; an edit goes through the row editor.
    QCOMPARE(panel->SettingsGrid()->rowCount(), 3);
    QCOMPARE(panel->SettingsGrid()->item(0, 0)->text(), QStringLiteral("Name:"));
    QVERIFY(panel->EditRow(1, "poti"));
    QVERIFY(panel->EditRow(2, "254"));
    QVERIFY(!panel->InsertButton(objecttype::LedRed)->isEnabled());  // a wheel cannot become an LED
    grid.Select(1, 0);
    panel->Refresh();
    QVERIFY(panel->InsertButton(objecttype::LedRed)->isEnabled());
    panel->InsertButton(objecttype::Interrupt)->trigger();
    QCOMPARE(grid.At(1, 0).type, objecttype::Interrupt);

    ui::TObjectGridWidget* cells = panel->GridWidget();
    // The wheel's arrows: 10 to 14 pixels right of the centre (or 10 to 15 left of it), 24
    // to 27 above the bottom. They turn it with or without a run.
    const QRect wheel = cells->CellRect(0, 0);
    const QPoint plus(wheel.center().x() + 12, wheel.bottom() + 1 - 25);
    const QPoint minus(wheel.center().x() - 12, wheel.bottom() + 1 - 25);
    QTest::mouseClick(cells, Qt::LeftButton, {}, plus);
    QCOMPARE(SlotText(grid.At(0, 0), 1), std::string("255"));
    QTest::mouseClick(cells, Qt::LeftButton, {}, minus);
    QCOMPARE(SlotText(grid.At(0, 0), 1), std::string("254"));
    grid.Select(1, 0);

    Trigger(*w, TCommandId::Run);
    QVERIFY(!panel->InsertButton(objecttype::LedRed)->isEnabled());  // no editing while running
    QTest::mouseClick(cells, Qt::LeftButton, {}, plus);
    QCOMPARE(SlotText(grid.At(0, 0), 1), std::string("255"));
    QTest::mouseClick(cells, Qt::LeftButton, {}, plus);
    QCOMPARE(SlotText(grid.At(0, 0), 1), std::string("255"));  // not beyond 255
    TSimulatedHardware& hw = w->Simulation()->Hardware();
    QVERIFY(QTest::qWaitFor([&] { return hw.adInputs[1].load() == 255 || hw.adInputs[0].load() == 255; }, kWaitMs));
    // The interrupt button held down runs the handler.
    const QPoint button = cells->CellRect(1, 0).center();
    QTest::mousePress(cells, Qt::LeftButton, {}, button);
    // Several ticks may raise it between two prints: any count above 0 will do.
    auto lastCount = [&] {
      const std::string out = Output(*w);
      const size_t end = out.rfind("\r\n");
      if (end == std::string::npos || end == 0) return std::string();
      const size_t start = out.rfind(' ', end - 1);
      return start == std::string::npos ? std::string() : out.substr(start + 1, end - start - 1);
    };
    QVERIFY(QTest::qWaitFor([&] { const std::string c = lastCount(); return !c.empty() && c != "0"; }, kWaitMs));
    QTest::mouseRelease(cells, Qt::LeftButton, {}, button);
    QCOMPARE(grid.At(1, 0).pictureIndex, objectpicture::Released);
    // A right click selects while the run goes on.
    QTest::mouseClick(cells, Qt::RightButton, {}, cells->CellRect(3, 2).center());
    QCOMPARE(grid.SelectedX(), 3);
    QCOMPARE(grid.SelectedY(), 2);
    Trigger(*w, TCommandId::Stop);
    QVERIFY(panel->InsertButton(objecttype::LedRed)->isEnabled());
  }

  void tesselRuntimeErrorSelectsItsStatementAndTypingReachesInput() {
    if (!TesselRuntimeFor(profile::Tessel11)) QSKIP("no Tessel runtime in this build");
    auto w = Window(Lines({"DIM a AS INTEGER", "INPUT a", "PRINT a * 2", "RETURN", "END"}), profile::Tessel11);
    const uint64_t before = w->Simulation()->Pauses();
    Trigger(*w, TCommandId::Run);
    ide::TConsoleWindow* console = w->Simulation()->Console();
    console->show();
    QTest::qWait(100);
    QTest::keyClicks(console->Output(), QStringLiteral("21"));
    QTest::keyClick(console->Output(), Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([&] { return Output(*w).find("42") != std::string::npos; }, kWaitMs));
    QVERIFY(QTest::qWaitFor([&] { return w->Simulation()->Pauses() > before; }, kWaitMs));
    QCOMPARE(w->Simulation()->PausedLine(), 4);
    QCOMPARE(SelectedLine(w->BasicEditor()), 4);
    // The status panels show the SCI's rates as the runtime set them (4 MHz / 416).
    QVERIFY2(console->Panel(2)->text().contains(QStringLiteral("9615/9615")), qPrintable(console->Panel(2)->text()));
    // The error's message, then the controller's registers on a line of their own.
    QVERIFY2(Status(*w).find("\r\nA = ") != std::string::npos && !Status(*w).starts_with("\r\n"), Status(*w).c_str());
    Trigger(*w, TCommandId::Stop);
  }

  void aStartThatDoesNotCompileShowsTheErrorLikeACompile() {
    auto w = Window(Lines({"DIM a AS BYTE", "a = 1", "a = ", "END"}), profile::Pyxon32);
    w->BasicEditor()->setSelection(0, 0, 0, 1);
    Trigger(*w, TCommandId::Run);
    QCOMPARE(w->Simulation()->Control().RunKind(), runkind::None);
    QVERIFY(w->Action(TCommandId::Run)->isEnabled());
    QVERIFY(!w->Action(TCommandId::Stop)->isEnabled());
    QVERIFY(!w->BasicEditor()->isReadOnly());
    // The error with its position in the strip, its line selected in the editor.
    const workspace::TErrorDisplay& display = w->ErrorDisplay()->Display();
    QVERIFY(!display.Slot(workspace::TSlot::Compile).text.empty());
    QVERIFY(display.Slot(workspace::TSlot::Compile).position >= 0);
    QVERIFY(display.Slot(workspace::TSlot::Status).text.empty());  // no "Compilieren..." left
    QCOMPARE(SelectedLine(w->BasicEditor()), 3);

    // An assembler error likewise, on the assembler page.
    auto a = Window(Lines({"CALL eins", "END"}), profile::Tessel11, Lines({"eins LDA #1", "     XYZ 5", "     RTS"}));
    if (!TesselRuntimeFor(profile::Tessel11)) return;
    Trigger(*a, TCommandId::Run);
    QCOMPARE(a->Simulation()->Control().RunKind(), runkind::None);
    QVERIFY(!a->ErrorDisplay()->Display().Slot(workspace::TSlot::Assembler).text.empty());
    QCOMPARE(a->EditorControl()->currentIndex(), 1);
    QVERIFY(!a->AssemblerEditor()->isReadOnly());
  }

  void aSelectedVariableDisplayShowsTheValueInItsSettingsWhileRunning() {
    auto w = Window(Lines({"DIM zaehler AS INTEGER", "DO", "  zaehler = zaehler + 1", "  PAUSE 20", "LOOP"}),
                    profile::Pyxon32);
    Place(w->Simulation()->Grid(), 0, 0, objecttype::VariableNumerical, "zaehler");
    ide::TObjectPanel* panel = w->Simulation()->Objects();
    panel->Refresh();
    QCOMPARE(panel->SettingsGrid()->rowCount(), 2);
    QCOMPARE(panel->SettingsGrid()->item(1, 0)->text(), QStringLiteral("Wert"));
    Trigger(*w, TCommandId::Run);
    auto shown = [&] { return panel->SettingsGrid()->item(1, 1)->text().toInt(); };
    QVERIFY(QTest::qWaitFor([&] { return shown() > 0; }, kWaitMs));
    const int first = shown();
    QVERIFY(QTest::qWaitFor([&] { return shown() > first; }, kWaitMs));
    Trigger(*w, TCommandId::Stop);
  }

  void aBadObjectBindingPausesWithItsMessage() {
    const std::string message =
        "Das Objekt taste hat für das Attribut I/O Port den ungültigen Wert \"nirgends\". Sie können das Objekt "
        "jetzt neu konfigurieren und die Simulation fortsetzen.";
    for (TProfile profile : {profile::Pyxon32, profile::Tessel11}) {
      if (profile == profile::Tessel11 && !TesselRuntimeFor(profile)) continue;
      auto w = Window(Lines({"DIM n AS INTEGER", "DO", "  n = n + 1", "LOOP"}), profile);
      Place(w->Simulation()->Grid(), 4, 3, objecttype::Switch, "taste", {"nirgends", "1", "1"});
      w->Simulation()->Grid().Select(0, 0);
      Trigger(*w, TCommandId::Run);
      QVERIFY(QTest::qWaitFor([&] { return w->Simulation()->Control().RunKind() == runkind::Paused; }, kWaitMs));
      QCOMPARE(w->Simulation()->Grid().SelectedX(), 4);
      QCOMPARE(w->Simulation()->Grid().SelectedY(), 3);
      if (profile == profile::Pyxon32) {
        QCOMPARE(Status(*w), message);
      } else {
        // On the controller an object error comes with the registers.
        QVERIFY2(Status(*w).starts_with(message + "\r\nA = "), Status(*w).c_str());
      }
      Trigger(*w, TCommandId::Stop);
    }
  }

  void tesselStopsAtBasicAndAssemblerLines() {
    if (!TesselRuntimeFor(profile::Tessel11)) QSKIP("no Tessel runtime in this build");
    auto w = Window(Lines({"DIM a AS INTEGER", "a = 7", "CALL bump", "PRINT \"ok\"", "END"}), profile::Tessel11,
                    Lines({"bump LDA #$55", "     STA $CB", "     INC $CB", "     RTS"}));
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->ErrorDisplay()->setFocus();
    QCOMPARE(StepTo(*w, TCommandId::RunNext), 2);
    QVERIFY(w->BasicEditor()->hasFocus());  // the stop gives the focus back to the editor
    QCOMPARE(w->Simulation()->PausedPage(), 0);
    QCOMPARE(SelectedLine(w->BasicEditor()), 2);
    // A stop shows the controller's registers with where the runtime reads the program.
    QVERIFY2(Status(*w).starts_with("A = ") && Status(*w).find("  BASIC PC = ") != std::string::npos, Status(*w).c_str());
    QCOMPARE(StepTo(*w, TCommandId::RunNext), 3);
    Trigger(*w, TCommandId::Stop);

    GutterClick(w->AssemblerEditor(), 3);  // INC $CB
    QCOMPARE(StepTo(*w, TCommandId::RunNextBreak), 3);
    QCOMPARE(w->Simulation()->PausedPage(), 1);
    QCOMPARE(w->EditorControl()->currentIndex(), 1);
    QCOMPARE(SelectedLine(w->AssemblerEditor()), 3);
    QVERIFY2(Status(*w).find("  BASIC PC = ") != std::string::npos, Status(*w).c_str());
    QCOMPARE(StepTo(*w, TCommandId::RunNext), 4);  // RTS
    QCOMPARE(w->Simulation()->PausedPage(), 1);
    // On past the machine code to the next BASIC statement.
    int line = 0;
    for (int i = 0; i < 4 && !(w->Simulation()->PausedPage() == 0 && line == 4); ++i) line = StepTo(*w, TCommandId::RunNext);
    QCOMPARE(line, 4);
    Trigger(*w, TCommandId::Run);
    QVERIFY(QTest::qWaitFor([&] { return Output(*w).find("ok") != std::string::npos; }, kWaitMs));
    Trigger(*w, TCommandId::Stop);
    QVERIFY(!w->AssemblerEditor()->isReadOnly());
  }

  void leavingTheProjectOrItsBoardEndsTheRun() {
    const std::string loop = Lines({"DIM n AS INTEGER", "DO", "  n = n + 1", "LOOP"});
    auto w = Window(loop, profile::Pyxon32);
    // Another board: the run built for the old one ends before the project is compiled again.
    Trigger(*w, TCommandId::Run);
    QVERIFY(w->Simulation()->Control().Active());
    Trigger(*w, TCommandId::ProfilePyxon128);
    QVERIFY(!w->Simulation()->Control().Active());
    QCOMPARE(w->Profile(), profile::Pyxon128);
    QCOMPARE(w->ErrorDisplay()->Display().Slot(workspace::TSlot::Compile).text, std::string("Compiliert für Pyxon 128."));

    // A file dropped during a run: the run ends and the console is put away first.
    const std::string dropped = m_dir.filePath(QStringLiteral("fallen.xml")).toStdString();
    TProject project;
    project.profile = profile::Pyxon32;
    project.basicSource = loop;
    QVERIFY(SaveProject(dropped, project).saved);
    Trigger(*w, TCommandId::Run);
    Trigger(*w, TCommandId::Console);
    QVERIFY(w->Simulation()->Console()->isVisible());
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(dropped))});
    m_shown.clear();
    QVERIFY(w->BasicEditor()->DropFiles(&mime));  // the unsaved project: No
    QCOMPARE(m_shown.size(), size_t{1});
    QVERIFY(!w->Simulation()->Control().Active());
    QVERIFY(!w->Simulation()->Console()->isVisible());
    QCOMPARE(w->CurrentFile(), dropped);

    // The compile command starts with an empty console; transfer and export keep it.
    w->Simulation()->ConsoleModel().Receive("vorher");
    w->Simulation()->ConsoleModel().Refresh();
    QVERIFY(!w->MExportClick());  // no file chosen, but built
    QCOMPARE(Output(*w), std::string("vorher"));
    Trigger(*w, TCommandId::Compile);
    QCOMPARE(Output(*w), std::string());

    // A write-protected file stays protected when its run ends.
    std::filesystem::permissions(dropped, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                              std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    QVERIFY(w->OpenFile(dropped));
    QVERIFY(w->BasicEditor()->isReadOnly());
    Trigger(*w, TCommandId::Run);
    QVERIFY(w->Simulation()->Control().Active());
    Trigger(*w, TCommandId::Stop);
    QVERIFY(!w->Simulation()->Control().Active());
    QVERIFY(w->BasicEditor()->isReadOnly());
    QVERIFY(w->AssemblerEditor()->isReadOnly());
  }
};

QTEST_MAIN(TSimulationWindowTest)
#include "simulation_window_test.moc"
