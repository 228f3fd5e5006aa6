# Cross-compiles for 64-bit Windows with MinGW-w64. The -posix variant of the compiler brings the
# threads that std::mutex (and so GoogleTest) needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TRAZOS_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TRAZOS_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TRAZOS_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TRAZOS_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TRAZOS_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests and other built programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
