# Run at install, once the program is in place (TRAZOS_OBJCOPY and TRAZOS_STRIP set before): moves
# the program's debug information into trazos.exe.debug beside it, strips the program, and gives it
# a debug link naming that file, with the file's CRC, which gdb follows. The package puts the debug
# file in a zip of its own. Both tools write the time of SOURCE_DATE_EPOCH into what they write.
set(program "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/trazos.exe")
execute_process(COMMAND ${TRAZOS_OBJCOPY} --only-keep-debug ${program} ${program}.debug COMMAND_ERROR_IS_FATAL ANY)
# objcopy makes the file under the umask; the zip records its mode, which must not depend on that.
file(CHMOD ${program}.debug PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND ${TRAZOS_STRIP} --strip-all ${program} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${TRAZOS_OBJCOPY} --add-gnu-debuglink=${program}.debug ${program} COMMAND_ERROR_IS_FATAL ANY)
