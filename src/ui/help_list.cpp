#include "ui/help_list.h"

#include "ui/qt_text.h"
#include "ui/source_editor.h"

#include <QKeyEvent>
#include <QStyle>

namespace zarvek::ui {

THelpList::THelpList(QWidget* parent) : QListWidget(parent) {
  setObjectName(QStringLiteral("HelpList"));
  setFocusPolicy(Qt::ClickFocus);
  hide();
  connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { Choose(row(item)); });
}

void THelpList::Present(TSourceEditor* editor, std::vector<workspace::THelpEntry> entries, bool takeFocus) {
  m_editor = editor;
  m_entries = std::move(entries);
  clear();
  if (m_entries.empty() || !editor) {
    hide();
    return;
  }
  const QIcon icon = style()->standardIcon(QStyle::SP_ArrowRight);
  for (const workspace::THelpEntry& e : m_entries) {
    QString text = FromCp1252(e.text);
    if (!e.detail.empty()) text += QLatin1Char('\n') + FromCp1252(e.detail);
    auto* item = new QListWidgetItem(text, this);
    // Only the plain operand forms go without a picture.
    if (e.tag != 'd') item->setIcon(icon);
  }
  setCurrentRow(0);
  // Below the caret, inside the editor.
  setParent(editor);
  const long pos = editor->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
  const int x = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, pos));
  const int y = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, pos));
  const int lineHeight = static_cast<int>(editor->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL));
  setGeometry(x + editor->viewport()->x(), y + lineHeight + editor->viewport()->y(), 360, 180);
  show();
  raise();
  if (takeFocus) setFocus();
}

void THelpList::Choose(int row) {
  if (row < 0 || row >= static_cast<int>(m_entries.size())) return;
  const workspace::THelpEntry entry = m_entries[static_cast<size_t>(row)];
  hide();
  Q_EMIT Chosen(entry);
}

void THelpList::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    hide();
    if (m_editor) m_editor->setFocus();
    return;
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    Choose(currentRow());
    return;
  }
  QListWidget::keyPressEvent(event);
}

}  // namespace zarvek::ui
