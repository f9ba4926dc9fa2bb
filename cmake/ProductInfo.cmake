# The product's identity in one place: the version is the project's (CMakeLists.txt), the maker
# and its address are set here. Generated from it: product/ProductInfo.h for the code, and for the
# Windows build the resource script (version resource) and the manifest (assembly version).

set(ZQ_MAKER "The Zentiq developers")
set(ZQ_COPYRIGHT_YEAR 2026)
# Until the project has a public home, an address under a reserved example domain, so that a
# click in the About box never opens somebody else's site.
set(ZQ_MAKER_URL "https://zentiq.example.org/" CACHE STRING
    "The maker's web address, shown and opened by the About box")
if(NOT ZQ_MAKER_URL MATCHES "^https?://[A-Za-z0-9.-]+(:[0-9]+)?(/[A-Za-z0-9._~!$&'()*+,;=:@%/?#-]*)?$")
  message(FATAL_ERROR "ZQ_MAKER_URL must be a plain http or https address, not '${ZQ_MAKER_URL}'")
endif()

# Windows versions have four parts; missing ones are 0.
foreach(part MAJOR MINOR PATCH TWEAK)
  set(ZQ_VERSION_${part} ${PROJECT_VERSION_${part}})
  if(ZQ_VERSION_${part} STREQUAL "")
    set(ZQ_VERSION_${part} 0)
  endif()
endforeach()
set(ZQ_VERSION "${ZQ_VERSION_MAJOR}.${ZQ_VERSION_MINOR}.${ZQ_VERSION_PATCH}.${ZQ_VERSION_TWEAK}")

set(ZQ_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/src/product/ProductInfo.h.in
               ${ZQ_GENERATED_DIR}/product/ProductInfo.h @ONLY)
target_include_directories(zq_options INTERFACE ${ZQ_GENERATED_DIR})

if(WIN32)
  set(ZQ_RES_DIR ${PROJECT_SOURCE_DIR}/res)
  # The manifest names the program's own architecture: Windows refuses to start a program whose
  # manifest names another, and Wine ignores such a manifest (with its compatibility section).
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(ZQ_MANIFEST_ARCH amd64)
  else()
    set(ZQ_MANIFEST_ARCH X86)
  endif()
  set(ZQ_MANIFEST ${ZQ_GENERATED_DIR}/res/zentiq.manifest)
  configure_file(${ZQ_RES_DIR}/zentiq.manifest.in ${ZQ_MANIFEST} @ONLY)
  configure_file(${ZQ_RES_DIR}/zentiq.rc.in ${ZQ_GENERATED_DIR}/res/zentiq.rc @ONLY)
  set(ZQ_RESOURCE_SCRIPT ${ZQ_GENERATED_DIR}/res/zentiq.rc)
endif()
