# Run by CPack after the package is written: records beside it, in <package>-toolchain.txt, what
# built it. The package's bytes are the same from every clean clone of its commit built with these
# versions; another compiler, binutils, MinGW-w64, CMake or zip may give other bytes.

# The first line a tool prints of its version (zip's is its second), and the Debian package that
# holds it, where dpkg knows.
function(describe_tool result path)
  execute_process(COMMAND ${path} ${ARGN} OUTPUT_VARIABLE text ERROR_QUIET)
  string(REGEX REPLACE "^Copyright[^\n]*\n" "" text "${text}")
  string(STRIP "${text}" text)
  string(FIND "${text}" "\n" end)
  string(SUBSTRING "${text}" 0 ${end} text)
  string(REGEX REPLACE "\\.$" "" text "${text}")
  describe_package(package ${path})
  set(${result} "${text}${package}" PARENT_SCOPE)
endfunction()

# The package that holds the file, by its path as given or, for a link, by what the link points to.
function(describe_package result path)
  set(${result} "" PARENT_SCOPE)
  get_filename_component(target ${path} REALPATH)
  foreach(file IN ITEMS ${path} ${target})
    execute_process(COMMAND dpkg-query --search ${file} OUTPUT_VARIABLE owner ERROR_QUIET RESULT_VARIABLE failed)
    if(NOT failed AND owner MATCHES "^([^:, ]+)")
      set(name ${CMAKE_MATCH_1})
      execute_process(COMMAND dpkg-query --show --showformat=\${Version} ${name} OUTPUT_VARIABLE version ERROR_QUIET)
      set(${result} "; Debian package ${name} ${version}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

# MinGW-w64's version is that of its headers, as the compiler finds them.
set(probe ${CPACK_TOPLEVEL_DIRECTORY}/mingw_version.cpp)
file(WRITE ${probe} "#include <_mingw.h>\nversion __MINGW64_VERSION_MAJOR __MINGW64_VERSION_MINOR __MINGW64_VERSION_BUGFIX\n")
execute_process(COMMAND ${CPACK_TRAZOS_CXX_COMPILER} -E ${probe} OUTPUT_VARIABLE preprocessed ERROR_QUIET)
file(REMOVE ${probe})
set(headers "")
if(preprocessed MATCHES "# [0-9]+ \"([^\"]*/_mingw\\.h)\"")
  describe_package(headers ${CMAKE_MATCH_1})
endif()
string(REGEX REPLACE "\n#[^\n]*" "" preprocessed "${preprocessed}")  # the line markers
set(mingw "unknown")
if(preprocessed MATCHES "\nversion[ \n]+([0-9]+) ([0-9]+) ([0-9]+)")
  set(mingw "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3}")
endif()

describe_tool(compiler ${CPACK_TRAZOS_CXX_COMPILER} --version)
describe_tool(binutils ${CPACK_TRAZOS_LINKER} --version)
describe_tool(cmake ${CMAKE_COMMAND} --version)
describe_tool(zip ${CPACK_TRAZOS_ZIP} -v)

string(REPLACE "\n" "\n    " commands "    ${CPACK_TRAZOS_REBUILD_COMMANDS}")
file(WRITE ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}-toolchain.txt
"What built ${CPACK_PACKAGE_FILE_NAME}.zip

source     ${CPACK_TRAZOS_SOURCE}
compiler   ${compiler}
binutils   ${binutils}
MinGW-w64  ${mingw}${headers}
CMake      ${cmake}
zip        ${zip}

The zip and its symbols are the same, byte for byte, from every clean clone of this commit built
with these versions by these commands, run at the top of the clone:

${commands}
")
