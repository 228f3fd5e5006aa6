# The oldest compilers that Trazos is built with, each the one of the oldest release it was tried
# on (docs/building.md). Below them configuring stops here, rather than later with an error that
# does not say why. CMake's own minimum is cmake_minimum_required's; Wine's, which only the
# scripts use, is in cmake/setup.sh.
set(TRAZOS_MINIMUM_GCC 10)    # MinGW-w64's GCC of Ubuntu 22.04
set(TRAZOS_MINIMUM_CLANG 14)  # Debian 12's Clang

set(minimum "")
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(minimum ${TRAZOS_MINIMUM_GCC})
elseif(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(minimum ${TRAZOS_MINIMUM_CLANG})
endif()
if(MINGW AND minimum AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS minimum)
  message(FATAL_ERROR "${CMAKE_CXX_COMPILER} is ${CMAKE_CXX_COMPILER_ID} ${CMAKE_CXX_COMPILER_VERSION}; building Trazos "
                      "for Windows needs MinGW-w64's GCC ${TRAZOS_MINIMUM_GCC} or later, or Clang ${TRAZOS_MINIMUM_CLANG} "
                      "or later (docs/building.md names the releases that have them)")
endif()
