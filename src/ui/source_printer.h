// Printing a source: every page carries the part's heading ("- BASIC -", "- ASSEMBLER -").
#pragma once

#include <Qsci/qsciprinter.h>

#include <QString>

namespace zarvek::ui {

class TSourceEditor;

class TSourcePrinter : public QsciPrinter {
 public:
  explicit TSourcePrinter(QString heading) : m_heading(std::move(heading)) {}
  const QString& Heading() const { return m_heading; }
  void formatPage(QPainter& painter, bool drawing, QRect& area, int pageNumber) override;
  // The whole text or the lines of the selection; the number of pages, 0 when nothing
  // was printed.
  int PrintSource(TSourceEditor* editor, bool selectionOnly);

 private:
  QString m_heading;
};

}  // namespace zarvek::ui
