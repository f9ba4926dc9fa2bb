#include "cpuid/VersionRecord.h"

namespace zq {

void TVersionRecord::SetInfo(const std::string& copyright, const std::string& product,
                             float version, std::int32_t build, TBuildStatus status,
                             TReleaseStatus release) {
    FCopyright = copyright;
    FProduct = product;
    FVersion = version;
    FBuild = build;
    FStatus = status;
    FRelease = release;
}

void TVersionRecord::SetInfo(const TVersionRecordStruct& info) {
    SetInfo(info.Copyright, info.Product, info.Version, info.Build, info.Status, info.Release);
}

} // namespace zq
