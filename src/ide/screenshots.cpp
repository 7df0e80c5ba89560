// Renders the main window in the states a user sees into PNG files for review:
//   zarvek-screenshots OUTPUT_FOLDER EXAMPLE_PROJECT
// Run it under xvfb-run (scripts/screenshots.sh) or with QT_QPA_PLATFORM=offscreen.
#include <filesystem>
#include <iostream>

#include "ide/main_window.h"
#include "ide/setup_dialog.h"
#include "ui/source_editor.h"

#include <QAction>
#include <QApplication>
#include <QTest>

namespace {
bool Shot(QWidget* widget, const std::filesystem::path& file) {
  QTest::qWait(100);
  const bool saved = widget->grab().save(QString::fromStdString(file.string()));
  std::cout << (saved ? "geschrieben: " : "FEHLER: ") << file.string() << "\n";
  return saved;
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
  return ok ? 0 : 1;
}
