// The upload and update windows, offscreen, against virtual Pyxon boards (zarvek-cli
// board) on pseudo-terminals, through the IDE's Qt serial port. Every wait has a bound.
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

// The main window's header first: its core headers must come before Qt's.
#include "ide/main_window.h"
#include "ide/bootloader_window.h"
#include "ide/console_window.h"
#include "ide/simulation_controller.h"
#include "ide/link_controller.h"
#include "ide/upload_window.h"
#include "link/link_texts.h"
#include "ui/error_strip.h"
#include "ui/qt_text.h"
#include "ui/source_editor.h"

#include <QAction>
#include <QImage>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace zarvek;
using workspace::TAnswer;
using workspace::TCommandId;
using workspace::TMessage;

namespace {

// Answers each number with its double until 0.
const char* const kDoubler =
    "DIM a AS INTEGER\r\nDO\r\n  INPUT a\r\n  PRINT \"Doppelt: \"; a * 2\r\nLOOP UNTIL a = 0\r\nEND\r\n";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// One Intel HEX data record with its checksum.
std::string Record(uint16_t address, const std::string& data) {
  char buffer[16];
  std::string line = ":";
  unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFF);
  std::snprintf(buffer, sizeof buffer, "%02X%04X00", static_cast<unsigned>(data.size()), address);
  line += buffer;
  for (unsigned char c : data) {
    std::snprintf(buffer, sizeof buffer, "%02X", c);
    line += buffer;
    sum += c;
  }
  std::snprintf(buffer, sizeof buffer, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
  return line + buffer + "\r\n";
}

}  // namespace

class TLinkWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;
  std::deque<TAnswer> m_answers;
  std::vector<TMessage> m_shown;

  std::string Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)).toStdString(); }

  void Hook(ide::TForm1& w) {
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

  // A virtual board on "tty" in the test folder; false when its line did not appear.
  bool StartBoard(QProcess& board, const QStringList& extra) {
    std::filesystem::remove(Path("tty"));
    QStringList args{QStringLiteral("board"), QStringLiteral("--link"), QString::fromStdString(Path("tty"))};
    args << extra;
    board.start(QStringLiteral(ZARVEK_CLI_PATH), args);
    if (!board.waitForStarted(10000)) return false;
    for (int i = 0; i < 1000 && !std::filesystem::exists(Path("tty")); ++i) QTest::qWait(10);
    return std::filesystem::exists(Path("tty"));
  }
  static void StopBoard(QProcess& board) {
    board.terminate();
    if (!board.waitForFinished(10000)) board.kill();
  }

  // Sends `input` to the board's line and returns what came back within `seconds`.
  std::string Console(const std::string& input, double seconds) {
    QProcess console;
    console.start(QStringLiteral(ZARVEK_CLI_PATH),
                  {QStringLiteral("console"), QStringLiteral("--port"), QString::fromStdString(Path("tty")),
                   QStringLiteral("--linger"), QString::number(seconds)});
    if (!console.waitForStarted(10000)) return "";
    console.write(input.data(), static_cast<qint64>(input.size()));
    console.closeWriteChannel();
    if (!console.waitForFinished(20000)) console.kill();
    return console.readAllStandardOutput().toStdString();
  }

 private Q_SLOTS:
  void init() {
    m_answers.clear();
    m_shown.clear();
  }

  void uploadWindowFollowsTheTransferToAVirtualBoard() {
    QProcess board;
    QVERIFY(StartBoard(board, {QStringLiteral("--profile"), QStringLiteral("atmega-32")}));
    ide::TForm1 w(Path("upload.ini"));
    Hook(w);
    w.Action(TCommandId::ProfilePyxon32)->trigger();
    w.BasicEditor()->SetCp1252Text(kDoubler);
    ide::TLinkController& link = *w.LinkControl();
    link.Ports().ComPortListChange(Path("tty"));
    ide::TUploadWin& win = *link.UploadWin();
    QVERIFY(w.Action(TCommandId::Transfer)->isEnabled());
    QVERIFY(!w.Action(TCommandId::Stop)->isEnabled());

    w.Action(TCommandId::Transfer)->trigger();
    QVERIFY(win.isVisible());
    QVERIFY(w.ErrorDisplay()->Display().Slot(workspace::TSlot::Compile).text.empty());
    QCOMPARE(win.size(), QSize(254, 86));
    QVERIFY(win.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(win.StatusText(), QStringLiteral("ATmega32 wird gesucht..."));
    QCOMPARE(win.Progress(), 0);
    const int maximum = win.ProgressMax();
    QVERIFY(maximum > 290);
    QVERIFY(!w.Action(TCommandId::Transfer)->isEnabled());
    QVERIFY(!w.Action(TCommandId::Bootloader)->isEnabled());
    QVERIFY(!w.Action(TCommandId::Compile)->isEnabled());
    QVERIFY(w.Action(TCommandId::Stop)->isEnabled());

    // Watch the window until the transfer ends: the texts in order, the bar only forward.
    QStringList texts{win.StatusText()};
    int last = 0;
    bool sawMiddle = false;
    bool animated = false;
    for (int i = 0; i < 20000 && win.isVisible(); ++i) {
      QTest::qWait(1);
      if (!win.isVisible()) break;
      if (win.StatusText() != texts.back()) texts << win.StatusText();
      QVERIFY(win.Progress() >= last);
      last = win.Progress();
      if (last > 35 && last < maximum - 290) sawMiddle = true;
      animated = animated || win.Frame() != 0;
    }
    QVERIFY2(!win.isVisible(), qPrintable(texts.join(QLatin1Char('|'))));
    QVERIFY(texts.contains(QStringLiteral("Senden... (BASIC)")));
    QVERIFY(texts.indexOf(QStringLiteral("ATmega32 wird gesucht...")) < texts.indexOf(QStringLiteral("Senden... (BASIC)")));
    QVERIFY(sawMiddle);
    QVERIFY(animated);
    QCOMPARE(w.ErrorDisplay()->Display().Slot(workspace::TSlot::Status).text, std::string("Das Projekt wurde übertragen."));
    // The transfer opened the link, so it closed it; the commands are back.
    QVERIFY(!link.Link().Connected());
    QCOMPARE(link.Link().TransferState, 0);
    QVERIFY(w.Action(TCommandId::Transfer)->isEnabled());
    QVERIFY(!w.Action(TCommandId::Stop)->isEnabled());
    QVERIFY(m_shown.empty());

    // The board runs what it got.
    const std::string answer = Console("21\r", 1.5);
    QVERIFY2(answer.find("Doppelt: 42") != std::string::npos, answer.c_str());
    StopBoard(board);
  }

  void theConsoleWindowConnectsAndTalksToTheUploadedProgram() {
    QProcess board;
    QVERIFY(StartBoard(board, {QStringLiteral("--profile"), QStringLiteral("atmega-128")}));
    ide::TForm1 w(Path("console.ini"));
    Hook(w);
    w.Action(TCommandId::ProfilePyxon128)->trigger();
    w.BasicEditor()->SetCp1252Text(kDoubler);
    ide::TLinkController& link = *w.LinkControl();
    ide::TConsoleWindow& console = *w.Simulation()->Console();
    console.show();
    QVERIFY(console.PortList()->isEditable());
    QCOMPARE(console.SpeedList()->count(), 8);
    QCOMPARE(console.SpeedList()->itemText(0), QStringLiteral("Auto"));
    QCOMPARE(console.ConnectButton()->text(), QStringLiteral("Verbinden"));
    QCOMPARE(console.Panel(0)->text(), QStringLiteral(" offline"));

    // A typed path, a pseudo-terminal here, is the port.
    console.PortList()->setEditText(QString::fromStdString(Path("tty")));
    const QImage offline = w.Action(TCommandId::Console)->icon().pixmap(24, 24).toImage();
    console.ConnectButton()->click();
    QVERIFY(link.Link().Connected());
    QCOMPARE(link.Link().PortName(), Path("tty"));
    QCOMPARE(console.ConnectButton()->text(), QStringLiteral("Verbindung trennen"));
    QVERIFY(!console.PortList()->isEnabled());
    QVERIFY(!console.SpeedList()->isEnabled());
    QCOMPARE(console.Panel(0)->text(), QStringLiteral(" online"));
    QCOMPARE(console.Panel(1)->text(), QString::fromStdString(" " + Path("tty")));
    QCOMPARE(console.Panel(2)->text(), QStringLiteral(" 9600"));
    QVERIFY(console.Output()->toPlainText().startsWith(QStringLiteral("> Verbindung hergestellt.")));
    // The console button's picture follows the link.
    QVERIFY(w.Action(TCommandId::Console)->icon().pixmap(24, 24).toImage() != offline);

    w.Action(TCommandId::Transfer)->trigger();
    QCOMPARE(link.UploadWin()->StatusText(), QStringLiteral("ATmega128 wird gesucht..."));
    QVERIFY(!console.ConnectButton()->isEnabled());  // the transfer has the link
    QTRY_VERIFY_WITH_TIMEOUT(!link.TransferRunning(), 20000);
    QCOMPARE(w.ErrorDisplay()->Display().Slot(workspace::TSlot::Status).text, std::string("Das Projekt wurde übertragen."));
    // The echoes went to the transfer, not to the console; the link stays open.
    QCOMPARE(console.Output()->toPlainText().trimmed(), QStringLiteral("> Verbindung hergestellt."));
    QVERIFY(link.Link().Connected());
    QVERIFY(console.ConnectButton()->isEnabled());
    // Keys typed in the window go to the program, its answer comes back.
    QTest::keyClicks(&console, QStringLiteral("21\r"));
    QTRY_VERIFY_WITH_TIMEOUT(console.Output()->toPlainText().contains(QStringLiteral("Doppelt: 42")), 10000);

    console.ConnectButton()->click();
    QVERIFY(!link.Link().Connected());
    QCOMPARE(console.ConnectButton()->text(), QStringLiteral("Verbinden"));
    QVERIFY(console.PortList()->isEnabled());
    QCOMPARE(console.Panel(0)->text(), QStringLiteral(" offline"));
    QCOMPARE(w.Action(TCommandId::Console)->icon().pixmap(24, 24).toImage(), offline);
    StopBoard(board);
  }

  void theConsoleGoesOfflineWhenItsPortVanishes() {
    QProcess board;
    QVERIFY(StartBoard(board, {QStringLiteral("--profile"), QStringLiteral("atmega-32")}));
    ide::TForm1 w(Path("console-lost.ini"));
    ide::TConsoleWindow& console = *w.Simulation()->Console();
    console.show();
    console.PortList()->setEditText(QString::fromStdString(Path("tty")));
    console.ConnectButton()->click();
    QVERIFY(w.LinkControl()->Link().Connected());
    QCOMPARE(console.Panel(0)->text(), QStringLiteral(" online"));
    StopBoard(board);
    QTRY_COMPARE_WITH_TIMEOUT(console.Panel(0)->text(), QStringLiteral(" offline"), 5000);
    QCOMPARE(console.ConnectButton()->text(), QStringLiteral("Verbinden"));
    QVERIFY(console.PortList()->isEnabled());
  }

  void silentBoardIsAskedAgainUntilStopped() {
    QProcess board;
    QVERIFY(StartBoard(board, {QStringLiteral("--profile"), QStringLiteral("atmega-128"), QStringLiteral("--fault"),
                               QStringLiteral("silent")}));
    ide::TForm1 w(Path("silent.ini"));
    Hook(w);
    w.Action(TCommandId::ProfilePyxon128)->trigger();
    w.BasicEditor()->SetCp1252Text("PRINT 1\r\n");
    ide::TLinkController& link = *w.LinkControl();
    link.Ports().ComPortListChange(Path("tty"));
    w.Action(TCommandId::Transfer)->trigger();
    ide::TUploadWin& win = *link.UploadWin();
    QCOMPARE(win.StatusText(), QStringLiteral("ATmega128 wird gesucht..."));
    // The repeat timer sends the probe again a second later.
    QTRY_VERIFY_WITH_TIMEOUT(link.Upload().RepeatCount() >= 2, 5000);
    QVERIFY(win.isVisible());
    QVERIFY(win.Animating());
    // A compile during the transfer leaves the console's text.
    w.Simulation()->ConsoleModel().Receive("antwort");
    w.Simulation()->ConsoleModel().Refresh();
    w.Action(TCommandId::ProfilePyxon128)->trigger();
    QVERIFY(w.Simulation()->ConsoleModel().Output().find("antwort") != std::string::npos);
    w.Action(TCommandId::Stop)->trigger();
    QVERIFY(!win.isVisible());
    QVERIFY(!link.TransferRunning());
    QVERIFY(!link.Link().Connected());
    QCOMPARE(link.Link().TransferState, 0);
    QCOMPARE(link.Upload().RepeatCount(), 0);
    QVERIFY(w.Action(TCommandId::Transfer)->isEnabled());
    StopBoard(board);
  }

  void portVanishingMidTransferIsReportedInTheWindow() {
    QProcess board;
    QVERIFY(StartBoard(board, {QStringLiteral("--profile"), QStringLiteral("atmega-32"), QStringLiteral("--fault"),
                               QStringLiteral("vanish-after=10")}));
    ide::TForm1 w(Path("vanish.ini"));
    Hook(w);
    w.Action(TCommandId::ProfilePyxon32)->trigger();
    w.BasicEditor()->SetCp1252Text(kDoubler);
    ide::TLinkController& link = *w.LinkControl();
    link.Ports().ComPortListChange(Path("tty"));
    w.Action(TCommandId::Transfer)->trigger();
    ide::TUploadWin& win = *link.UploadWin();
    const QString lost = QString::fromStdString("Fehler: Die Verbindung über " + Path("tty") + " ist abgebrochen.");
    QTRY_COMPARE_WITH_TIMEOUT(win.StatusText(), lost, 15000);
    // The window stays with its text until the stop command; nothing is sent any more.
    QVERIFY(win.isVisible());
    QVERIFY(!win.Animating());
    QVERIFY(!link.Link().Connected());
    QVERIFY(w.Action(TCommandId::Stop)->isEnabled());
    w.Action(TCommandId::Stop)->trigger();
    QVERIFY(!win.isVisible());
    QVERIFY(w.Action(TCommandId::Transfer)->isEnabled());
    // The board ends with its line.
    QVERIFY(board.state() == QProcess::NotRunning || board.waitForFinished(10000));
    QCOMPARE(board.exitCode(), 0);
  }

  void aFailedBuildOrABadFileSendsNothing() {
    QProcess board;
    QVERIFY(StartBoard(board, {QStringLiteral("--profile"), QStringLiteral("atmega-32")}));
    ide::TForm1 w(Path("bad.ini"));
    Hook(w);
    w.Action(TCommandId::ProfilePyxon32)->trigger();
    ide::TLinkController& link = *w.LinkControl();
    link.Ports().ComPortListChange(Path("tty"));
    // A compile error stops the command before the link: no window, no message.
    w.BasicEditor()->SetCp1252Text("goto nirgends\r\n");
    w.Action(TCommandId::Transfer)->trigger();
    QVERIFY(!w.ErrorDisplay()->Display().Slot(workspace::TSlot::Compile).text.empty());
    QVERIFY(!link.UploadWin()->isVisible());
    QVERIFY(!link.Link().Connected());
    QVERIFY(m_shown.empty());

    // A HEX file with a broken checksum: its message, the link closed again, all unlocked.
    const std::string hex = Path("kaputt.hex");
    std::string record = Record(0, "\x0C\x94");
    record[record.size() - 3] = record[record.size() - 3] == '0' ? '1' : '0';
    std::ofstream(hex, std::ios::binary) << record;
    w.Action(TCommandId::Bootloader)->trigger();
    ide::TBootloaderWin& boot = *link.BootloaderWin();
    boot.EditOSFile()->setText(QString::fromStdString(hex));
    boot.ButtonUpdate()->click();
    QCOMPARE(boot.StatusText()->text(), QStringLiteral("Fehler: Die Datei ist ungültig."));
    QVERIFY(!boot.Running());
    QVERIFY(!link.Link().Connected());
    QVERIFY(w.isEnabled());
    QVERIFY(boot.ButtonOpen()->isEnabled());
    boot.close();
    StopBoard(board);
  }

  void missingPortSaysSoWithAHint() {
    ide::TForm1 w(Path("missing.ini"));
    Hook(w);
    w.Action(TCommandId::ProfilePyxon32)->trigger();
    w.BasicEditor()->SetCp1252Text("PRINT 1\r\n");
    ide::TLinkController& link = *w.LinkControl();
    link.Ports().ComPortListChange(Path("nothing"));
    w.Action(TCommandId::Transfer)->trigger();
    QCOMPARE(m_shown.size(), size_t{1});
    const std::string expected = "Fehler: Der Port " + Path("nothing") + " ist zur Zeit belegt oder nicht vorhanden.";
    QVERIFY2(m_shown[0].text.starts_with(expected), m_shown[0].text.c_str());
#ifdef __linux__
    QVERIFY(m_shown[0].text.find("dialout") != std::string::npos);
#endif
    QVERIFY(!link.UploadWin()->isVisible());
    QVERIFY(!link.TransferRunning());
    QCOMPARE(link.Link().TransferState, 0);
    QVERIFY(w.Action(TCommandId::Transfer)->isEnabled());

    // The update window shows the same in its status text and frees the program again.
    const std::string hex = Path("leer.hex");
    std::ofstream(hex, std::ios::binary) << Record(0, "\x0C\x94") << ":00000001FF\r\n";
    w.Action(TCommandId::Bootloader)->trigger();
    ide::TBootloaderWin& boot = *link.BootloaderWin();
    boot.EditOSFile()->setText(QString::fromStdString(hex));
    boot.ButtonUpdate()->click();
    QVERIFY2(boot.StatusText()->text().startsWith(QString::fromStdString(expected)), qPrintable(boot.StatusText()->text()));
    QVERIFY(!boot.Running());
    QVERIFY(w.isEnabled());
    QCOMPARE(boot.ButtonUpdate()->text(), QStringLiteral("Update"));
    boot.close();
    // The chosen port is kept for the next start.
    m_answers = {TAnswer::No};  // the text is not saved
    QVERIFY(w.close());
    QVERIFY(ReadAll(Path("missing.ini")).find(Path("nothing")) != std::string::npos);
  }

  void updateWindowWritesTheRuntimeAndWarnsBeforeStopping() {
    // The image: a vector at 0, a record crossing from page 0 into page 1, one far up.
    const std::string hex = Path("runtime.hex");
    std::string far(16, '\0');
    for (size_t i = 0; i < far.size(); ++i) far[i] = static_cast<char>(0xA0 + i);
    std::ofstream(hex, std::ios::binary) << Record(0x0000, std::string("\x0C\x94\x2A\x00", 4))
                                         << Record(0x0078, "ABCDEFGHIJKLMNOP") << Record(0x3F00, far)
                                         << ":00000001FF\r\n";
    QProcess board;
    QVERIFY(StartBoard(board, {QStringLiteral("--profile"), QStringLiteral("atmega-32"), QStringLiteral("--baud"),
                               QStringLiteral("115200"), QStringLiteral("--flash"),
                               QString::fromStdString(Path("flash.bin"))}));
    ide::TForm1 w(Path("boot.ini"));
    Hook(w);
    w.Action(TCommandId::ProfilePyxon32)->trigger();
    ide::TLinkController& link = *w.LinkControl();
    link.Ports().ComPortListChange(Path("tty"));
    link.Ports().BaudListChange("115200");
    w.Action(TCommandId::Bootloader)->trigger();
    ide::TBootloaderWin& boot = *link.BootloaderWin();
    QVERIFY(boot.isVisible());
    QCOMPARE(boot.windowTitle(), QStringLiteral("Betriebssystem und Laufzeitumgebungs-Update"));
    QCOMPARE(boot.StatusText()->text(), ui::FromUtf8(link::texts::kBootIntro));
    QVERIFY(!boot.ButtonUpdate()->isEnabled());  // no file named yet
    std::string folderAsked;
    boot.openDialog = [&](const std::string& folder) {
      folderAsked = folder;
      return std::optional<std::string>(hex);
    };
    boot.ButtonOpen()->click();
    QCOMPARE(boot.EditOSFile()->text(), QString::fromStdString(hex));
    QVERIFY(boot.ButtonUpdate()->isEnabled());

    boot.ButtonUpdate()->click();
    QVERIFY(boot.Running());
    QCOMPARE(boot.ButtonUpdate()->text(), QStringLiteral("STOP"));
    QVERIFY(!w.isEnabled());
    QVERIFY(!boot.ButtonOpen()->isEnabled());
    QVERIFY(!boot.EditOSFile()->isEnabled());
    QVERIFY(!w.close());     // neither window goes while the update runs
    QVERIFY(!boot.close());
    // Pages go out; a stop answered No lets the update go on.
    QTRY_VERIFY_WITH_TIMEOUT(boot.ProgressBar()->value() > 0, 15000);
    // The console sees the link the update opened, and cannot take it meanwhile.
    ide::TConsoleWindow& console = *w.Simulation()->Console();
    QCOMPARE(console.ConnectButton()->text(), QStringLiteral("Verbindung trennen"));
    QVERIFY(!console.ConnectButton()->isEnabled());
    QVERIFY(!w.Action(TCommandId::Transfer)->isEnabled());
    QVERIFY(boot.StatusText()->text().startsWith(QStringLiteral("Das Betriebssystem wird auf den Mikrocontroller übertragen...\n")));
    QVERIFY(boot.StatusText()->text().contains(QStringLiteral(" erfolgreich übertragene Seiten von insgesamt 256\n")));
    m_answers = {TAnswer::No};
    boot.ButtonUpdate()->click();
    QCOMPARE(m_shown.size(), size_t{1});
    QCOMPARE(m_shown[0].text, std::string(link::texts::kBootStopWarning));
    QCOMPARE(m_shown[0].buttons, workspace::TButtons::YesNoCancel);
    QVERIFY(boot.Running());
    QTRY_COMPARE_WITH_TIMEOUT(boot.StatusText()->text(), QStringLiteral("Update fertiggestellt."), 30000);
    QCOMPARE(boot.ProgressBar()->value(), 200);
    QVERIFY(!w.isEnabled());  // until the button is pressed
    boot.ButtonUpdate()->click();
    QVERIFY(!boot.Running());
    QVERIFY(w.isEnabled());
    QVERIFY(boot.ButtonOpen()->isEnabled());
    QCOMPARE(boot.ButtonUpdate()->text(), QStringLiteral("Update"));
    QVERIFY(!link.Link().Connected());  // the update opened it and closed it

    // The board's flash, page by page: the records' bytes, 0xFF elsewhere.
    QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(Path("flash.bin")), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(ReadAll(Path("flash.bin")).size(), size_t{32768}, 10000);
    std::string expected(32768, '\xFF');
    expected.replace(0, 4, std::string("\x0C\x94\x2A\x00", 4));
    expected.replace(0x78, 16, "ABCDEFGHIJKLMNOP");
    expected.replace(0x3F00, far.size(), far);
    const std::string flash = ReadAll(Path("flash.bin"));
    for (size_t page = 0; page < 256; ++page)
      QVERIFY2(flash.compare(page * 128, 128, expected, page * 128, 128) == 0, qPrintable(QString::number(page)));

    // A second update stopped with Yes while pages go out: idle, unlocked, link kept.
    m_shown.clear();
    boot.ButtonUpdate()->click();
    QTRY_VERIFY_WITH_TIMEOUT(boot.Machine().State() == link::update::Pages, 15000);
    m_answers = {TAnswer::Yes};
    boot.ButtonUpdate()->click();
    QCOMPARE(m_shown.size(), size_t{1});
    QVERIFY(!boot.Running());
    QVERIFY(w.isEnabled());
    QVERIFY(link.Link().Connected());
    link.Link().LinkClose();
    StopBoard(board);
  }
};

QTEST_MAIN(TLinkWindowTest)
#include "link_window_test.moc"
