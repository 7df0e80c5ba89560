#include "ui/source_printer.h"

#include "ui/source_editor.h"

#include <QFontMetrics>
#include <QPainter>

namespace zarvek::ui {

void TSourcePrinter::formatPage(QPainter& painter, bool drawing, QRect& area, int) {
  const QFontMetrics metrics(painter.font());
  if (drawing) painter.drawText(area.left(), area.top() + metrics.ascent(), m_heading);
  area.setTop(area.top() + metrics.height() * 2);
}

int TSourcePrinter::PrintSource(TSourceEditor* editor, bool selectionOnly) {
  int from = -1, to = -1;
  if (selectionOnly && editor->hasSelectedText()) {
    int fromIndex = 0, toIndex = 0;
    editor->getSelection(&from, &fromIndex, &to, &toIndex);
  }
  return printRange(editor, from, to);
}

}  // namespace zarvek::ui
