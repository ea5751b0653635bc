# Shared build rules: warnings, sanitizers, dependencies, and the helpers
# every subsystem uses to declare its library, tests, benchmarks and fuzzers.

set(VELTO_WARNINGS -Wall -Wextra)

if(VELTO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(VELTO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VELTO_FUZZ needs clang")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(VELTO_TEXT_PROFILE STREQUAL "SJIS")
  set(VELTO_PROFILE_DEFINE VELTO_PROFILE_SJIS=1)
elseif(VELTO_TEXT_PROFILE STREQUAL "GBK")
  set(VELTO_PROFILE_DEFINE VELTO_PROFILE_GBK=1)
else()
  message(FATAL_ERROR "VELTO_TEXT_PROFILE must be SJIS or GBK")
endif()

macro(velto_find_dependencies)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
  pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
  pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
  pkg_check_modules(VORBIS REQUIRED IMPORTED_TARGET ogg vorbis vorbisfile vorbisenc)
  pkg_check_modules(DEFLATE REQUIRED IMPORTED_TARGET libdeflate)
  pkg_check_modules(LIBAV REQUIRED IMPORTED_TARGET libavformat libavcodec libavutil libswscale libswresample)
  find_package(PNG REQUIRED)
  find_package(ZLIB REQUIRED)
  find_package(Threads REQUIRED)
  if(VELTO_BUILD_TESTS)
    find_package(GTest REQUIRED)
  endif()
  if(VELTO_BUILD_BENCH AND NOT VELTO_SANITIZE)
    find_package(benchmark REQUIRED)
  endif()
endmacro()

# velto_add_library(NAME SOURCES... [DEPS targets...])
# One static library per subsystem; include paths are rooted at src/ so that
# code writes #include "assets/DIBImage.h".
function(velto_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${VELTO_WARNINGS})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
endfunction()

# velto_add_test(NAME LABEL label SOURCES... DEPS ...)
# Each GoogleTest case becomes one CTest test carrying the subsystem label.
# velto_add_test_folder(NAME LABEL label DEPS ...): every *Test.cpp of the
# current folder in one test program.
function(velto_add_test_folder name)
  cmake_parse_arguments(ARG "" "LABEL" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*Tests.cpp)
  if(sources)
    velto_add_test(${name} LABEL ${ARG_LABEL} SOURCES ${sources} DEPS ${ARG_DEPS})
  endif()
endfunction()

function(velto_add_test name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE ${VELTO_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE VELTO_SOURCE_DIR="${CMAKE_SOURCE_DIR}" VELTO_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS ${ARG_LABEL})
endfunction()

# velto_add_bench(NAME SOURCES... DEPS ...)
function(velto_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/bench ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE ${VELTO_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
endfunction()

# velto_add_fuzzer(NAME SOURCES... DEPS ...)
function(velto_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/fuzz ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY VELTO_FUZZERS ${name})
endfunction()
