#pragma once
// Texts of the About box that follow from facts.
#include <string>

namespace zq {

// The version label for the version text of the program's file: "Version " and the text, or
// "Version 1.0.0.x" when the file has no version resource (empty text).
std::string VersionCaption(const std::string& versionText);

} // namespace zq
