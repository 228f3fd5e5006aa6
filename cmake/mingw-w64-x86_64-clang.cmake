# Cross-compiles for 64-bit Windows with Clang and LLD, against the same MinGW-w64 headers and
# libraries as cmake/mingw-w64-x86_64.cmake: the C++ runtime is that of MinGW-w64's GCC (-posix),
# which Clang does not find by itself where Debian puts it, so the GCC is asked.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TRAZOS_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${TRAZOS_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${TRAZOS_MINGW_PREFIX})
set(CMAKE_RC_COMPILER ${TRAZOS_MINGW_PREFIX}-windres)
# The archiver and the other binary tools are MinGW-w64's binutils, as with GCC, not whichever
# LLVM tools happen to be installed.
foreach(tool IN ITEMS AR RANLIB NM OBJCOPY OBJDUMP STRIP)
  string(TOLOWER ${tool} name)
  find_program(CMAKE_${tool} ${TRAZOS_MINGW_PREFIX}-${name} REQUIRED)
endforeach()
set(CMAKE_SYSROOT /usr/${TRAZOS_MINGW_PREFIX})

execute_process(COMMAND ${TRAZOS_MINGW_PREFIX}-g++-posix -print-file-name=libstdc++.a
                OUTPUT_VARIABLE runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(gcc_libraries "${runtime}" DIRECTORY)
if(NOT EXISTS "${gcc_libraries}/include/c++")
  message(FATAL_ERROR "No C++ headers of MinGW-w64's GCC in '${gcc_libraries}': install g++-mingw-w64-x86-64-posix")
endif()
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
    ${gcc_libraries}/include/c++ ${gcc_libraries}/include/c++/${TRAZOS_MINGW_PREFIX} ${gcc_libraries}/include/c++/backward)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_libraries}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_libraries}")

set(CMAKE_FIND_ROOT_PATH /usr/${TRAZOS_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests and other built programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
