# Cross-compiles for 64-bit Windows with Clang and LLD, against the same MinGW-w64 headers and
# libraries as cmake/mingw-w64-x86_64.cmake and the C++ runtime of MinGW-w64's GCC (-posix), which
# Debian's Clang does not find by itself: the GCC is asked where they are. A Clang that brings its
# own C++ runtime and MinGW-w64 (MSYS2's CLANG64, an LLVM-based MinGW-w64 toolchain) needs none of
# this file.
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

# trazos_ask_gcc(RESULT FILE): the folder where MinGW-w64's GCC finds one of its files.
function(trazos_ask_gcc result file)
  execute_process(COMMAND ${TRAZOS_MINGW_PREFIX}-g++-posix -print-file-name=${file}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    message(FATAL_ERROR "MinGW-w64's GCC (${TRAZOS_MINGW_PREFIX}-g++-posix) does not say where its ${file} is: "
                        "install g++-mingw-w64-x86-64-posix")
  endif()
  get_filename_component(folder "${path}" DIRECTORY)
  get_filename_component(folder "${folder}" ABSOLUTE)
  set(${result} "${folder}" PARENT_SCOPE)
endfunction()

# The MinGW-w64 headers and libraries: the folder above the one that holds its C runtime's start-up.
trazos_ask_gcc(mingw_libraries libmingw32.a)
get_filename_component(CMAKE_SYSROOT "${mingw_libraries}" DIRECTORY)

# GCC's C++ headers and runtime. Clang's driver links libstdc++ but not the winpthreads that it
# calls, which GCC's driver adds for its -posix thread model; -pthread asks Clang's for it.
trazos_ask_gcc(gcc_libraries libstdc++.a)
if(NOT EXISTS "${gcc_libraries}/include/c++")
  message(FATAL_ERROR "No C++ headers of MinGW-w64's GCC in '${gcc_libraries}': install g++-mingw-w64-x86-64-posix")
endif()
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
    ${gcc_libraries}/include/c++ ${gcc_libraries}/include/c++/${TRAZOS_MINGW_PREFIX} ${gcc_libraries}/include/c++/backward)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_libraries} -pthread")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -L${gcc_libraries} -pthread")

set(CMAKE_FIND_ROOT_PATH ${CMAKE_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests and other built programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
