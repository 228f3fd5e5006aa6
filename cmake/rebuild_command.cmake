# trazos_rebuild_commands(RESULT) sets RESULT to the shell commands, one a line, that make this
# build's package again at the top of a clean clone of its commit; the toolchain record writes them
# out. They name the preset whose build folder this is, and pass on every setting of this build that
# a fresh configure of that preset would not give: the project's options (the tests and the
# benchmark among them, which need GoogleTest), the contact, the build type, and compiler, linker
# and resource flags given by hand or taken from CXXFLAGS, LDFLAGS or RCFLAGS at the first
# configure; nothing that the preset or its toolchain file gives. A SOURCE_DATE_EPOCH that
# overrode the commit's time is exported first.

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

  # The project's options and their defaults, as CMakeLists.txt declares them.
  file(STRINGS ${PROJECT_SOURCE_DIR}/CMakeLists.txt declared REGEX "^option\\(TRAZOS_[A-Z_]+ ")
  set(options "")
  foreach(line IN LISTS declared)
    if(line MATCHES "^option\\((TRAZOS_[A-Z_]+) .* (ON|OFF)\\)$")
      list(APPEND options ${CMAKE_MATCH_1})
      set(option_default_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
    endif()
  endforeach()
  if(NOT options)
    message(FATAL_ERROR "No option(TRAZOS_... ON|OFF) found in CMakeLists.txt for the rebuild commands")
  endif()

  set(configure "cmake --preset ${preset}")
  string(TOUPPER "${CMAKE_BUILD_TYPE}" config)
  set(flags CMAKE_CXX_FLAGS CMAKE_EXE_LINKER_FLAGS CMAKE_RC_FLAGS CMAKE_CXX_STANDARD_LIBRARIES)
  if(config)
    list(APPEND flags CMAKE_CXX_FLAGS_${config} CMAKE_EXE_LINKER_FLAGS_${config} CMAKE_RC_FLAGS_${config})
  endif()
  set(environment_of_CMAKE_CXX_FLAGS CXXFLAGS)
  set(environment_of_CMAKE_EXE_LINKER_FLAGS LDFLAGS)
  set(environment_of_CMAKE_RC_FLAGS RCFLAGS)
  foreach(setting IN LISTS options ITEMS TRAZOS_CONTACT CMAKE_BUILD_TYPE ${flags})
    set(value "${${setting}}")
    # What a fresh configure of the preset gives: the preset's own value, or else the option's
    # default, the placeholder contact, or what the toolchain and CMake's platform files give a
    # flag, without the part that came from the environment.
    string(JSON default ERROR_VARIABLE absent GET "${presets}" configurePresets ${preset_index} cacheVariables ${setting})
    if(absent AND DEFINED option_default_${setting})
      set(default ${option_default_${setting}})
    elseif(absent AND setting STREQUAL "TRAZOS_CONTACT")
      set(default "${TRAZOS_CONTACT_PLACEHOLDER}")
    elseif(absent AND setting IN_LIST flags)
      set(default "${${setting}_INIT}")
      set(variable "${environment_of_${setting}}")
      if(variable AND NOT "$ENV{${variable}}" STREQUAL "")
        string(REPLACE "$ENV{${variable}}" "" default "${default}")
      endif()
      string(REGEX REPLACE "  +" " " default "${default}")
      string(STRIP "${default}" default)
      string(STRIP "${value}" value)
    elseif(absent)
      set(default "")
    endif()
    if(DEFINED option_default_${setting})
      # Options compare as truth values and are written as ON or OFF.
      set(value OFF)
      if(${setting})
        set(value ON)
      endif()
      if(NOT default)
        set(default OFF)
      else()
        set(default ON)
      endif()
    endif()
    if(NOT "${value}" STREQUAL "${default}")
      set(word "-D${setting}=${value}")
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
