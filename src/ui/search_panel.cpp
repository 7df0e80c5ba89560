#include "ui/search_panel.h"

#include "ui/qt_text.h"
#include "ui/source_editor.h"
#include "workspace/search.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace zarvek::ui {

TSearchPanel::TSearchPanel(QWidget* parent)
    : QWidget(parent),
      m_find(new QLineEdit),
      m_replace(new QLineEdit),
      m_word(new QCheckBox(QStringLiteral("Nur ganze Wörter"))),
      m_case(new QCheckBox(QStringLiteral("Groß-/Kleinschreibung"))),
      m_all(new QCheckBox(QStringLiteral("Alle ersetzen"))),
      m_findButton(new QPushButton(QStringLiteral("Weitersuchen"))),
      m_replaceButton(new QPushButton(QStringLiteral("Ersetzen"))) {
  m_word->setObjectName(QStringLiteral("CheckWord"));
  m_case->setObjectName(QStringLiteral("CheckCase"));
  m_all->setObjectName(QStringLiteral("CheckReplaceAll"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  for (QWidget* w : std::initializer_list<QWidget*>{m_find, m_findButton, m_replace, m_replaceButton, m_word, m_case, m_all})
    layout->addWidget(w);
  layout->addStretch();
  setMinimumWidth(227);
  connect(m_findButton, &QPushButton::clicked, this, [this] { FindNext(); });
  connect(m_find, &QLineEdit::returnPressed, this, [this] { FindNext(); });
  connect(m_replaceButton, &QPushButton::clicked, this, [this] { ReplaceNext(); });
  hide();
}

void TSearchPanel::Open(TSourceEditor* editor, bool replace) {
  m_editor = editor;
  const std::string selection = ToCp1252(editor->selectedText());
  m_find->setText(FromCp1252(workspace::FindFieldPreset(selection, ToCp1252(m_find->text()))));
  for (QWidget* w : std::initializer_list<QWidget*>{m_replace, m_replaceButton, m_all}) w->setVisible(replace);
  show();
  m_find->setFocus();
  m_find->selectAll();
}

bool TSearchPanel::FindNext() {
  if (!m_editor) return false;
  const workspace::TSearchOptions options{m_word->isChecked(), m_case->isChecked()};
  const workspace::TSearchStep step = workspace::SearchFrom(m_editor->Cp1252Text(), ToCp1252(m_find->text()),
                                                            static_cast<size_t>(m_editor->SelectionEndOffset()), options);
  if (step.found) m_editor->SelectOffsets(static_cast<int>(step.selectionStart), static_cast<int>(step.selectionEnd));
  else m_editor->SetCaretOffset(0);
  return step.found;
}

void TSearchPanel::ReplaceNext() {
  if (!m_editor || m_editor->isReadOnly()) return;
  const workspace::TSearchOptions options{m_word->isChecked(), m_case->isChecked()};
  std::string text = m_editor->Cp1252Text();
  const std::string pattern = ToCp1252(m_find->text());
  const std::string replacement = ToCp1252(m_replace->text());
  if (m_all->isChecked()) {
    if (workspace::ReplaceAll(text, pattern, replacement, options) == 0) return;
    m_editor->beginUndoAction();
    m_editor->selectAll();
    m_editor->replaceSelectedText(FromCp1252(text));
    m_editor->endUndoAction();
    m_editor->SetCaretOffset(0);
    return;
  }
  const int start = m_editor->SelectionStartOffset();
  const int end = m_editor->SelectionEndOffset();
  const workspace::TSearchStep step = workspace::ReplaceNext(text, pattern, replacement, static_cast<size_t>(start),
                                                             static_cast<size_t>(end), options);
  if (text != m_editor->Cp1252Text()) m_editor->replaceSelectedText(FromCp1252(replacement));
  if (step.found) m_editor->SelectOffsets(static_cast<int>(step.selectionStart), static_cast<int>(step.selectionEnd));
  else m_editor->SetCaretOffset(0);
}

}  // namespace zarvek::ui
