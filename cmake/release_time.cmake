# Sets TRAZOS_SOURCE_DATE_EPOCH, the one time that a release stands for, in seconds since 1970 UTC:
# the time of the commit checked out, so that every clean clone of one commit builds the same
# bytes, whenever and wherever it is built. SOURCE_DATE_EPOCH in the environment wins; a source
# that is not a git checkout takes a fixed time. Sets TRAZOS_SOURCE_COMMIT to the commit's hash,
# empty outside a git checkout.
set(TRAZOS_SOURCE_DATE_EPOCH 1767225600)  # 2026-01-01 00:00:00 UTC
set(TRAZOS_SOURCE_COMMIT "")
if(EXISTS ${PROJECT_SOURCE_DIR}/.git)
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(commit_time MATCHES "^[0-9]+$")
      set(TRAZOS_SOURCE_DATE_EPOCH ${commit_time})
    endif()
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse HEAD
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(commit MATCHES "^[0-9a-f]+$")
      set(TRAZOS_SOURCE_COMMIT ${commit})
    endif()
    # Every commit, checkout or reset writes HEAD's log: then configure again, for the new time.
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute --git-path logs/HEAD
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE head_log OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(head_log AND EXISTS ${head_log})
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${head_log})
    endif()
  endif()
endif()
# Checked after the commit is looked up, so that the record names the commit either way.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(TRAZOS_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
endif()
if(NOT TRAZOS_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "SOURCE_DATE_EPOCH must be a whole number of seconds, not '${TRAZOS_SOURCE_DATE_EPOCH}'")
endif()
