#include "workspace/help_topics.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "workspace/texts.h"

namespace zarvek::workspace {

namespace {

namespace fs = std::filesystem;

// The words the help page describes, upper case as the help shows them.
constexpr std::string_view kHelpWords[] = {
    "$",        "$CLOCK",  "$EEPROM", "$IEEPROM",   "$INCLUDE", "$XEEPROM", "AS",       "BOOLEAN",   "BYTE",
    "CALL",     "CASE",    "CLOSE",   "CONST",      "DEACT",    "DIM",      "DO",       "DOWNTO",    "ELSE",
    "ELSEIF",   "END",     "EXIT",    "FOR",        "FUNCTION", "GOSUB",    "GOTO",     "IF",        "INPUT",
    "INTEGER",  "INTERRUPT", "IS",    "KEYINTERRUPT", "LOOP",   "MODULE",   "NEXT",     "ON",        "OPEN",
    "PAUSE",    "POKE",    "PRINT",   "PULSE",      "RANDOMIZE", "RETURN",  "SELECT",   "SETBAUD",   "SLOWMODE",
    "STEP",     "STRING",  "SUB",     "SWITCH",     "THEN",     "TO",       "TYPE",     "UNTIL",     "WHILE",
    "WORD",     "XEEPROM", "IEEPROM", "PORT",       "AD",       "DA"};

std::string Upper(std::string_view word) {
  std::string upper(word);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  return upper;
}

// "$" alone is the inline-bytes statement; any other word loses its "$" and is lower case.
std::string AnchorOf(std::string_view word) {
  if (word == "$") return "bytes";
  std::string anchor(word.starts_with('$') ? word.substr(1) : word);
  std::transform(anchor.begin(), anchor.end(), anchor.begin(), [](unsigned char c) { return std::tolower(c); });
  return anchor;
}

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

std::string Join(const std::string& folder, std::string_view name) { return (fs::path(folder) / name).string(); }

// The viewers we know how to point at a page of a compiled help file.
std::vector<std::string> ViewerCommand(const THelpSearch& search, const std::string& chm, std::string_view anchor) {
  if (!search.findProgram) return {};
  const std::string page = std::string(kHelpPage) + "#" + std::string(anchor);
  if (const std::string xchm = search.findProgram("xchm"); !xchm.empty())
    return {xchm, "file:" + chm + "#xchm:/" + page};
  if (const std::string kchm = search.findProgram("kchmviewer"); !kchm.empty())
    return {kchm, "-showPage", page, chm};
  return {};
}

}  // namespace

std::optional<std::string> KeywordAnchor(std::string_view word) {
  const std::string upper = Upper(word);
  if (std::find(std::begin(kHelpWords), std::end(kHelpWords), upper) == std::end(kHelpWords)) return std::nullopt;
  return AnchorOf(upper);
}

std::vector<std::string> HelpAnchors() {
  std::vector<std::string> anchors;
  // A directive and the qualifier of the same name ($XEEPROM, XEEPROM) share their entry.
  for (std::string_view w : kHelpWords)
    if (std::find(anchors.begin(), anchors.end(), AnchorOf(w)) == anchors.end()) anchors.push_back(AnchorOf(w));
  anchors.emplace_back(kTermsAnchor);
  return anchors;
}

std::string HelpWordAt(std::string_view line, size_t caret) {
  caret = std::min(caret, line.size());
  size_t start = caret, end = caret;
  while (start > 0 && IsWordChar(line[start - 1])) --start;
  while (end < line.size() && IsWordChar(line[end])) ++end;
  if (start > 0 && line[start - 1] == '$') --start;
  return std::string(line.substr(start, end - start));
}

THelpTarget FindHelp(std::string_view anchor, const THelpSearch& search) {
  const auto exists = [&](const std::string& f) { return search.fileExists && search.fileExists(f); };
  std::vector<std::string> htmlFolders{Join(search.programFolder, kHelpFolder),
                                       (fs::path(search.programFolder) / ".." / "share" / "zarvek" / kHelpFolder)
                                           .lexically_normal()
                                           .string()};
  for (const std::string& data : search.dataFolders) htmlFolders.push_back((fs::path(data) / "zarvek" / kHelpFolder).string());
  for (const std::string& folder : htmlFolders) {
    const std::string page = Join(folder, kHelpPage);
    if (exists(page)) return {THelpKind::HtmlPage, page, std::string(anchor), {}};
  }
  std::vector<std::string> chmFiles{Join(search.programFolder, kHelpFile)};
  for (const std::string& data : search.dataFolders) chmFiles.push_back((fs::path(data) / "zarvek" / kHelpFile).string());
  for (const std::string& chm : chmFiles) {
    if (!exists(chm)) continue;
    std::vector<std::string> command = ViewerCommand(search, chm, anchor);
    if (!command.empty()) return {THelpKind::ChmViewer, chm, std::string(anchor), std::move(command)};
    return {THelpKind::ChmFile, chm, std::string(anchor), {}};
  }
  return {THelpKind::Missing, chmFiles.front(), std::string(anchor), {}};
}

}  // namespace zarvek::workspace
