// The main window driven through its actions, offscreen, with message boxes and file
// dialogs answered by the test.
#include <deque>
#include <set>
#include <filesystem>
#include <fstream>

#include "ide/console_window.h"
#include "ide/main_window.h"
#include "ide/setup_dialog.h"
#include "ide/splash.h"
#include "ide/single_instance.h"
#include "project/file_io.h"
#include "project/project_file.h"
#include "ui/error_strip.h"
#include "workspace/help_topics.h"
#include "ui/help_list.h"
#include "ui/qt_text.h"
#include "ui/search_panel.h"
#include "ui/source_printer.h"
#include "ui/source_editor.h"

#include <QAction>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QMimeData>
#include <QUrl>
#include <QListWidget>
#include <QMenu>
#include <QFile>
#include <QSysInfo>
#include <QCheckBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QScrollBar>
#include <QTreeWidget>

using namespace zarvek;
using workspace::TAnswer;
using workspace::TCommandId;
using workspace::TMessage;

class TMainWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  std::deque<std::optional<std::string>> m_files;  // answers of the file dialogs
  std::deque<TAnswer> m_answers;                   // answers of the message boxes
  std::vector<TMessage> m_shown;

  std::string Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)).toStdString(); }

  void Hook(ide::TForm1& w) {
    w.fileDialogHook = [this](ide::TFileDialog, const std::string&, const std::string&) {
      std::optional<std::string> f;
      if (!m_files.empty()) {
        f = m_files.front();
        m_files.pop_front();
      }
      return f;
    };
    w.askHook = [this](const TMessage& m) {
      m_shown.push_back(m);
      TAnswer a = TAnswer::Ok;
      if (!m_answers.empty()) {
        a = m_answers.front();
        m_answers.pop_front();
      }
      return a;
    };
  }

  static void WriteProject(const std::string& path, const std::string& basic, const std::string& assembler = "",
                           TProfile profile = profile::Tessel11) {
    TProject p;
    p.profile = profile;
    p.basicSource = basic;
    p.assemblerSource = assembler;
    QVERIFY(SaveProject(path, p).saved);
  }

 private Q_SLOTS:
  void init() {
    m_files.clear();
    m_answers.clear();
    m_shown.clear();
  }

  void menusComeFromTheCommandTable() {
    ide::TForm1 w(Path("menus.ini"));
    for (const workspace::TCommand& c : workspace::Commands()) {
      QAction* a = w.findChild<QAction*>(ui::FromUtf8(c.name));
      QVERIFY2(a, c.name.data());
      if (!c.text.empty() && c.menu != workspace::TMenu::File) QCOMPARE(a->text(), ui::FromUtf8(c.text));
      if (!c.shortcut.empty()) QCOMPARE(a->shortcut(), QKeySequence(ui::FromUtf8(c.shortcut)));
      QCOMPARE(a->isCheckable(), c.checkable);
    }
    QCOMPARE(w.Action(TCommandId::Save)->shortcut(), QKeySequence(QStringLiteral("F2")));
    QCOMPARE(w.Action(TCommandId::ProgHelp)->shortcuts().size(), 2);
    QCOMPARE(w.windowTitle(), QStringLiteral("Zarvek"));
    QCOMPARE(w.TabFiles()->count(), 1);
    QCOMPARE(w.TabFiles()->tabText(0), QStringLiteral("(unbenannt)"));
    QVERIFY(!w.Action(TCommandId::ModuleBack)->isEnabled());
    QVERIFY(!w.Action(TCommandId::Recent1)->isVisible());
  }

  void compileErrorShowsInTheStripAndMarksTheLine() {
    ide::TForm1 w(Path("compile.ini"));
    Hook(w);
    w.resize(800, 600);
    w.show();
    QTRY_VERIFY(w.TabFiles()->height() > 0);  // the one tab of the new project is seen
    w.BasicEditor()->SetCp1252Text("DIM x AS BYTE\r\nx = 1\r\ngoto nirgends\r\n");
    w.Action(TCommandId::Compile)->trigger();
    const auto& slot = w.ErrorDisplay()->Display().Slot(workspace::TSlot::Compile);
    QVERIFY(!slot.text.empty());
    QVERIFY(slot.position > 0);
    QCOMPARE(w.BasicEditor()->ErrorLine(), 2);
    QCOMPARE(w.EditorControl()->currentIndex(), 0);
    QTRY_VERIFY(w.ErrorDisplay()->height() >= w.ErrorDisplay()->LineHeight());
    // The tree points at the page of the error too.
    QVERIFY(w.Tree()->currentItem());
    QVERIFY(w.Tree()->currentItem()->text(0).startsWith(QStringLiteral("BASIC")));
    w.BasicEditor()->SetCp1252Text("DIM x AS BYTE\r\nx = 1\r\n");
    w.AssemblerEditor()->SetCp1252Text(" nop\r\n unbekannt\r\n");
    w.Action(TCommandId::Compile)->trigger();
    QCOMPARE(w.EditorControl()->currentIndex(), 1);
    QVERIFY(w.Tree()->currentItem());
    QVERIFY(w.Tree()->currentItem()->text(0).startsWith(QStringLiteral("Assembler")));
    w.AssemblerEditor()->SetCp1252Text("");
    // Fixed: the success text, no error line.
    w.BasicEditor()->SetCp1252Text("DIM x AS BYTE\r\nx = 1\r\n");
    w.Action(TCommandId::Compile)->trigger();
    QCOMPARE(w.ErrorDisplay()->Display().Slot(workspace::TSlot::Compile).text, std::string("Compiliert für Tessel 1.1."));
    QCOMPARE(w.BasicEditor()->ErrorLine(), -1);
    // A profile change recompiles.
    w.Action(TCommandId::ProfilePyxon32)->trigger();
    QCOMPARE(w.ErrorDisplay()->Display().Slot(workspace::TSlot::Compile).text, std::string(" Compiliert für Pyxon 32."));
    QVERIFY(w.Action(TCommandId::ProfilePyxon32)->isChecked());
    QVERIFY(!w.Action(TCommandId::ProfileTessel11)->isChecked());
  }

  void saveOpenAndReplace() {
    const std::string file = Path("ampel.xml");
    ide::TForm1 w(Path("save.ini"));
    Hook(w);
    w.BasicEditor()->SetCp1252Text("x = 1 ' Gr\xfc\xdf\x65\r\n");
    m_files = {file};
    w.Action(TCommandId::Save)->trigger();
    QVERIFY(FileExists(file));
    QCOMPARE(w.windowTitle(), ui::FromUtf8("Zarvek- " + file));
    QVERIFY(!w.Modified());
    // A gutter click toggles a breakpoint; breakpoints are saved with the project.
    Q_EMIT w.BasicEditor()->marginClicked(1, 0, Qt::NoModifier);
    QCOMPARE(w.BasicEditor()->Breakpoints(), (std::set<int>{1}));
    w.BasicEditor()->setModified(true);
    w.Action(TCommandId::Save)->trigger();
    QVERIFY(ReadFileBytes(file, filelimit::kProjectFile).bytes.find("<breakpoint>1 </breakpoint></basic>") != std::string::npos);
    QVERIFY(w.OpenFile(file));  // an opened project starts without breakpoints
    QVERIFY(w.BasicEditor()->Breakpoints().empty());
    // A second save keeps a backup.
    w.BasicEditor()->SetCp1252Text("x = 2\r\n");
    w.Action(TCommandId::Save)->trigger();
    QVERIFY(m_shown.empty());
    QVERIFY(FileExists(ReplaceExtension(file, ".BAK")));
    // Save as onto an existing file: No asks again, Yes replaces.
    const std::string other = Path("other.xml");
    WriteProject(other, "alt\r\n");
    m_files = {other, other};
    m_answers = {TAnswer::No, TAnswer::Yes};
    w.Action(TCommandId::SaveAs)->trigger();
    QCOMPARE(m_shown.size(), size_t{2});
    QCOMPARE(m_shown[0], workspace::MessageText(workspace::TMessageId::ReplaceFile, other));
    QCOMPARE(w.CurrentFile(), other);
    // A name typed without extension is saved as a project file.
    m_files = {Path("ohne")};
    w.Action(TCommandId::SaveAs)->trigger();
    QCOMPARE(w.CurrentFile(), Path("ohne.xml"));
    QVERIFY(FileExists(Path("ohne.xml")));
    // New asks nothing while unmodified; open brings the text back (umlauts too).
    w.Action(TCommandId::New)->trigger();
    QCOMPARE(w.windowTitle(), QStringLiteral("Zarvek"));
    QVERIFY(w.OpenFile(file));
    QCOMPARE(w.BasicEditor()->text(), QStringLiteral("x = 2\r\n"));
    QVERIFY(w.OpenFile(ReplaceExtension(file, ".BAK")));
    QCOMPARE(w.BasicEditor()->text(), QString::fromUtf8("x = 1 ' Grüße\r\n"));
    // A modified project asks before New; Cancel keeps everything.
    w.BasicEditor()->SetCp1252Text("y = 1\r\n");
    m_shown.clear();
    m_answers = {TAnswer::Cancel};
    w.Action(TCommandId::New)->trigger();
    QCOMPARE(m_shown.size(), size_t{1});
    QVERIFY(m_shown[0].text.starts_with("Aktuelle Änderungen in Datei "));
    QCOMPARE(w.BasicEditor()->text(), QStringLiteral("y = 1\r\n"));
    // The recent files list the opened ones.
    QVERIFY(w.Action(TCommandId::Recent1)->text().startsWith(QStringLiteral("1. ")));
  }

  void notAProjectIsReported() {
    const std::string bad = Path("kaputt.xml");
    std::ofstream(bad) << "<other></other>";
    ide::TForm1 w(Path("bad.ini"));
    Hook(w);
    QVERIFY(!w.OpenFile(bad));
    QCOMPARE(m_shown.size(), size_t{1});
    QCOMPARE(m_shown[0].text, bad + " ist keine Projektdatei.");
    QCOMPARE(w.windowTitle(), QStringLiteral("Zarvek"));
  }

  void errorInAModuleJumpsToItsTabAndBack() {
    const std::string module = Path("modul.xml");
    const std::string main = Path("haupt.xml");
    WriteProject(module, "DIM a AS BYTE\r\na = 1\r\ngoto nirgends\r\n");
    WriteProject(main, "$INCLUDE \"modul.xml\"\r\nDIM b AS BYTE\r\nb = 2\r\n");
    ide::TForm1 w(Path("modules.ini"));
    Hook(w);
    QVERIFY(w.OpenFile(main));  // opens silently despite the error
    QCOMPARE(w.CurrentFile(), main);
    QCOMPARE(w.TabFiles()->count(), 2);
    QCOMPARE(w.TabFiles()->tabText(1), QStringLiteral("modul"));
    w.Action(TCommandId::Compile)->trigger();
    QCOMPARE(w.CurrentFile(), module);
    QCOMPARE(w.TabFiles()->currentIndex(), 1);
    QCOMPARE(w.BasicEditor()->ErrorLine(), 2);
    QVERIFY(w.Action(TCommandId::ModuleBack)->isEnabled());
    w.Action(TCommandId::ModuleBack)->trigger();
    QCOMPARE(w.CurrentFile(), main);
    QCOMPARE(w.TabFiles()->currentIndex(), 0);
    QVERIFY(!w.Action(TCommandId::ModuleBack)->isEnabled());
    // The tab bar switches files too, and Home returns.
    w.TabFiles()->setCurrentIndex(1);
    QCOMPARE(w.CurrentFile(), module);
    w.Action(TCommandId::ModuleHome)->trigger();
    QCOMPARE(w.CurrentFile(), main);
  }

  void newModuleFromTheWindow() {
    const std::string main = Path("eltern.xml");
    WriteProject(main, "x = 1\r\n");
    ide::TForm1 w(Path("newmodule.ini"));
    Hook(w);
    QVERIFY(w.OpenFile(main));
    m_files = {Path("kind")};
    w.Action(TCommandId::ModuleNew)->trigger();
    QCOMPARE(w.CurrentFile(), Path("kind.xml"));
    QVERIFY(FileExists(Path("kind.xml")));
    QCOMPARE(w.TabFiles()->count(), 2);
    QCOMPARE(w.TabFiles()->currentIndex(), 1);
    QCOMPARE(w.TabFiles()->tabText(1), QStringLiteral("kind"));
    QVERIFY(ReadFileBytes(main, filelimit::kProjectFile).bytes.find("$INCLUDE \"" + Path("kind.xml") + "\"\r\nx = 1") != std::string::npos);
    // The link leads back to the include line of the parent.
    w.Action(TCommandId::ModuleLink)->trigger();
    QCOMPARE(w.CurrentFile(), main);
    QCOMPARE(w.BasicEditor()->CaretOffset(), 0);
  }

  void startupOrderAndSettingsWrittenOnClose() {
    const std::string file = Path("start.xml");
    WriteProject(file, "x = 1\r\n", "", profile::Pyxon32);
    const std::string ini = Path("conf/zarvek/Zarvek.ini");
    std::filesystem::create_directories(std::filesystem::path(ini).parent_path());
    std::ofstream(ini) << "[File]=" << file << "\r\n[MC Init]=1\r\n[Profile]=5\r\n[Warnings]=0\r\n[Vertical]=222\r\n"
                       << "[Horizontal]=260\r\n[Width]=900\r\n[Height]=760\r\n";
    {
      ide::TForm1 w(ini);
      Hook(w);
      w.InitApplication({"-debug"});
      QVERIFY(w.DebugView());
      QCOMPARE(w.CurrentFile(), file);
      QCOMPARE(w.Profile(), profile::Pyxon32);  // the project's own profile
      QCOMPARE(w.Settings().options & option::McInit, 0);
      QCOMPARE(w.Settings().options & option::Warnings, 0);
      w.show();
      QVERIFY(QTest::qWaitForWindowExposed(&w));
      // The panels take the sizes of the settings once the window is laid out.
      QTRY_COMPARE(w.Tree()->width(), 222);
      QTRY_COMPARE(w.BottomPanel()->height(), 260);
      // The token view: shown, filled by the silent compile of the start file and by
      // every compile after it.
      QPlainTextEdit* memo = w.Memo1();
      QVERIFY(memo->isVisible());
      QVERIFY(memo->isReadOnly());
      QVERIFY(memo->font().fixedPitch() || QFontInfo(memo->font()).fixedPitch());
      QVERIFY(memo->toPlainText().startsWith(QStringLiteral("---- globaler Variablen Speicher ---\n")));
      memo->clear();
      w.BasicEditor()->SetCp1252Text("DIM g AS BYTE\r\ng = 3\r\n");
      w.Action(TCommandId::Compile)->trigger();
      const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
      QCOMPARE(lines.size(), 7);
      QVERIFY(lines[1].startsWith(QStringLiteral("255 0 0 ")));
      QCOMPARE(lines[2], QStringLiteral(" - Extern EEPROM - "));
      QCOMPARE(lines[4], QStringLiteral(" - Intern EEPROM - "));
      QCOMPARE(lines[6], QStringLiteral("90, 3, 90, 0, 95, 0, 255, 255"));
      // The run command compiles too.
      memo->clear();
      w.Action(TCommandId::Run)->trigger();
      QVERIFY(memo->toPlainText().endsWith(QStringLiteral("\n90, 3, 90, 0, 95, 0, 255, 255")));
      w.Action(TCommandId::Stop)->trigger();
      // The user moves the splitters; closing keeps what they left.
      auto* across = qobject_cast<QSplitter*>(w.centralWidget());
      QVERIFY(across);
      across->setSizes({240, across->width() - 240});
      QTRY_COMPARE(w.Tree()->width(), 240);
      w.BasicEditor()->setModified(false);
      QVERIFY(w.close());
    }
    const TFileContent written = ReadFileBytes(ini, filelimit::kProjectFile);
    QVERIFY(written.status == TReadStatus::Ok);
    QVERIFY(written.bytes.find("[File]=" + file + "\r\n") != std::string::npos);
    QVERIFY(written.bytes.find("[File0]=" + file + "\r\n") != std::string::npos);
    QVERIFY(written.bytes.find("[Profile]=4\r\n") != std::string::npos);
    QVERIFY(written.bytes.find("[Vertical]=240\r\n") != std::string::npos);  // the tree's width
    QVERIFY(written.bytes.find("[Horizontal]=260\r\n") != std::string::npos);  // the bottom panel's height
    // Without a start file the settings' profile holds; a bottom panel is at least 150
    // high; without "-DEBUG" there is no token view.
    std::ofstream(ini) << "[Profile]=5\r\n[Horizontal]=120\r\n[Width]=900\r\n[Height]=760\r\n";
    ide::TForm1 w(ini);
    w.InitApplication({Path("missing.xml")});
    QCOMPARE(w.CurrentFile(), std::string("Unbenannt.xml"));
    QCOMPARE(w.Profile(), profile::Pyxon128);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTRY_COMPARE(w.BottomPanel()->height(), 150);
    QVERIFY(w.Memo1()->isHidden());
    w.BasicEditor()->SetCp1252Text("DIM g AS BYTE\r\ng = 3\r\n");
    w.Action(TCommandId::Compile)->trigger();
    QCOMPARE(w.Memo1()->toPlainText(), QString());
    w.BasicEditor()->setModified(false);
  }

  void typedReservedWordsTakeTheirSpelling() {
    ide::TForm1 w(Path("typing.ini"));
    w.show();
    w.BasicEditor()->setFocus();
    QTest::keyClicks(w.BasicEditor(), QStringLiteral("gosub x"));
    QCOMPARE(w.BasicEditor()->text(), QStringLiteral("GoSub x"));
  }

  void searchAndReplace() {
    ide::TForm1 w(Path("search.ini"));
    ui::TSourceEditor* e = w.BasicEditor();
    e->SetCp1252Text("led = 1 : Led = ledx");
    e->SelectOffsets(0, 3);
    w.Action(TCommandId::Find)->trigger();
    ui::TSearchPanel* panel = w.SearchPanel();
    QVERIFY(!panel->isHidden());
    QCOMPARE(panel->FindField()->text(), QStringLiteral("led"));  // taken from the selection
    panel->CheckWord()->setChecked(true);
    w.Action(TCommandId::FindNext)->trigger();
    QCOMPARE(e->SelectionStartOffset(), 10);
    w.Action(TCommandId::FindNext)->trigger();  // "ledx" is no whole word: a miss
    QCOMPARE(e->SelectionStartOffset(), 0);
    QCOMPARE(e->SelectionEndOffset(), 0);
    w.Action(TCommandId::FindNext)->trigger();  // from the top again
    QCOMPARE(e->SelectionEndOffset(), 3);
    panel->CheckCase()->setChecked(true);
    w.Action(TCommandId::FindNext)->trigger();
    QCOMPARE(e->SelectionStartOffset(), 0);  // "Led" differs in case: a miss
    w.Action(TCommandId::Replace)->trigger();
    panel->CheckCase()->setChecked(false);
    panel->ReplaceField()->setText(QStringLiteral("lampe"));
    panel->CheckReplaceAll()->setChecked(true);
    panel->ReplaceNext();
    QCOMPARE(e->text(), QStringLiteral("lampe = 1 : lampe = ledx"));
  }

  void syntaxCheckMarksAndClearsWhileTyping() {
    ide::TForm1 w(Path("syntax.ini"));
    w.SetSyntaxCheckDelay(10);
    ui::TSourceEditor* e = w.BasicEditor();
    e->SetCp1252Text("DIM x AS BYTE\r\nx = 1\r\ngoto nirgends\r\n");
    QTRY_COMPARE(e->ErrorLine(), 2);
    QVERIFY(!w.ErrorDisplay()->Display().Slot(workspace::TSlot::Compile).text.empty());
    QCOMPARE(w.EditorControl()->currentIndex(), 0);
    e->SetCp1252Text("DIM x AS BYTE\r\nx = 1\r\n");
    QTRY_COMPARE(e->ErrorLine(), -1);
    QTRY_VERIFY(w.ErrorDisplay()->Display().Slot(workspace::TSlot::Compile).text.empty());
    w.AssemblerEditor()->SetCp1252Text(" nop\r\n foo\r\n");
    QTRY_COMPARE(w.AssemblerEditor()->ErrorLine(), 1);
  }

  void assemblerLineIsNormalisedWhenLeft() {
    ide::TForm1 w(Path("norm.ini"));
    w.resize(800, 600);
    w.show();
    ui::TSourceEditor* a = w.AssemblerEditor();
    a->SetCp1252Text("start: nop\r\n bra start\r\n lda #1 ; lda\r\n");
    w.Action(TCommandId::Compile)->trigger();  // the labels are known
    w.EditorControl()->setCurrentIndex(1);
    a->setCursorPosition(2, 3);
    QTest::qWait(20);  // the editor reports caret moves when it updates
    a->setCursorPosition(0, 0);
    QTRY_COMPARE(a->text(2), QStringLiteral(" LDA #1 ; lda\r\n"));
    a->SetCp1252Text("Start: nop\r\n bra start\r\n");
    w.Action(TCommandId::Compile)->trigger();
    a->setCursorPosition(1, 2);
    QTest::qWait(20);
    a->setCursorPosition(0, 0);
    QTRY_COMPARE(a->text(1), QStringLiteral(" BRA Start\r\n"));
  }

  void importAndExport() {
    const std::string code = Path("code.bin");
    std::ofstream(code, std::ios::binary) << std::string("\x9D\x81", 2);
    ide::TForm1 w(Path("import.ini"));
    Hook(w);
    w.AssemblerEditor()->SetCp1252Text("start: nop");
    w.AssemblerEditor()->setModified(false);
    m_files = {code};
    w.Action(TCommandId::Import)->trigger();
    const QString text = w.AssemblerEditor()->text();
    QVERIFY(text.startsWith(QStringLiteral("start: nop\r\n")));
    QVERIFY(text.contains(QStringLiteral("RTS")));
    QVERIFY(w.AssemblerEditor()->isModified());
    QCOMPARE(w.EditorControl()->currentIndex(), 1);

    // Export compiles first; a faulty program writes nothing.
    const std::string out = Path("export");
    w.AssemblerEditor()->SetCp1252Text("");
    w.BasicEditor()->SetCp1252Text("goto nirgends\r\n");
    m_files = {out};
    QVERIFY(!w.MExportClick());
    QVERIFY(!FileExists(out + ".dat"));
    w.BasicEditor()->SetCp1252Text("DIM x AS BYTE\r\nx = 1\r\n");
    QVERIFY(w.MExportClick());
    const TFileContent written = ReadFileBytes(out + ".dat", filelimit::kProjectFile);
    QVERIFY(written.status == TReadStatus::Ok);
    QVERIFY(written.bytes.starts_with("TESEL-BASIC\r\n"));
  }

  void legacyImportAsksOnceAndKeepsWriteProtection() {
    // A legacy project without objects: header, the assembler text, the BASIC text.
    const std::string assembler = " nop\r\n", basic = "x = 1\r\n";
    std::string bytes("tsprojectfile10\x1B", 16);
    for (size_t length : {assembler.size(), basic.size(), size_t{0}})
      bytes += std::string{char(0), char(0), static_cast<char>(length)};
    bytes += assembler + basic;
    const std::string cpo = Path("alt.cpo");
    std::ofstream(cpo, std::ios::binary) << bytes;
    ide::TForm1 w(Path("legacy.ini"));
    Hook(w);
    w.BasicEditor()->SetCp1252Text("' ungespeichert\r\n");
    // One question about the unsaved text; No leaves it and the import goes on.
    m_answers = {TAnswer::No};
    m_files = {cpo};
    w.Action(TCommandId::Import)->trigger();
    QCOMPARE(m_shown.size(), size_t{1});
    // A new project has its name already, "Unbenannt.xml".
    QCOMPARE(m_shown[0].text, std::string("Aktuelle Änderungen in Datei Unbenannt.xml speichern?"));
    QCOMPARE(w.BasicEditor()->Cp1252Text(), basic);
    QCOMPARE(w.AssemblerEditor()->Cp1252Text(), assembler);
    QVERIFY(!w.BasicEditor()->isReadOnly());
    // Behind the texts: the profile, then the breakpoint lists (highest index, then the lines).
    const std::string withBreakpoints = Path("haltepunkte.cpo");
    std::ofstream(withBreakpoints, std::ios::binary)
        << bytes << std::string{char(4), char(0), char(1), char(0), char(0), char(0), char(1), char(0), char(1),
                                char(0), char(1)};
    m_answers = {TAnswer::No};
    m_files = {withBreakpoints};
    w.Action(TCommandId::Import)->trigger();
    QCOMPARE(w.Profile(), profile::Pyxon32);
    QCOMPARE(w.BasicEditor()->Breakpoints(), (std::set<int>{1}));
    QCOMPARE(w.AssemblerEditor()->Breakpoints(), (std::set<int>{1}));
    // A write-protected legacy file: protected in the editors, said in a box and the status line.
    std::filesystem::permissions(cpo, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                          std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    m_shown.clear();
    m_answers = {TAnswer::No};
    m_files = {cpo};
    w.Action(TCommandId::Import)->trigger();
    QCOMPARE(m_shown.size(), size_t{2});
    QCOMPARE(m_shown[1].text, std::string("alt.cpo ist schreibgeschützt."));
    QCOMPARE(w.ErrorDisplay()->Display().Slot(workspace::TSlot::Status).text, m_shown[1].text);
    QVERIFY(w.BasicEditor()->isReadOnly());
    QVERIFY(w.AssemblerEditor()->isReadOnly());
    // A new project is writable again.
    m_answers = {TAnswer::No};
    w.Action(TCommandId::New)->trigger();
    QVERIFY(!w.BasicEditor()->isReadOnly());
    QVERIFY(!w.AssemblerEditor()->isReadOnly());
  }

  void saveDialogAndQuestionsLeaveTheFocusInTheEditor() {
    ide::TForm1 w(Path("focus.ini"));
    Hook(w);
    w.resize(800, 600);
    w.show();
    // The save dialog puts the console away.
    w.Action(TCommandId::Console)->trigger();
    QVERIFY(w.Simulation()->Console()->isVisible());
    w.BasicEditor()->SetCp1252Text("x = 1\r\n");
    w.Action(TCommandId::Save)->trigger();  // no name chosen
    QVERIFY(!w.Simulation()->Console()->isVisible());
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // After a save the active page's editor takes the focus.
    w.EditorControl()->setCurrentIndex(1);
    w.Tree()->setFocus();
    QTRY_VERIFY(w.Tree()->hasFocus());
    m_files = {Path("fokus.xml")};
    w.Action(TCommandId::Save)->trigger();
    QCOMPARE(w.CurrentFile(), Path("fokus.xml"));
    QTRY_VERIFY(w.AssemblerEditor()->hasFocus());
    // Cancel keeps the project and gives the focus back to its editor.
    w.EditorControl()->setCurrentIndex(0);
    w.BasicEditor()->SetCp1252Text("x = 2\r\n");
    w.Tree()->setFocus();
    QTRY_VERIFY(w.Tree()->hasFocus());
    m_answers = {TAnswer::Cancel};
    w.Action(TCommandId::New)->trigger();
    QCOMPARE(w.CurrentFile(), Path("fokus.xml"));
    QTRY_VERIFY(w.BasicEditor()->hasFocus());
    QCOMPARE(m_shown.back().text, "Aktuelle Änderungen in Datei " + Path("fokus.xml") + " speichern?");
    // Cancel at "replace?" forgets the name: the question then goes without one.
    m_files = {Path("fokus.xml")};
    m_answers = {TAnswer::Cancel, TAnswer::Cancel};
    w.Action(TCommandId::SaveAs)->trigger();
    QCOMPARE(m_shown.back(), workspace::MessageText(workspace::TMessageId::ReplaceFile, Path("fokus.xml")));
    w.Action(TCommandId::New)->trigger();
    QCOMPARE(m_shown.back().text, std::string("Aktuelle Änderungen speichern?"));
    w.BasicEditor()->setModified(false);
  }

  void singleInstance() {
    const QString lock = m_dir.filePath(QStringLiteral("zarvek.lock"));
    {
      ide::TSingleInstance first(lock);
      QVERIFY(first.Claim());
      ide::TSingleInstance second(lock);
      QVERIFY(!second.Claim());
    }
    // A lock left by a program that has gone is taken over.
    QFile stale(lock);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("2147483646\nZarvek\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    ide::TSingleInstance again(lock);
    QVERIFY(again.Claim());
  }

  void errorStripClickJumps() {
    ide::TForm1 w(Path("strip.ini"));
    Hook(w);
    w.resize(800, 600);
    w.show();
    w.BasicEditor()->SetCp1252Text("DIM x AS BYTE\r\nx = 1\r\ngoto nirgends\r\n");
    w.Action(TCommandId::Compile)->trigger();
    QTRY_VERIFY(w.ErrorDisplay()->height() >= w.ErrorDisplay()->LineHeight());
    w.BasicEditor()->SetCaretOffset(0);
    w.EditorControl()->setCurrentIndex(1);
    QTest::mouseClick(w.ErrorDisplay(), Qt::LeftButton, {}, QPoint(40, 2 + w.ErrorDisplay()->LineHeight() / 2));
    QCOMPARE(w.EditorControl()->currentIndex(), 0);
    QVERIFY(w.BasicEditor()->SelectionStartOffset() > 0);  // on the error line again
    QCOMPARE(w.BasicEditor()->ErrorLine(), 2);
    // A long message wraps into more lines when the strip is narrow.
    const int wide = w.ErrorDisplay()->Layout().lineCount;
    w.resize(260, 600);
    QTRY_VERIFY(w.ErrorDisplay()->Layout().lineCount > wide);
  }

  void helpListProposesAndInserts() {
    ide::TForm1 w(Path("help.ini"));
    w.resize(800, 600);
    w.show();
    ui::TSourceEditor* a = w.AssemblerEditor();
    w.EditorControl()->setCurrentIndex(1);
    a->SetCp1252Text(" ls");
    a->SetCaretOffset(3);
    w.Action(TCommandId::ProgHelp)->trigger();
    ui::THelpList* list = w.HelpList();
    QVERIFY(list->isVisible());
    QCOMPARE(list->count(), 6);
    QCOMPARE(list->item(0)->text(), QStringLiteral("LSL   C <- (M) <- 0\nlogical shift left"));
    list->Choose(3);  // LSR
    QVERIFY(!list->isVisible());
    QCOMPARE(a->text(), QStringLiteral(" LSR"));
    QCOMPARE(a->CaretOffset(), 4);
    // Typing an operand proposes the operand forms (option bit 0 is on by default).
    a->setFocus();
    QTest::keyClicks(a, QStringLiteral(" "));
    QVERIFY(list->isVisible());
    QCOMPARE(list->item(0)->text(), QStringLiteral(" (MEMORY Address) ... RAM = $50...$FF"));
    // The BASIC editor proposes reserved words.
    w.EditorControl()->setCurrentIndex(0);
    w.BasicEditor()->SetCp1252Text("x = ke");
    w.BasicEditor()->SetCaretOffset(6);
    w.Action(TCommandId::ProgHelp)->trigger();
    QCOMPARE(list->count(), 3);
    list->Choose(1);
    QCOMPARE(w.BasicEditor()->text(), QStringLiteral("x = KeyCount"));
    // Saving puts the list away.
    w.Action(TCommandId::ProgHelp)->trigger();
    QVERIFY(list->isVisible());
    m_files = {Path("hilfe.xml")};
    w.fileDialogHook = [this](ide::TFileDialog, const std::string&, const std::string&) { return m_files.front(); };
    w.Action(TCommandId::Save)->trigger();
    QCOMPARE(w.CurrentFile(), Path("hilfe.xml"));
    QVERIFY(!list->isVisible());
  }

  void settingsRoundTripThroughTheDialog() {
    const std::string ini = Path("setup/Zarvek.ini");
    {
      ide::TForm1 w(ini);
      Hook(w);
      ide::TSetup* setup = w.Setup();
      setup->FormShow();
      QCOMPARE(setup->windowTitle(), QStringLiteral("Einstellungen"));
      QCOMPARE(setup->FontSize()->count(), 9);
      QCOMPARE(setup->FontSize()->currentItem()->text(), QStringLiteral("10"));
      QCOMPARE(setup->CheckList()->item(3)->checkState(), Qt::Unchecked);  // bit 3 set
      setup->FontSize()->setCurrentRow(5);  // "12"
      QCOMPARE(w.Settings().fontSize, 12);
      QCOMPARE(w.BasicEditor()->Lexer()->font(0).pointSize(), 12);
      setup->colourHook = [](int32_t) { return std::optional<int32_t>(0x0000FF); };
      setup->FarbenClick(3);  // "Fehler Textfarbe"
      QCOMPARE(w.Settings().errorColor, 0x0000FF);
      setup->colourHook = [](int32_t) { return std::optional<int32_t>(0x00FF00); };
      setup->FarbenClick(1);  // "Text Hintergrund": the editors' paper at once
      QCOMPARE(w.BasicEditor()->Lexer()->paper(0), QColor(0, 255, 0));
      QCOMPARE(w.BasicEditor()->Lexer()->color(ui::style::Keyword), QColor(0, 0, 0x99));  // light: as it was
      // On a dark background the keywords of both editors turn light enough to read.
      setup->colourHook = [](int32_t) { return std::optional<int32_t>(0x202020); };
      setup->FarbenClick(1);
      for (ui::TSourceEditor* e : {w.BasicEditor(), w.AssemblerEditor()}) {
        const QColor keyword = e->Lexer()->color(ui::style::Keyword);
        QVERIFY(keyword.lightness() > 100);
        QVERIFY(keyword.blue() > keyword.red());
      }
      setup->colourHook = [](int32_t) { return std::optional<int32_t>(0x00FF00); };
      setup->FarbenClick(1);
      setup->colourHook = [](int32_t) { return std::nullopt; };  // cancelled
      setup->FarbenClick(0);
      QCOMPARE(w.Settings().fontColor, 0);
      setup->CheckList()->item(1)->setCheckState(Qt::Unchecked);
      setup->CheckList()->item(3)->setCheckState(Qt::Checked);
      QCOMPARE(w.Settings().options & option::SyntaxTest, 0);
      QCOMPARE(w.Settings().options & option::Autostart, 0);
      QVERIFY(w.close());
    }
    TSettings read;
    const TFileContent text = ReadFileBytes(ini, filelimit::kProjectFile);
    QVERIFY(text.status == TReadStatus::Ok);
    ReadSettings(text.bytes, read);
    QCOMPARE(read.fontSize, 12);
    QCOMPARE(read.errorColor, 0x0000FF);
    QCOMPARE(read.background, 0x00FF00);
    QCOMPARE(read.options & option::SyntaxTest, 0);
    ide::TForm1 again(ini);
    again.InitApplication({});
    QCOMPARE(again.BasicEditor()->Lexer()->font(0).pointSize(), 12);
  }

  void editingAidsWorkOnTheSelectedLines() {
    ide::TForm1 w(Path("aids.ini"));
    ui::TSourceEditor* e = w.BasicEditor();
    e->SetCp1252Text("x = 1\r\ny = 2\r\nz = 3\r\n");
    e->setSelection(0, 2, 2, 0);  // the first two lines
    w.Action(TCommandId::Comment)->trigger();
    QCOMPARE(e->text(), QStringLiteral("'x = 1\r\n'y = 2\r\nz = 3\r\n"));
    w.Action(TCommandId::IndentRight)->trigger();
    QCOMPARE(e->text(), QStringLiteral("  'x = 1\r\n  'y = 2\r\nz = 3\r\n"));
    w.Action(TCommandId::Uncomment)->trigger();
    QCOMPARE(e->text(), QStringLiteral("  x = 1\r\n  y = 2\r\nz = 3\r\n"));
    e->undo();  // one step per aid
    QCOMPARE(e->text(), QStringLiteral("  'x = 1\r\n  'y = 2\r\nz = 3\r\n"));
    e->selectAll();
    w.Action(TCommandId::AlignLines)->trigger();
    QCOMPARE(e->text(), QStringLiteral("  'x = 1\r\n  'y = 2\r\n  z = 3\r\n"));
    w.EditorControl()->setCurrentIndex(1);
    w.AssemblerEditor()->SetCp1252Text(" nop");
    w.AssemblerEditor()->setCursorPosition(0, 1);
    w.Action(TCommandId::Comment)->trigger();
    QCOMPARE(w.AssemblerEditor()->text(), QStringLiteral("; nop"));
  }

  void helpSplashAndDroppedFiles() {
    ide::TForm1 w(Path("help2.ini"));
    Hook(w);
    std::vector<QUrl> opened;
    w.openUrlHook = [&](const QUrl& url) {
      opened.push_back(url);
      return true;
    };
    const std::string program = Path("programm");
    workspace::THelpSearch search;
    search.programFolder = program;
    search.fileExists = [](const std::string& f) { return FileExists(f); };
    w.SetHelpSearch(search);
    // No help installed: said kindly, nothing opened.
    w.Action(TCommandId::HelpContents)->trigger();
    QCOMPARE(m_shown.size(), size_t{1});
    QCOMPARE(m_shown[0].text, "Die Hilfe ist nicht installiert: " + program + "/Zarvek.chm wurde nicht gefunden.");
    QVERIFY(opened.empty());
    // Our page beside the program: contents, the terms of use, and F1 at a keyword.
    std::filesystem::create_directories(program + "/help");
    std::ofstream(program + "/help/index.html") << "<html></html>";
    w.Action(TCommandId::HelpContents)->trigger();
    w.Action(TCommandId::HelpTerms)->trigger();
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.BasicEditor()->SetCp1252Text("x = 1\r\n  FOR i = 1 TO 2\r\n");
    w.BasicEditor()->SetCaretOffset(10);  // in FOR
    w.BasicEditor()->setFocus();
    QTest::keyClick(w.BasicEditor(), Qt::Key_F1);
    w.BasicEditor()->SetCaretOffset(2);  // on "=": no keyword, the contents
    w.ContextHelp();
    QCOMPARE(m_shown.size(), size_t{1});
    const QUrl page = QUrl::fromLocalFile(QString::fromStdString(program + "/help/index.html"));
    QCOMPARE(opened.size(), size_t{4});
    QCOMPARE(opened[0], page);
    QCOMPARE(opened[1].fragment(), QStringLiteral("7"));
    QCOMPARE(opened[2].fragment(), QStringLiteral("for"));
    QCOMPARE(opened[2].adjusted(QUrl::RemoveFragment), page);
    QCOMPARE(opened[3], page);
    // No program to show it: said, not swallowed.
    m_shown.clear();
    w.openUrlHook = [](const QUrl&) { return false; };
    w.Action(TCommandId::HelpContents)->trigger();
    QCOMPARE(m_shown.size(), size_t{1});
    QVERIFY(m_shown[0].text.starts_with("Die Hilfe konnte nicht angezeigt werden: "));
    m_shown.clear();
    w.BasicEditor()->setModified(false);
    w.hide();
    w.Action(TCommandId::HelpInfo)->trigger();
    QVERIFY(w.Splash()->isVisible());
    w.Splash()->ShowFor(20);
    QTRY_VERIFY(!w.Splash()->isVisible());

    const std::string file = Path("dropped.xml");
    WriteProject(file, "' fallen gelassen\r\n");
    w.resize(800, 600);
    w.show();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
    // Qt delivers drops only during a real drag; the editor's drop handler is called as a drop calls it.
    QVERIFY(w.BasicEditor()->DropFiles(&mime));
    QMimeData text;
    text.setText(QStringLiteral("x = 1"));
    QVERIFY(!w.AssemblerEditor()->DropFiles(&text));
    QCOMPARE(w.CurrentFile(), file);
    QCOMPARE(w.BasicEditor()->text(), QStringLiteral("' fallen gelassen\r\n"));
  }

  void printsTheActivePage() {
    ide::TForm1 w(Path("print.ini"));
    w.BasicEditor()->SetCp1252Text("x = 1\r\ny = 2\r\n");
    QPrinter target;
    target.setOutputFormat(QPrinter::PdfFormat);
    const std::string pdf = Path("basic.pdf");
    target.setOutputFileName(QString::fromStdString(pdf));
    QCOMPARE(w.PrintActivePage(&target, false), 1);
    QVERIFY(ReadFileBytes(pdf, filelimit::kProjectFile).bytes.starts_with("%PDF"));
    // Every page starts with the heading, and the text begins below it.
    ui::TSourcePrinter printer(QStringLiteral("- BASIC -"));
    QImage page(400, 200, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    QRect area(0, 0, 400, 200);
    printer.formatPage(painter, true, area, 1);
    painter.end();
    QVERIFY(area.top() > 0);
    bool inked = false;
    for (int y = 0; y < area.top(); ++y)
      for (int x = 0; x < 200; ++x) inked = inked || page.pixel(x, y) != qRgb(255, 255, 255);
    QVERIFY(inked);
  }

  void readOnlyFileIsReportedAndCannotBeEdited() {
    const std::string file = Path("schreibschutz.xml");
    WriteProject(file, "x = 1\r\n", " nop\r\n");
    std::filesystem::permissions(file, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                           std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    ide::TForm1 w(Path("readonly.ini"));
    Hook(w);
    w.resize(800, 600);
    w.show();
    m_files = {file};
    w.Action(TCommandId::Open)->trigger();
    QCOMPARE(w.CurrentFile(), file);
    QCOMPARE(m_shown.size(), size_t{1});
    QCOMPARE(m_shown[0].text, std::string("schreibschutz.xml ist schreibgeschützt."));
    QCOMPARE(m_shown[0].buttons, workspace::TButtons::Ok);
    QCOMPARE(w.ErrorDisplay()->Display().Slot(workspace::TSlot::Status).text, m_shown[0].text);
    QVERIFY(w.BasicEditor()->isReadOnly());
    QVERIFY(w.AssemblerEditor()->isReadOnly());
    // Typing changes nothing, and the editing commands are off.
    w.BasicEditor()->setFocus();
    QTest::keyClicks(w.BasicEditor(), QStringLiteral("abc"));
    QCOMPARE(w.BasicEditor()->text(), QStringLiteral("x = 1\r\n"));
    QVERIFY(!w.Action(TCommandId::Paste)->isEnabled());
    QVERIFY(!w.Modified());
    // A new project is no longer the protected file.
    w.Action(TCommandId::New)->trigger();
    QVERIFY(!w.BasicEditor()->isReadOnly());
    QVERIFY(!w.AssemblerEditor()->isReadOnly());
    QVERIFY(w.OpenFile(file));
    m_shown.resize(1);
    // A writable file makes both editors writable again, without a message.
    const std::string writable = Path("frei.xml");
    WriteProject(writable, "y = 2\r\n");
    QVERIFY(w.OpenFile(writable));
    QCOMPARE(m_shown.size(), size_t{1});
    QVERIFY(!w.BasicEditor()->isReadOnly());
    QVERIFY(!w.AssemblerEditor()->isReadOnly());
  }

  void profileSwitchMarksTheProjectChangedAndRecompiles() {
    const std::string file = Path("profil.xml");
    WriteProject(file, "DIM x AS BYTE\r\nx = 1\r\n");
    ide::TForm1 w(Path("profile.ini"));
    Hook(w);
    QVERIFY(w.OpenFile(file));
    QVERIFY(!w.Modified());
    // The items live in the Umgebung submenu of Projekt.
    QMenu *umgebung = nullptr, *projekt = nullptr;
    for (QMenu* m : w.findChildren<QMenu*>()) {
      if (m->title() == QStringLiteral("Umgebung")) umgebung = m;
      if (m->title() == QStringLiteral("&Projekt")) projekt = m;
    }
    QVERIFY(umgebung && projekt);
    QVERIFY(projekt->actions().contains(umgebung->menuAction()));
    QVERIFY(umgebung->actions().contains(w.Action(TCommandId::ProfilePyxon128)));
    w.ErrorDisplay()->Display().ClearAll();
    w.Action(TCommandId::ProfilePyxon128)->trigger();
    QCOMPARE(w.Profile(), profile::Pyxon128);
    // Compiled again for the new board, and the project counts as changed.
    QCOMPARE(w.ErrorDisplay()->Display().Slot(workspace::TSlot::Compile).text, std::string("Compiliert für Pyxon 128."));
    QVERIFY(w.BasicEditor()->isModified());
    QVERIFY(!w.AssemblerEditor()->isModified());
    QVERIFY(w.Modified());
    QVERIFY(w.Action(TCommandId::ProfilePyxon128)->isChecked());
    QVERIFY(!w.Action(TCommandId::ProfileTessel11)->isChecked());
    QCOMPARE(w.windowTitle(), ui::FromUtf8("Zarvek- " + file));  // the caption carries no change mark
    // New asks to save the change; Yes writes the new profile into the file.
    m_answers = {TAnswer::Yes};
    w.Action(TCommandId::New)->trigger();
    QCOMPARE(m_shown.size(), size_t{1});
    QCOMPARE(m_shown[0], workspace::MessageText(workspace::TMessageId::SaveChanges, file));
    QVERIFY(ReadFileBytes(file, filelimit::kProjectFile).bytes.find("atmega-128") != std::string::npos);
    // Choosing the profile the project already has recompiles but changes nothing.
    QVERIFY(w.OpenFile(file));
    QVERIFY(!w.Modified());
    w.ErrorDisplay()->Display().ClearAll();
    w.Action(TCommandId::ProfilePyxon128)->trigger();
    QCOMPARE(w.ErrorDisplay()->Display().Slot(workspace::TSlot::Compile).text, std::string("Compiliert für Pyxon 128."));
    QVERIFY(!w.Modified());
    // A profile whose rules the program breaks shows the error at once.
    w.BasicEditor()->SetCp1252Text("DIM e AS BYTE XEEPROM\r\ne = 1\r\n");
    w.Action(TCommandId::ProfileTessel11)->trigger();
    QCOMPARE(w.ErrorDisplay()->Display().Slot(workspace::TSlot::Compile).text.empty(), false);
    QCOMPARE(w.BasicEditor()->ErrorLine(), 0);
    w.BasicEditor()->setModified(false);
  }

  void treeShowsTheProject() {
    const std::string file = Path("baum.xml");
    WriteProject(file, "DIM x AS BYTE\r\nx = 1\r\n", "start: nop\r\n");
    ide::TForm1 w(Path("tree.ini"));
    Hook(w);
    QVERIFY(w.OpenFile(file));
    QTreeWidgetItem* root = w.Tree()->topLevelItem(0);
    QCOMPARE(root->text(0), QStringLiteral("baum.xml"));
    QCOMPARE(root->child(0)->text(0), QStringLiteral("Assembler (1 Byte)"));
    QCOMPARE(root->child(0)->child(0)->text(0), QStringLiteral("start"));
    for (QTreeWidgetItem* item : {root, root->child(0), root->child(0)->child(0), root->child(1)})
      QVERIFY2(!item->icon(0).isNull(), qPrintable(item->text(0)));
    QVERIFY(root->child(1)->text(0).startsWith(QStringLiteral("BASIC (")));
    // A narrow panel scrolls: the captions are drawn whole, never cut to "...".
    w.resize(900, 600);
    w.show();
    w.Tree()->setFixedWidth(80);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTreeWidgetItem* basic = root->child(1);
    const int needed = w.Tree()->fontMetrics().horizontalAdvance(basic->text(0));
    QVERIFY2(w.Tree()->visualItemRect(basic).width() >= needed,
             qPrintable(QStringLiteral("%1 < %2").arg(w.Tree()->visualItemRect(basic).width()).arg(needed)));
    QVERIFY(w.Tree()->horizontalScrollBar()->maximum() > 0);

    // What the user folds stays folded when a compile builds the tree anew, sizes changed.
    w.Tree()->collapseItem(root->child(0));
    w.AssemblerEditor()->SetCp1252Text("start: nop\r\nweiter: nop\r\n");
    w.Action(TCommandId::Compile)->trigger();
    root = w.Tree()->topLevelItem(0);
    QCOMPARE(root->child(0)->text(0), QStringLiteral("Assembler (2 Bytes)"));
    QCOMPARE(root->child(0)->childCount(), 2);
    QVERIFY(!root->child(0)->isExpanded());
    QVERIFY(root->isExpanded());
    w.Tree()->expandItem(root->child(0));
    w.Action(TCommandId::Compile)->trigger();
    QVERIFY(w.Tree()->topLevelItem(0)->child(0)->isExpanded());
    w.AssemblerEditor()->setModified(false);
  }
};

QTEST_MAIN(TMainWindowTest)
#include "main_window_test.moc"
