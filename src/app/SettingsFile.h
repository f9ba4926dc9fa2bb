#pragma once
// The meter's settings file, opened where ChooseSettingsPlace (app/SettingsPlace.h) puts it.
#include <memory>

#include "toolkit/IniFile.h"

namespace zq {

std::unique_ptr<TIniFile> OpenSettingsFile();

} // namespace zq
