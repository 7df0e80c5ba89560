// The search panel under the editors: find field, replace field and the three options.
// The searching itself is the workspace's; the panel works on the editor it is given.
#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace zarvek::ui {

class TSourceEditor;

class TSearchPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TSearchPanel(QWidget* parent = nullptr);
  // Shows the panel for find (replace off) or replace, the find field taken from the
  // editor's selection when that is 1 to 63 characters long.
  void Open(TSourceEditor* editor, bool replace);
  // Finds from the caret; a miss puts the caret at the start. True on a hit.
  bool FindNext();
  // Replaces the selected match (or every match with "alle ersetzen") and finds the next.
  void ReplaceNext();

  QLineEdit* FindField() const { return m_find; }
  QLineEdit* ReplaceField() const { return m_replace; }
  QCheckBox* CheckWord() const { return m_word; }
  QCheckBox* CheckCase() const { return m_case; }
  QCheckBox* CheckReplaceAll() const { return m_all; }

 private:
  TSourceEditor* m_editor = nullptr;
  QLineEdit* m_find;
  QLineEdit* m_replace;
  QCheckBox* m_word;
  QCheckBox* m_case;
  QCheckBox* m_all;
  QPushButton* m_findButton;
  QPushButton* m_replaceButton;
};

}  // namespace zarvek::ui
