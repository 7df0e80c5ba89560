#include "ui/source_editor.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFont>
#include <QMimeData>
#include <QUrl>

#include "ui/qt_text.h"

namespace zarvek::ui {

TSourceEditor::TSourceEditor(TSourceLexer::Kind kind, QWidget* parent)
    : QsciScintilla(parent), m_lexer(new TSourceLexer(kind, this)) {
  setUtf8(true);
  setEolMode(EolWindows);
  setLexer(m_lexer);
  setMarginType(0, NumberMargin);
  setMarginWidth(0, QStringLiteral("00000"));
  setMarginType(1, SymbolMargin);
  setMarginWidth(1, 14);
  setMarginSensitivity(1, true);
  setMarginSensitivity(0, true);
  m_errorMarker = markerDefine(Background, 0);
  m_breakpointMarker = markerDefine(Background, 1);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  connect(this, &QsciScintilla::marginClicked, this, [this](int, int line, Qt::KeyboardModifiers) {
    ToggleBreakpoint(line);
    Q_EMIT BreakpointToggled(line + 1, m_breakpoints.count(line + 1) != 0);
  });
}

std::string TSourceEditor::Cp1252Text() const { return ToCp1252(text()); }
void TSourceEditor::SetCp1252Text(const std::string& bytes) { setText(FromCp1252(bytes)); }

int TSourceEditor::BytePosition(int offset) const {
  return static_cast<int>(SendScintilla(SCI_POSITIONRELATIVE, 0UL, static_cast<long>(offset)));
}
int TSourceEditor::CharOffset(int bytePosition) const {
  return static_cast<int>(SendScintilla(SCI_COUNTCHARACTERS, 0UL, static_cast<long>(bytePosition)));
}

int TSourceEditor::CaretOffset() const { return CharOffset(static_cast<int>(SendScintilla(SCI_GETCURRENTPOS))); }
void TSourceEditor::SetCaretOffset(int offset) {
  SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(BytePosition(offset)));
}
void TSourceEditor::SelectOffsets(int start, int end) {
  SendScintilla(SCI_SETSEL, static_cast<unsigned long>(BytePosition(start)), static_cast<long>(BytePosition(end)));
}
int TSourceEditor::OffsetOfLine(int line) const {
  return CharOffset(static_cast<int>(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line))));
}
int TSourceEditor::SelectionStartOffset() const { return CharOffset(static_cast<int>(SendScintilla(SCI_GETSELECTIONSTART))); }
int TSourceEditor::SelectionEndOffset() const { return CharOffset(static_cast<int>(SendScintilla(SCI_GETSELECTIONEND))); }

std::string TSourceEditor::CaretLine(int& caretInLine) const {
  int line = 0, index = 0;
  getCursorPosition(&line, &index);
  const QString lineText = text(line);
  const int lineStart = static_cast<int>(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
  const int caret = static_cast<int>(SendScintilla(SCI_GETCURRENTPOS));
  caretInLine = CharOffset(caret) - CharOffset(lineStart);
  std::string bytes = ToCp1252(lineText);
  while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.pop_back();
  return bytes;
}

void TSourceEditor::ReplaceInCaretLine(size_t start, size_t length, const std::string& cp1252) {
  int line = 0, index = 0;
  getCursorPosition(&line, &index);
  const int lineStart = CharOffset(static_cast<int>(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line))));
  const int caret = CaretOffset();
  SelectOffsets(lineStart + static_cast<int>(start), lineStart + static_cast<int>(start + length));
  replaceSelectedText(FromCp1252(cp1252));
  SetCaretOffset(caret);
}

namespace {
QStringList LocalFiles(const QMimeData* mime) {
  QStringList files;
  if (mime && mime->hasUrls())
    for (const QUrl& url : mime->urls())
      if (url.isLocalFile()) files << url.toLocalFile();
  return files;
}
}  // namespace

void TSourceEditor::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
  else QsciScintilla::dragEnterEvent(event);
}

void TSourceEditor::dragMoveEvent(QDragMoveEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
  else QsciScintilla::dragMoveEvent(event);
}

void TSourceEditor::dropEvent(QDropEvent* event) {
  if (DropFiles(event->mimeData())) event->acceptProposedAction();
  else QsciScintilla::dropEvent(event);
}

bool TSourceEditor::DropFiles(const QMimeData* mime) {
  const QStringList files = LocalFiles(mime);
  if (files.isEmpty()) return false;
  Q_EMIT FilesDropped(files);
  return true;
}

void TSourceEditor::setModified(bool modified) {
  const bool before = isModified();
  if (modified) {
    m_changedBesideText = !QsciScintilla::isModified();
  } else {
    m_changedBesideText = false;
    QsciScintilla::setModified(false);
  }
  if (isModified() != before) Q_EMIT modificationChanged(isModified());
}

void TSourceEditor::ApplySettings(const TSettings& s) {
  QFont font(QString::fromStdString(s.fontName), s.fontSize);
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  m_lexer->SetEditorFont(font);
  m_lexer->SetColours(s.fontColor, s.commentColor, s.background);
  setMarginsFont(font);
  setMarginsBackgroundColor(ColourFromSettings(s.gutterColor));
  setMarkerBackgroundColor(ColourFromSettings(s.errorColor), m_errorMarker);
  setMarkerBackgroundColor(ColourFromSettings(s.breakpointBackground), m_breakpointMarker);
  setMarkerForegroundColor(ColourFromSettings(s.breakpointColor), m_breakpointMarker);
}

void TSourceEditor::MarkErrorLine(int line) {
  markerDeleteAll(m_errorMarker);
  m_errorLine = line;
  if (line >= 0) markerAdd(line, m_errorMarker);
}

void TSourceEditor::ClearBreakpoints() {
  m_breakpoints.clear();
  markerDeleteAll(m_breakpointMarker);
}

void TSourceEditor::ToggleBreakpoint(int line) {
  if (m_breakpoints.erase(line + 1)) {
    markerDelete(line, m_breakpointMarker);
  } else {
    m_breakpoints.insert(line + 1);
    markerAdd(line, m_breakpointMarker);
  }
}

}  // namespace zarvek::ui
