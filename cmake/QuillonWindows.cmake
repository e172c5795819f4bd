# Cross-builds quillon.dll (setup/ and setup/windows/) with mingw-w64 as a project of its own,
# one per architecture: x86 is what ships (the Access 97 runtime is 32-bit), x64 is what
# Debian's Wine runs, so the x64 build also makes the program the Wine tests run.
include(ExternalProject)

function(quillon_windows_build arch triplet package)
  find_program(QUILLON_${arch}_CXX ${triplet}-g++)
  if(NOT QUILLON_${arch}_CXX)
    message(STATUS "Quillon: ${triplet}-g++ not found (package ${package}); "
                   "quillon.dll for ${arch} is not built, the rest is")
    return()
  endif()
  set(binary_dir ${CMAKE_BINARY_DIR}/quillon-${arch})
  set(products ${binary_dir}/quillon.dll)
  set(extra_args)
  if(arch STREQUAL "x64")
    list(APPEND extra_args -DQUILLON_TESTS_DIR=${CMAKE_SOURCE_DIR}/tests/setup/windows)
    list(APPEND products ${binary_dir}/wine-check/quillon-wine-check.exe)
  endif()
  ExternalProject_Add(quillon-${arch}
    SOURCE_DIR ${CMAKE_SOURCE_DIR}/setup/windows
    BINARY_DIR ${binary_dir}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64-${arch}.cmake
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
      -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}
      -DVENDRIX_WERROR=${VENDRIX_WERROR}
      ${extra_args}
    # The sources live in this tree: let the inner build decide what changed, every time.
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${products})
  set(QUILLON_${arch}_DIR ${binary_dir} PARENT_SCOPE)
endfunction()
