// What the offscreen window tests of the simulation share: finding tree nodes, reading the
// selected line, clicking the gutter and stepping to the next pause.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "ide/main_window.h"
#include "ide/simulation_controller.h"
#include "ui/error_strip.h"
#include "ui/source_editor.h"
#include "workspace/commands.h"

#include <QAction>
#include <QString>
#include <QTest>
#include <QTreeWidget>

namespace zarvek::test {

inline constexpr int kWaitMs = 8000;

// Source lines joined with CR LF, as the editors keep them.
inline std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

// A node of the project tree by its path of captions below the root; nullptr when absent.
inline QTreeWidgetItem* TreeNode(ide::TForm1& w, std::initializer_list<QString> path) {
  QTreeWidgetItem* item = w.Tree()->topLevelItem(0);
  for (const QString& caption : path) {
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; item && i < item->childCount() && !next; ++i)
      if (item->child(i)->text(0) == caption) next = item->child(i);
    item = next;
  }
  return item;
}

// The paused run's variables: the frame branches under Simulator/Variablen.
inline QTreeWidgetItem* Variables(ide::TForm1& w) {
  return TreeNode(w, {QStringLiteral("Simulator"), QStringLiteral("Variablen")});
}

// The first selected line, 1-based; 0 without a selection.
inline int SelectedLine(ui::TSourceEditor* e) {
  int fromLine = 0, fromIndex = 0, toLine = 0, toIndex = 0;
  e->getSelection(&fromLine, &fromIndex, &toLine, &toIndex);
  return e->hasSelectedText() ? fromLine + 1 : 0;
}

inline void GutterClick(ui::TSourceEditor* e, int line1) { Q_EMIT e->marginClicked(1, line1 - 1, Qt::NoModifier); }

// Runs a command and waits for the pause it leads to; returns the paused line, -1 when no
// pause came, -2 when the command was disabled.
inline int StepTo(ide::TForm1& w, workspace::TCommandId id) {
  const uint64_t before = w.Simulation()->Pauses();
  if (!w.Action(id)->isEnabled()) return -2;
  w.Action(id)->trigger();
  if (!QTest::qWaitFor([&] { return w.Simulation()->Pauses() > before; }, kWaitMs)) {
    qWarning("no pause: %s", w.ErrorDisplay()->Display().Slot(workspace::TSlot::Status).text.c_str());
    return -1;
  }
  return w.Simulation()->PausedLine();
}

}  // namespace zarvek::test
