// A QScintilla editor for one source part: its text is cp1252 in the core and UTF-8 in
// the widget; positions given to and taken from it are character offsets, which equal
// cp1252 byte offsets.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <set>
#include <string>

#include "project/settings.h"
#include "ui/source_lexers.h"

namespace zarvek::ui {

class TSourceEditor : public QsciScintilla {
  Q_OBJECT
 public:
  TSourceEditor(TSourceLexer::Kind kind, QWidget* parent = nullptr);

  std::string Cp1252Text() const;
  void SetCp1252Text(const std::string& text);
  // Character offsets (0-based).
  int CaretOffset() const;
  void SetCaretOffset(int offset);
  void SelectOffsets(int start, int end);
  // Line and column 0-based, the column in characters.
  int OffsetOfLine(int line) const;
  int SelectionStartOffset() const;
  int SelectionEndOffset() const;
  // The line under the caret, cp1252, and the caret's offset in it.
  std::string CaretLine(int& caretInLine) const;
  void ReplaceInCaretLine(size_t start, size_t length, const std::string& cp1252);

  // QScintilla can only clear its modified state; a change the text does not show (a new
  // profile) is kept here until the next save clears both. These hide the base versions,
  // so every caller that holds a TSourceEditor sees both kinds of change.
  bool isModified() const { return m_changedBesideText || QsciScintilla::isModified(); }
  void setModified(bool modified);

  void ApplySettings(const TSettings& settings);
  void MarkErrorLine(int line);  // -1 clears
  int ErrorLine() const { return m_errorLine; }
  const std::set<int>& Breakpoints() const { return m_breakpoints; }  // 1-based lines
  void ToggleBreakpoint(int line);                                    // 0-based line
  void ClearBreakpoints();
  TSourceLexer* Lexer() const { return m_lexer; }
  // What a drop does: local files are reported (true), anything else is left to the text.
  bool DropFiles(const QMimeData* mime);

 Q_SIGNALS:
  // Files dropped onto the editor open instead of landing in the text as names.
  void FilesDropped(const QStringList& paths);
  // A gutter click set or removed a breakpoint (line 1-based).
  void BreakpointToggled(int line, bool added);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  int BytePosition(int offset) const;
  int CharOffset(int bytePosition) const;
  TSourceLexer* m_lexer;
  int m_errorMarker = 0, m_breakpointMarker = 1;
  int m_errorLine = -1;
  bool m_changedBesideText = false;
  std::set<int> m_breakpoints;
};

}  // namespace zarvek::ui
