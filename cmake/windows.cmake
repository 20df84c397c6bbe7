# The Windows build: adapters, the two programs and the Wine test tiers.
enable_language(RC)

# Every test executable runs under Wine in a fresh copy of the template prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/wine/run-in-prefix.sh)

# Link-time optimisation for the two programs only: the code of the libraries
# they share with the tests is compiled twice, as intermediate code for the
# programs' optimised link and as machine code for every other link, which
# stays a plain one. A program then keeps only the code that it reaches and
# inlines across the libraries; Kestrel.exe loses about a sixth. One
# partition: GCC 12 fails on the programs when it splits them, and a single
# one also gives the smallest code.
set(kestrel_lto "$<$<CONFIG:Release>:-flto;-ffat-lto-objects>")
add_link_options($<$<CONFIG:Release>:-fno-lto>)
function(kestrel_lto_library target)
  target_compile_options(${target} PRIVATE "${kestrel_lto}")
endfunction()
foreach(library common_portable kestrel_portable tidewatch_portable)
  kestrel_lto_library(${library})
endforeach()

# A program of the product, as small as it can be: the library's verbose
# handler of an uncaught exception prints the exception's type, demangled, to
# a standard error that a window program does not have, and then aborts. It
# brings the demangler and stdio along; going straight to abort is the same
# for the user and saves some 65,000 bytes per program.
function(kestrel_program target)
  set(underscore "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(underscore "_")  # 32-bit Windows decorates C names with one
  endif()
  target_link_options(${target} PRIVATE
    "-Wl,--defsym,${underscore}_ZN9__gnu_cxx27__verbose_terminate_handlerEv=${underscore}abort")
  # The link's own optimisation level rules the optimised link's code.
  kestrel_lto_library(${target})
  target_link_options(${target} PRIVATE "$<$<CONFIG:Release>:-flto;-flto-partition=one;-Os>")
endfunction()

# The version and publisher for the programs' resources (common/win32/version_info.rc).
configure_file(${CMAKE_SOURCE_DIR}/cmake/kestrel_version.h.in
               ${CMAKE_BINARY_DIR}/generated/kestrel_version.h @ONLY)
add_library(kestrel_version INTERFACE)
target_include_directories(kestrel_version INTERFACE ${CMAKE_BINARY_DIR}/generated)

# A program's manifest, with the project's version, in the folder of its
# resource script's output, where the resource compiler finds it by name.
function(kestrel_manifest target template)
  get_filename_component(name ${template} NAME_WLE)
  configure_file(${template} ${CMAKE_CURRENT_BINARY_DIR}/${name} @ONLY)
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
endfunction()

file(GLOB platform_win32_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
add_library(platform_win32 STATIC ${platform_win32_sources})
target_include_directories(platform_win32 PUBLIC ${CMAKE_SOURCE_DIR})
kestrel_lto_library(platform_win32)
# The common dialogs and COM are bound when first used, not linked: the
# programs' windows open without them.
target_link_libraries(platform_win32 PUBLIC advapi32 user32 gdi32 comctl32 shell32 uuid
                      PRIVATE kestrel_warnings)

# The windows both programs show (the ping configuration dialog).
file(GLOB common_win32_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/common/win32/*.cpp)
add_library(common_win32 STATIC ${common_win32_sources})
target_link_libraries(common_win32 PUBLIC common_portable platform_win32 PRIVATE kestrel_warnings)
kestrel_lto_library(common_win32)

add_subdirectory(kestrel/win32)
add_subdirectory(tidewatch/win32)
add_subdirectory(distribution)
add_subdirectory(installer)

# The smallest program of this architecture: the test command starts it to
# learn whether the host can run this build at all.
add_executable(wine_probe ${CMAKE_SOURCE_DIR}/tests/wine/probe.c)

# GoogleTest from the distribution's sources, built with the cross compiler.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_subdirectory(tests/adapters)
add_subdirectory(tests/bench)
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt)
  add_subdirectory(tests/e2e)
endif()
