#pragma once
// Version description of the identification library and of its component.
#include <cstdint>
#include <string>

#include "cpuid/ReadOnlyProperty.h"
#include "toolkit/Types.h"

namespace zq {

enum TBuildStatus : std::uint8_t { bsAlpha, bsBeta, bsFinal };
enum TReleaseStatus : std::uint8_t { rsPrivate, rsPublic };

// How a module hands its version over.
struct TVersionRecordStruct {
    std::string Copyright;
    std::string Product;
    float Version = 0.0f;
    std::int32_t Build = 0;
    TBuildStatus Status = bsAlpha;
    TReleaseStatus Release = rsPrivate;
};

class TVersionRecord : public TObject {
public:
    ZQ_READONLY_PROPERTY(std::string, Copyright)
    ZQ_READONLY_PROPERTY(std::string, Product)
    ZQ_READONLY_PROPERTY(float, Version)
    ZQ_READONLY_PROPERTY(std::int32_t, Build)
    ZQ_READONLY_PROPERTY(TBuildStatus, Status)
    ZQ_READONLY_PROPERTY(TReleaseStatus, Release)

    // The only way the values change.
    void SetInfo(const std::string& copyright, const std::string& product, float version,
                 std::int32_t build, TBuildStatus status, TReleaseStatus release);
    void SetInfo(const TVersionRecordStruct& info);

private:
    std::string FCopyright;
    std::string FProduct;
    float FVersion = 0.0f;
    std::int32_t FBuild = 0;
    TBuildStatus FStatus = bsAlpha;
    TReleaseStatus FRelease = rsPrivate;
};

} // namespace zq
