// The feature list view sorts its captions with lstrcmpA; for the feature names that is the
// byte order the portable tests assume.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "forms/ProcessorPages.h"

using namespace zq;

TEST(FeatureList, SystemComparisonOrdersTheNamesAsTheirBytes) {
    std::vector<const char*> bySystem, byBytes;
    for (const TFeatureRow& row : FeatureRows)
        bySystem.push_back(row.Name);
    byBytes = bySystem;
    std::sort(bySystem.begin(), bySystem.end(),
              [](const char* a, const char* b) { return lstrcmpA(a, b) < 0; });
    std::sort(byBytes.begin(), byBytes.end(),
              [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
    EXPECT_EQ(std::vector<std::string>(bySystem.begin(), bySystem.end()),
              std::vector<std::string>(byBytes.begin(), byBytes.end()));
    EXPECT_STREQ(bySystem.front(), "3DNOW");
    EXPECT_STREQ(bySystem.back(), "VME");
}
