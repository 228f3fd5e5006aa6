# trazos_rebuild_commands(RESULT) sets RESULT to the shell commands, one a line, that make this
# build's package again at the top of a clean clone of its commit; the toolchain record writes them
# out. They name the preset whose build folder this is, and pass on every cache setting that shapes
# the package's bytes and differs from what that preset gives on its own: the contact, the build
# type, and flags given by hand or taken from CXXFLAGS, LDFLAGS or RCFLAGS at the first configure.
# A SOURCE_DATE_EPOCH that overrode the commit's time is exported first.

function(trazos_rebuild_commands result)
  unset(preset)
  # The preset whose build folder this is; a folder of no preset is rebuilt with mingw, the release's.
  file(READ ${PROJECT_SOURCE_DIR}/CMakePresets.json presets)
  string(JSON count LENGTH "${presets}" configurePresets)
  math(EXPR last "${count} - 1")
  foreach(index RANGE ${last})
    string(JSON name GET "${presets}" configurePresets ${index} name)
    string(JSON folder ERROR_VARIABLE none GET "${presets}" configurePresets ${index} binaryDir)
    string(REPLACE "\${sourceDir}" "${PROJECT_SOURCE_DIR}" folder "${folder}")
    if(folder STREQUAL PROJECT_BINARY_DIR OR (name STREQUAL "mingw" AND NOT DEFINED preset))
      set(preset ${name})
      set(preset_index ${index})
    endif()
  endforeach()

  set(configure "cmake --preset ${preset}")
  string(TOUPPER "${CMAKE_BUILD_TYPE}" config)
  foreach(setting IN ITEMS TRAZOS_CONTACT CMAKE_BUILD_TYPE CMAKE_CXX_FLAGS CMAKE_CXX_FLAGS_${config}
                           CMAKE_EXE_LINKER_FLAGS CMAKE_EXE_LINKER_FLAGS_${config} CMAKE_RC_FLAGS CMAKE_RC_FLAGS_${config})
    set(default "")
    if(setting STREQUAL "TRAZOS_CONTACT")
      set(default "${TRAZOS_CONTACT_PLACEHOLDER}")
    elseif(setting STREQUAL "CMAKE_BUILD_TYPE")
      string(JSON default ERROR_VARIABLE none GET "${presets}" configurePresets ${preset_index} cacheVariables CMAKE_BUILD_TYPE)
    elseif(config AND setting MATCHES "_${config}$")
      string(STRIP "${${setting}_INIT}" default)  # CMake's own for the compiler
    endif()
    if(NOT "${${setting}}" STREQUAL "${default}" AND NOT setting MATCHES "_$")
      set(word "-D${setting}=${${setting}}")
      if(NOT word MATCHES "^[A-Za-z0-9@%+=:,./_-]+$")  # quoted for the shell
        string(REPLACE "'" "'\\''" word "${word}")
        set(word "'${word}'")
      endif()
      string(APPEND configure " ${word}")
    endif()
  endforeach()

  set(commands "${configure}\ncmake --build --preset ${preset} --target package")
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(commands "export SOURCE_DATE_EPOCH=${TRAZOS_SOURCE_DATE_EPOCH}\n${commands}")
  endif()
  set(${result} "${commands}" PARENT_SCOPE)
endfunction()
