# Settings every Vendrix target shares: language level, warnings, Qt's stricter macros.
option(VENDRIX_WERROR "Treat warnings as errors" OFF)
option(VENDRIX_SANITIZE "Build with address and undefined-behaviour sanitizers" OFF)

function(vendrix_target_settings target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF AUTOMOC ON)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wshadow -Wsuggest-override -Wcast-qual -Wformat=2)
  if(VENDRIX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_compile_definitions(${target} PRIVATE QT_NO_FOREACH)
  if(VENDRIX_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A Qt Test executable registered with CTest, run offscreen on a fresh VENDRIX_ROOT.
function(vendrix_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  vendrix_target_settings(${name})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
    TIMEOUT 600)
endfunction()

# The throwaway PostgreSQL server the engine-neutral tests run against a second time.
set(VENDRIX_PG_TEST_PORT 55439 CACHE STRING "Loopback port of the test PostgreSQL cluster")

# Registers an existing test once more, against the test PostgreSQL server.
function(vendrix_add_pg_variant name)
  add_test(NAME ${name}_pg COMMAND ${name})
  set_tests_properties(${name}_pg PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;VX_TEST_PG=127.0.0.1:${VENDRIX_PG_TEST_PORT}"
    FIXTURES_REQUIRED postgres
    TIMEOUT 600)
endfunction()
