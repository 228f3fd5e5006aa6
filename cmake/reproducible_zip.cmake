# Run by CPack after it has written the package: writes the zip again from the same staged files,
# so that its bytes depend on their contents alone. CPack's own zip keeps each file's access and
# inode change times, which no build can fix, and stamps entries in the local time zone. Here
# every entry carries the release's time in UTC, entries go in name order, and no extra fields
# (times, owners) are stored. CPack then copies this zip out and writes its checksum.
#
# The program's debug information (*.debug) is staged too but goes into a zip of its own beside the
# package, <package>-symbols.zip, written the same way and given its checksum here, in CPack's form.
file(GLOB_RECURSE entries LIST_DIRECTORIES false RELATIVE ${CPACK_TOPLEVEL_DIRECTORY}
     ${CPACK_TEMPORARY_DIRECTORY}/*)
list(SORT entries)
execute_process(COMMAND touch --no-dereference --date=@${CPACK_TRAZOS_SOURCE_DATE_EPOCH} ${entries}
                WORKING_DIRECTORY ${CPACK_TOPLEVEL_DIRECTORY} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not set the staged files' time: ${failed}")
endif()
set(symbols ${entries})
list(FILTER symbols INCLUDE REGEX "\\.debug$")
list(FILTER entries EXCLUDE REGEX "\\.debug$")

set(ENV{TZ} UTC0)  # zip writes its times in the zone that TZ names
function(write_zip zip)
  file(REMOVE ${zip})
  # -X: no extra fields; -D: no entries for folders.
  execute_process(COMMAND ${CPACK_TRAZOS_ZIP} -X -D -q ${zip} ${ARGN}
                  WORKING_DIRECTORY ${CPACK_TOPLEVEL_DIRECTORY} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${CPACK_TRAZOS_ZIP} could not write ${zip}: ${failed}")
  endif()
endfunction()

foreach(package IN LISTS CPACK_PACKAGE_FILES)
  write_zip(${package} ${entries})
  if(symbols)
    get_filename_component(name ${package} NAME_WLE)
    set(symbolsZip ${CPACK_PACKAGE_DIRECTORY}/${name}-symbols.zip)
    write_zip(${symbolsZip} ${symbols})
    file(SHA256 ${symbolsZip} checksum)
    file(WRITE ${symbolsZip}.sha256 "${checksum}  ${name}-symbols.zip\n")
  endif()
endforeach()
