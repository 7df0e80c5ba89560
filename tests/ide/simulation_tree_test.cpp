// The simulation against the project's structure, offscreen: pauses inside included
// modules show the module's tab and line, breakpoints set in a module's tab stop the run,
// the paused variables as nodes of the project tree, the object nodes of the tree, and
// the settings grid's row editors.
#include <filesystem>
#include <fstream>

#include "ide/main_window.h"
#include "window_test_support.h"
#include "ide/object_panel.h"
#include "ide/simulation_controller.h"
#include "project/open_file.h"
#include "project/project_file.h"
#include "simulation/tessel_runtime.h"
#include "ui/error_strip.h"
#include "ui/object_grid_widget.h"
#include "ui/source_editor.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace zarvek;
using namespace zarvek::test;
using workspace::TAnswer;
using workspace::TCommandId;
using workspace::TMessage;

class TSimulationTreeTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  std::vector<TMessage> m_shown;

  std::string PathOf(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)).toStdString(); }

  void WriteProject(const char* name, TProfile profile, const std::string& basic, const std::string& assembler = {}) {
    TProject p;
    p.profile = profile;
    p.basicSource = basic;
    p.assemblerSource = assembler;
    QVERIFY(SaveProject(PathOf(name), p).saved);
  }

  std::unique_ptr<ide::TForm1> OpenWindow(const std::string& file) {
    auto w = std::make_unique<ide::TForm1>(PathOf("tree.ini"));
    w->askHook = [this](const TMessage& m) {
      m_shown.push_back(m);
      return TAnswer::No;
    };
    w->fileDialogHook = [](ide::TFileDialog, const std::string&, const std::string&) { return std::optional<std::string>(); };
    w->resize(1000, 700);
    w->show();
    if (!file.empty()) {
      const bool opened = w->OpenFile(file);
      if (!opened) qWarning("cannot open %s", file.c_str());
    }
    return w;
  }
  static QString ActiveTab(ide::TForm1& w) { return w.TabFiles()->tabText(w.TabFiles()->currentIndex()); }
  static QStringList Children(QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; item && i < item->childCount(); ++i) texts << item->child(i)->text(0);
    return texts;
  }

 private Q_SLOTS:
  void initTestCase() {
    QVERIFY(m_dir.isValid());
    // The traffic-light example: a project whose SUB lives in an included module.
    for (const char* name : {"ampel.xml", "ampel_phasen.xml"})
      QVERIFY(std::filesystem::copy_file(std::string(ZARVEK_SOURCE_DIR "/examples/") + name, PathOf(name)));
  }

  void steppingIntoAModulesSubShowsTheModulesTab() {
    auto w = OpenWindow(PathOf("ampel.xml"));
    QCOMPARE(w->TabFiles()->count(), 2);
    // The first statement of the module on the way: its SUB's head, which the main
    // program passes at the $INCLUDE, shown in the module's tab.
    int line = 0;
    for (int i = 0; i < 12 && w->Simulation()->PausedFile() != PathOf("ampel_phasen.xml"); ++i)
      line = StepTo(*w, TCommandId::RunNext);
    QCOMPARE(QString::fromStdString(w->Simulation()->PausedFile()), QString::fromStdString(PathOf("ampel_phasen.xml")));
    QCOMPARE(line, 5);
    QCOMPARE(ActiveTab(*w), QStringLiteral("ampel_phasen"));
    QCOMPARE(SelectedLine(w->BasicEditor()), 5);
    // Stepping into the SUB: its first statement, in the module's own lines.
    for (int i = 0; i < 12 && line != 6; ++i) line = StepTo(*w, TCommandId::RunNext);
    QCOMPARE(line, 6);  // SELECT CASE nummer
    QCOMPARE(ActiveTab(*w), QStringLiteral("ampel_phasen"));
    QCOMPARE(w->CurrentFile(), PathOf("ampel_phasen.xml"));
    QVERIFY(w->BasicEditor()->text(line - 1).contains(QStringLiteral("SELECT CASE nummer")));
    QCOMPARE(SelectedLine(w->BasicEditor()), 6);
    QVERIFY(w->BasicEditor()->isReadOnly());  // still running
    QVERIFY(w->Simulation()->Control().Active());
    // The run's objects stay on the grid: the three lamps of the main project.
    QCOMPARE(w->Simulation()->Grid().At(0, 0).type, objecttype::LedRed);
    // The variables of both frames: the SUB's parameter in its own branch.
    QCOMPARE(Children(Variables(*w)), (QStringList{QStringLiteral("Hauptprogramm"), QStringLiteral("phase")}));
    QVERIFY(Children(Variables(*w)->child(1)).contains(QStringLiteral("nummer=0")));

    // Stepping on back out of the SUB returns to the main project's tab.
    for (int i = 0; i < 12 && w->Simulation()->PausedFile() != PathOf("ampel.xml"); ++i) line = StepTo(*w, TCommandId::RunNext);
    QCOMPARE(ActiveTab(*w), QStringLiteral("ampel"));
    QCOMPARE(line, 11);  // PAUSE 50 after the call
    QCOMPARE(SelectedLine(w->BasicEditor()), 11);

    // A breakpoint set in the module's tab while paused stops the run there.
    w->TabFiles()->setCurrentIndex(1);
    QCOMPARE(w->CurrentFile(), PathOf("ampel_phasen.xml"));
    QVERIFY(w->BasicEditor()->isReadOnly());
    GutterClick(w->BasicEditor(), 14);  // lampen = 4 (phase 2)
    line = StepTo(*w, TCommandId::RunNextBreak);
    // The example's lamps are bound to the module's port variable: no object error.
    const std::string status = w->ErrorDisplay()->Display().Slot(workspace::TSlot::Status).text;
    QVERIFY2(status.find("Das Objekt") == std::string::npos, status.c_str());
    QCOMPARE(line, 14);
    QCOMPARE(ActiveTab(*w), QStringLiteral("ampel_phasen"));
    QCOMPARE(SelectedLine(w->BasicEditor()), 14);
    QVERIFY(Children(Variables(*w)->child(1)).contains(QStringLiteral("nummer=2")));
    // Running on to the breakpoint again: the same module line, one round later.
    QCOMPARE(StepTo(*w, TCommandId::RunNextBreak), 14);
    QCOMPARE(QString::fromStdString(w->Simulation()->PausedFile()), QString::fromStdString(PathOf("ampel_phasen.xml")));

    // Esc: editors editable again, the variables gone, the module's breakpoint kept.
    w->Action(TCommandId::Stop)->trigger();
    QVERIFY(!w->Simulation()->Control().Active());
    QVERIFY(!w->BasicEditor()->isReadOnly());
    QVERIFY(!Variables(*w));
    QVERIFY(w->BasicEditor()->Breakpoints().count(14));
    // Back in the main project: a start from there stops at the module's breakpoint.
    w->TabFiles()->setCurrentIndex(0);
    QCOMPARE(w->CurrentFile(), PathOf("ampel.xml"));
    QVERIFY(w->BasicEditor()->Breakpoints().empty());
    QVERIFY(w->Action(TCommandId::RunNextBreak)->isEnabled());
    QCOMPARE(StepTo(*w, TCommandId::RunNextBreak), 14);
    QCOMPARE(ActiveTab(*w), QStringLiteral("ampel_phasen"));
    w->Action(TCommandId::Stop)->trigger();
    // The grid still holds the main project's lamps; an edit made now belongs to them and
    // reaches the main project's file when the editors change files.
    TObjectGrid& grid = w->Simulation()->Grid();
    grid.Select(0, 0);
    QVERIFY(w->Simulation()->Objects()->EditRow(0, "Rot2"));
    w->TabFiles()->setCurrentIndex(0);
    QCOMPARE(w->CurrentFile(), PathOf("ampel.xml"));
    QCOMPARE(grid.At(0, 0).name, std::string("Rot2"));
    TProject main, module;
    QCOMPARE(zarvek::OpenFile(PathOf("ampel.xml"), main).result, loadresult::Loaded);
    QCOMPARE(main.At(0, 0).name, std::string("Rot2"));
    // Nothing of the run or its objects was written into the module's file.
    QCOMPARE(zarvek::OpenFile(PathOf("ampel_phasen.xml"), module).result, loadresult::Loaded);
    QCOMPARE(module.At(0, 0).type, objecttype::Empty);
  }

  void aRuntimeErrorInAModuleSelectsItsLineThere() {
    WriteProject("fehler_modul.xml", profile::Pyxon32, Lines({"DIM m AS BYTE", "m = 5", "RETURN", "m = 6"}));
    WriteProject("fehler.xml", profile::Pyxon32, Lines({"' Hauptprojekt", "$INCLUDE \"fehler_modul.xml\"", "END"}));
    auto w = OpenWindow(PathOf("fehler.xml"));
    const uint64_t before = w->Simulation()->Pauses();
    w->Action(TCommandId::Run)->trigger();
    QVERIFY(QTest::qWaitFor([&] { return w->Simulation()->Pauses() > before; }, kWaitMs));
    QCOMPARE(w->Simulation()->PausedLine(), 3);
    QCOMPARE(w->CurrentFile(), PathOf("fehler_modul.xml"));
    QCOMPARE(SelectedLine(w->BasicEditor()), 3);
    // The error text stays in view after the jump.
    QVERIFY(!w->ErrorDisplay()->Display().Slot(workspace::TSlot::Status).text.empty());
    const int32_t address = w->Simulation()->LastStopAddress();
    w->Action(TCommandId::Stop)->trigger();

    // Laufzeitfehler suchen finds it in the module too, from the main project's tab.
    w->TabFiles()->setCurrentIndex(0);
    QCOMPARE(w->CurrentFile(), PathOf("fehler.xml"));
    w->inputHook = [&](const std::string&, const std::string&) { return std::optional<std::string>(std::to_string(address)); };
    w->Action(TCommandId::FindAddress)->trigger();
    QCOMPARE(w->CurrentFile(), PathOf("fehler_modul.xml"));
    QCOMPARE(SelectedLine(w->BasicEditor()), 3);
  }

  void tesselPausesInAModulesBasicAndAssemblerLines() {
    if (!TesselRuntimeFor(profile::Tessel11)) QSKIP("no Tessel runtime in this build");
    WriteProject("tmodul.xml", profile::Tessel11, Lines({"SUB zeige", "  PRINT \"z\"", "END SUB"}),
                 Lines({"bump LDA #$55", "     STA $CB", "     RTS"}));
    WriteProject("thaupt.xml", profile::Tessel11,
                 Lines({"$INCLUDE \"tmodul.xml\"", "DIM a AS INTEGER", "a = 1", "CALL zeige", "CALL bump", "PRINT \"ok\"", "END"}));
    auto w = OpenWindow(PathOf("thaupt.xml"));
    int line = 0;
    for (int i = 0; i < 12 && !(w->Simulation()->PausedFile() == PathOf("tmodul.xml") && line == 2); ++i)
      line = StepTo(*w, TCommandId::RunNext);
    QCOMPARE(line, 2);  // PRINT "z" in the module's SUB
    QCOMPARE(w->Simulation()->PausedPage(), 0);
    QCOMPARE(w->CurrentFile(), PathOf("tmodul.xml"));
    QCOMPARE(SelectedLine(w->BasicEditor()), 2);
    // The Tessel boards keep no locals: one branch with the globals from the RAM.
    QCOMPARE(Children(Variables(*w)), QStringList{QStringLiteral("Hauptprogramm")});
    QVERIFY(Children(Variables(*w)->child(0)).contains(QStringLiteral("a=1")));
    // On to the machine code, which the module's assembler part holds.
    for (int i = 0; i < 8 && w->Simulation()->PausedPage() != 1; ++i) line = StepTo(*w, TCommandId::RunNext);
    QCOMPARE(w->Simulation()->PausedPage(), 1);
    QVERIFY2(line >= 1 && line <= 3, qPrintable(QString::number(line)));
    QCOMPARE(w->CurrentFile(), PathOf("tmodul.xml"));
    QCOMPARE(w->EditorControl()->currentIndex(), 1);
    QCOMPARE(SelectedLine(w->AssemblerEditor()), line);
    w->Action(TCommandId::Stop)->trigger();

    // An assembler breakpoint set in the module's tab stops a run started from the main
    // project.
    GutterClick(w->AssemblerEditor(), 3);  // RTS
    w->TabFiles()->setCurrentIndex(0);
    QCOMPARE(StepTo(*w, TCommandId::RunNextBreak), 3);
    QCOMPARE(w->Simulation()->PausedPage(), 1);
    QCOMPARE(w->CurrentFile(), PathOf("tmodul.xml"));
    QCOMPARE(SelectedLine(w->AssemblerEditor()), 3);
    w->Action(TCommandId::Stop)->trigger();
  }

  // A start builds what the editors hold: the tree shows the sizes and labels of that.
  void aStartShowsTheSizesAndLabelsOfWhatRuns() {
    if (!TesselRuntimeFor(profile::Tessel11)) QSKIP("no Tessel runtime in this build");
    WriteProject("groesse.xml", profile::Tessel11, Lines({"DIM a AS BYTE", "a = 1", "END"}), Lines({"alt: RTS"}));
    auto w = OpenWindow(PathOf("groesse.xml"));
    QTreeWidgetItem* basic = w->Tree()->topLevelItem(0)->child(1);
    const QString compiled = basic->text(0);
    QVERIFY(compiled.startsWith(QStringLiteral("BASIC (")));
    w->BasicEditor()->SetCp1252Text(Lines({"DIM a AS BYTE", "a = 1", "a = a + 2", "PRINT a", "END"}));
    w->AssemblerEditor()->SetCp1252Text(Lines({"neu: NOP", "alt: RTS"}));
    QCOMPARE(StepTo(*w, TCommandId::RunNext), 2);  // the first statement
    QTreeWidgetItem* root = w->Tree()->topLevelItem(0);
    QCOMPARE(root->child(0)->text(0), QStringLiteral("Assembler (2 Bytes)"));
    QCOMPARE(Children(root->child(0)), (QStringList{QStringLiteral("alt"), QStringLiteral("neu")}));
    QVERIFY(root->child(1)->text(0) != compiled);
    w->Action(TCommandId::Stop)->trigger();
    w->BasicEditor()->setModified(false);
    w->AssemblerEditor()->setModified(false);
  }

  void gutterClicksInTheAssemblerEditorSetAssemblerBreakpoints() {
    // Pyxon runs no machine code: a click in the assembler gutter is no BASIC breakpoint
    // on the line of the same number.
    WriteProject("schleife.xml", profile::Pyxon32, Lines({"DIM a AS BYTE", "DO", "  a = a + 1", "LOOP", "END"}),
                 Lines({"leer NOP", "     NOP", "     NOP"}));
    auto w = OpenWindow(PathOf("schleife.xml"));
    GutterClick(w->BasicEditor(), 5);  // never reached
    const uint64_t before = w->Simulation()->Pauses();
    w->Action(TCommandId::RunNextBreak)->trigger();
    QTest::qWait(100);
    QVERIFY2(w->Simulation()->Control().Running(), w->ErrorDisplay()->Display().Slot(workspace::TSlot::Status).text.c_str());
    GutterClick(w->AssemblerEditor(), 3);
    QTest::qWait(300);
    QCOMPARE(w->Simulation()->Pauses(), before);
    GutterClick(w->BasicEditor(), 3);
    QVERIFY(QTest::qWaitFor([&] { return w->Simulation()->Pauses() > before; }, kWaitMs));
    QCOMPARE(w->Simulation()->PausedLine(), 3);
    QCOMPARE(w->Simulation()->PausedPage(), 0);
    w->Action(TCommandId::Stop)->trigger();

    // On Tessel the click reaches the running controller's code.
    if (!TesselRuntimeFor(profile::Tessel11)) QSKIP("no Tessel runtime in this build");
    WriteProject("tschleife.xml", profile::Tessel11, Lines({"DIM a AS BYTE", "DO", "  CALL bump", "LOOP", "END"}),
                 Lines({"bump LDA #1", "     STA $CB", "     RTS"}));
    w = OpenWindow(PathOf("tschleife.xml"));
    GutterClick(w->BasicEditor(), 5);
    const uint64_t tesselBefore = w->Simulation()->Pauses();
    w->Action(TCommandId::RunNextBreak)->trigger();
    QTest::qWait(100);
    QVERIFY(w->Simulation()->Control().Running());
    QCOMPARE(w->Simulation()->Pauses(), tesselBefore);
    GutterClick(w->AssemblerEditor(), 2);
    QVERIFY(QTest::qWaitFor([&] { return w->Simulation()->Pauses() > tesselBefore; }, kWaitMs));
    QCOMPARE(w->Simulation()->PausedPage(), 1);
    QCOMPARE(w->Simulation()->PausedLine(), 2);
    QCOMPARE(SelectedLine(w->AssemblerEditor()), 2);
    w->Action(TCommandId::Stop)->trigger();
  }

  void objectNodesSelectTheirCellAndOfferThePopup() {
    QVERIFY(std::filesystem::copy_file(ZARVEK_SOURCE_DIR "/examples/ampel.xml", PathOf("objekte.xml")));
    auto w = OpenWindow(PathOf("objekte.xml"));
    QTreeWidgetItem* hardware = TreeNode(*w, {QStringLiteral("Simulator"), QStringLiteral("Hardware")});
    QVERIFY(hardware);
    QCOMPARE(Children(hardware), (QStringList{QStringLiteral("Rot"), QStringLiteral("Gelb"), QStringLiteral("Gruen")}));
    TObjectGrid& grid = w->Simulation()->Grid();
    QCOMPARE(grid.SelectedY(), 0);
    Q_EMIT w->Tree()->itemClicked(hardware->child(2), 0);
    QCOMPARE(grid.SelectedX(), 0);
    QCOMPARE(grid.SelectedY(), 2);
    QCOMPARE(w->Simulation()->Objects()->SettingsGrid()->item(0, 1)->text(), QStringLiteral("Gruen"));

    // The popup of an object node acts on that object: copy "Gelb", paste on the objects
    // node into the grid's current cell (occupied, so a fresh cell).
    QMenu* popup = w->Simulation()->Objects()->PopupMenu();
    const QRect gelb = w->Tree()->visualItemRect(hardware->child(1));
    Q_EMIT w->Tree()->customContextMenuRequested(gelb.center());
    QVERIFY(popup->isVisible());
    QCOMPARE(grid.SelectedY(), 1);
    popup->actions()[0]->trigger();  // Kopieren
    popup->hide();
    hardware = TreeNode(*w, {QStringLiteral("Simulator"), QStringLiteral("Hardware")});
    Q_EMIT w->Tree()->customContextMenuRequested(w->Tree()->visualItemRect(hardware).center());
    QVERIFY(popup->actions()[2]->isEnabled());
    popup->actions()[2]->trigger();  // Einfügen
    popup->hide();
    QCOMPARE(grid.At(1, 1).name, std::string("Gelb"));
    QCOMPARE(grid.At(1, 1).type, objecttype::LedYellow);
    // The tree follows: a fourth object node.
    hardware = TreeNode(*w, {QStringLiteral("Simulator"), QStringLiteral("Hardware")});
    QCOMPARE(hardware->childCount(), 4);
    QVERIFY(w->Modified());
  }

  void theSettingsRowEditorsEditTheObject() {
    WriteProject("regler.xml", profile::Pyxon32,
                 Lines({"DIM poti AS BYTE AD[2]", "DIM leds AS BYTE PORT[1]", "DIM n AS BYTE", "n = poti"}));
    auto w = OpenWindow(PathOf("regler.xml"));
    ide::TObjectPanel* panel = w->Simulation()->Objects();
    TObjectGrid& grid = w->Simulation()->Grid();
    QTableWidget* rows = panel->SettingsGrid();
    grid.Select(0, 0);
    panel->InsertButton(objecttype::LedGreen)->trigger();
    QCOMPARE(rows->rowCount(), 4);

    // The name, typed into the row's editor.
    rows->setCurrentCell(0, 1);
    rows->editItem(rows->item(0, 1));
    auto* editor = rows->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->selectAll();
    editor->insert(QStringLiteral("Grün"));  // typed: keyClicks takes ASCII only
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([&] { return grid.At(0, 0).name == "Gr\xFCn"; }, kWaitMs));  // stored as cp1252
    QCOMPARE(TreeNode(*w, {QStringLiteral("Simulator"), QStringLiteral("Hardware")})->child(0)->text(0), QStringLiteral("Grün"));

    // Port and level from the lists the rows offer (the last build's port variables).
    auto* port = qobject_cast<QComboBox*>(rows->cellWidget(1, 1));
    QVERIFY(port);
    const int leds = port->findText(QStringLiteral("leds"));
    QVERIFY(leds >= 0);
    port->setCurrentIndex(leds);
    Q_EMIT port->textActivated(port->itemText(leds));
    QVERIFY(QTest::qWaitFor([&] { return SlotText(grid.At(0, 0), 0) == "leds"; }, kWaitMs));
    auto* level = qobject_cast<QComboBox*>(rows->cellWidget(3, 1));
    QVERIFY(level);
    QCOMPARE(level->count(), 2);
    Q_EMIT level->textActivated(QStringLiteral("0"));
    QVERIFY(QTest::qWaitFor([&] { return SlotText(grid.At(0, 0), 2) == "0"; }, kWaitMs));
    // The bit, typed.
    rows->setCurrentCell(2, 1);
    rows->editItem(rows->item(2, 1));
    editor = rows->findChild<QLineEdit*>();
    QVERIFY(editor);
    QTest::keyClicks(editor, QStringLiteral("3"));
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([&] { return SlotText(grid.At(0, 0), 1) == "3"; }, kWaitMs));

    // A wheel: its channel from the AD variables; a value that is no number is refused
    // with its reason and the row keeps the old value; a number is reduced to a byte.
    QTest::mouseClick(panel->GridWidget(), Qt::LeftButton, {}, panel->GridWidget()->CellRect(1, 0).center());
    QCOMPARE(grid.SelectedX(), 1);
    panel->InsertButton(objecttype::AnalogWheel)->trigger();
    QCOMPARE(grid.At(1, 0).type, objecttype::AnalogWheel);
    auto* channel = qobject_cast<QComboBox*>(rows->cellWidget(1, 1));
    QVERIFY(channel);
    QCOMPARE(channel->count(), 1);
    Q_EMIT channel->textActivated(channel->itemText(0));
    QVERIFY(QTest::qWaitFor([&] { return SlotText(grid.At(1, 0), 0) == "poti"; }, kWaitMs));
    rows->item(2, 1)->setText(QStringLiteral("viel"));
    QVERIFY(QTest::qWaitFor([&] { return rows->item(2, 1)->text().isEmpty(); }, kWaitMs));
    QCOMPARE(SlotText(grid.At(1, 0), 1), std::string());
    QCOMPARE(w->ErrorDisplay()->Display().Slot(workspace::TSlot::Status).text, std::string("Der Wert muss eine Zahl sein."));
    rows->item(2, 1)->setText(QStringLiteral("300"));
    QVERIFY(QTest::qWaitFor([&] { return SlotText(grid.At(1, 0), 1) == "44"; }, kWaitMs));
    QCOMPARE(rows->item(2, 1)->text(), QStringLiteral("44"));

    // While the program runs the rows cannot be edited.
    w->Action(TCommandId::Run)->trigger();
    QVERIFY(!(rows->item(0, 1)->flags() & Qt::ItemIsEditable));
    QVERIFY(!panel->EditRow(0, "anders"));
    QCOMPARE(grid.At(1, 0).name, std::string("AD"));
    w->Action(TCommandId::Stop)->trigger();
  }
};

QTEST_MAIN(TSimulationTreeTest)
#include "simulation_tree_test.moc"
