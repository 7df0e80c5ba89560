// Where the help is and which page and anchor a request opens. The help is our own HTML
// page (help/index.html) with one anchor per keyword; a compiled help file "Zarvek.chm"
// beside the program is used when no HTML help is installed and a viewer for it is.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarvek::workspace {

inline constexpr std::string_view kHelpFolder = "help";
inline constexpr std::string_view kHelpPage = "index.html";
inline constexpr std::string_view kTermsAnchor = "7";

// The anchor of a word's entry on the help page ("dim" for DIM, "include" for $INCLUDE),
// matched without regard to case; nothing for a word the help does not describe.
std::optional<std::string> KeywordAnchor(std::string_view word);
// Every anchor the help page must carry: the keywords' and the terms of use.
std::vector<std::string> HelpAnchors();
// The word under or just before the caret of a line (cp1252), with a leading "$" of a
// directive; empty when there is none.
std::string HelpWordAt(std::string_view line, size_t caret);

struct THelpSearch {
  std::string programFolder;             // the folder of the running program
  std::vector<std::string> dataFolders;  // the system's data folders (each holds "zarvek/")
  std::function<bool(const std::string& file)> fileExists;
  // The full path of a program found on the search path, empty when it is not installed.
  std::function<std::string(const std::string& program)> findProgram;
};

enum class THelpKind {
  HtmlPage,   // open `url` in the browser
  ChmViewer,  // run `command`
  ChmFile,    // a compiled help file but no viewer we know: hand `file` to the system
  Missing,    // say so kindly; `file` is where the compiled help file was looked for
};

struct THelpTarget {
  THelpKind kind = THelpKind::Missing;
  std::string file;                  // the page or the compiled help file
  std::string anchor;                // HtmlPage: the fragment of the page's address
  std::vector<std::string> command;  // ChmViewer: the program and its arguments
};

// The HTML page in "help" beside the program, then in "../share/zarvek/help" (an installed
// program), then in each data folder's "zarvek/help"; else "Zarvek.chm" beside the program
// or in a data folder's "zarvek/", opened with xchm or kchmviewer at the page and anchor.
THelpTarget FindHelp(std::string_view anchor, const THelpSearch& search);

}  // namespace zarvek::workspace
