# Fails when the program's own object code calls a heap allocator. Run with
#   cmake -DNM=<nm> -DLIBRARIES=<lib;lib> -P heap_free_code.cmake
execute_process(COMMAND ${NM} -u ${LIBRARIES} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} failed on ${LIBRARIES}")
endif()
string(REGEX MATCHALL
  "[ \t](__imp_)?(malloc|calloc|realloc|strdup|_Zn[wa][jmy][A-Za-z0-9_]*|HeapAlloc|GlobalAlloc|LocalAlloc|VirtualAlloc)\n"
  found "${symbols}\n")
if(found)
  message(FATAL_ERROR "heap allocation in the program's own code: ${found}")
endif()
message(STATUS "no heap allocator is called from ${LIBRARIES}")
