#include "forms/AboutText.h"

namespace zq {

std::string VersionCaption(const std::string& versionText) {
    return "Version " + (versionText.empty() ? std::string("1.0.0.x") : versionText);
}

} // namespace zq
