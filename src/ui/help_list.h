// The help list beside the caret: reserved names with their two-line help, operand forms
// and symbols, as the workspace proposes them.
#pragma once

#include "workspace/asm_help.h"

#include <QListWidget>
#include <vector>

namespace zarvek::ui {

class TSourceEditor;

class THelpList : public QListWidget {
  Q_OBJECT
 public:
  explicit THelpList(QWidget* parent = nullptr);
  // Shows the entries under the editor's caret; an empty list hides it. `takeFocus` when
  // asked for (Programmierhilfe), not while typing.
  void Present(TSourceEditor* editor, std::vector<workspace::THelpEntry> entries, bool takeFocus);
  const std::vector<workspace::THelpEntry>& Entries() const { return m_entries; }
  TSourceEditor* Editor() const { return m_editor; }
  void Choose(int row);

 Q_SIGNALS:
  void Chosen(const workspace::THelpEntry& entry);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::vector<workspace::THelpEntry> m_entries;
  TSourceEditor* m_editor = nullptr;
};

}  // namespace zarvek::ui
