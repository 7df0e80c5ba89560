// The project as an XML document: the element layout both ways.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "project/project.h"
#include "project/xml.h"

namespace zarvek {

// An interactive open reads everything a file holds; a module load (the compiler's) only
// the two texts and the profile.
enum class TLoadMode { Interactive, Module };

// Only the two source texts are escaped: "&", "<" and ">", in that order.
std::string EscapeSource(std::string_view text);
std::string UnescapeSource(std::string_view text);

// The document a save writes, in its element order.
void BuildProjectDocument(const TProject& project, TXML& xml);
// The bytes of a saved project file.
std::string ProjectToXml(const TProject& project);

// False (and nothing read) when the document element is missing or not named exactly
// "project". An interactive load also places the objects and lists their tree nodes.
bool ReadProjectDocument(const TXML& xml, TLoadMode mode, TProject& project, std::vector<TObjectNode>& nodes);

}  // namespace zarvek
