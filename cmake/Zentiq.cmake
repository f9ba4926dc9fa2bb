# Shared build settings and the helpers every source folder uses.

add_library(zq_options INTERFACE)
target_include_directories(zq_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
target_compile_options(zq_options INTERFACE -Wall -Wextra)

if(WIN32)
  # Windows XP and later, ANSI entry points, no dependency beyond the system DLLs.
  target_compile_definitions(zq_options INTERFACE
    _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX WIN32_LEAN_AND_MEAN STRICT)
  target_link_options(zq_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

if(ZQ_SANITIZE AND NOT WIN32)
  target_compile_options(zq_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                              -fno-sanitize-recover=undefined)
  target_link_options(zq_options INTERFACE -fsanitize=address,undefined)
endif()

# Under the sanitizers the standard library checks its preconditions too: an empty optional
# read or an index out of range stops the run instead of reading whatever lies there.
if((ZQ_SANITIZE OR ZQ_FUZZ) AND NOT WIN32)
  target_compile_definitions(zq_options INTERFACE _GLIBCXX_ASSERTIONS)
endif()

# Fuzzing: every library gets coverage instrumentation; the targets link libFuzzer's main.
if(ZQ_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz build needs clang (libFuzzer)")
  endif()
  target_compile_options(zq_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                              -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(zq_options INTERFACE -fsanitize=address,undefined)
endif()

# Portable logic: built on every preset, tested natively and under Wine.
function(zq_logic_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC zq_options)
  set_property(GLOBAL APPEND PROPERTY ZQ_LOGIC_LIBS ${name})
endfunction()

# Windows glue: built only by the Windows preset.
function(zq_glue_library name)
  if(WIN32 AND ARGN)
    add_library(${name} STATIC ${ARGN})
    target_link_libraries(${name} PUBLIC zq_options)
    set_property(GLOBAL APPEND PROPERTY ZQ_GLUE_LIBS ${name})
  endif()
endfunction()

# The release build: unused functions and data are dropped at link time.
option(ZQ_RELEASE "Build the size-optimised program that is shipped" OFF)
# No run-time type information either (the toolkit's classes say what they are, see
# TComponent::AsWinControl): its type names and records cost about 12 KB.
if(WIN32 AND ZQ_RELEASE)
  target_compile_options(zq_options INTERFACE -ffunction-sections -fdata-sections
                                              $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti>)
  target_link_options(zq_options INTERFACE -Wl,--gc-sections)
endif()
