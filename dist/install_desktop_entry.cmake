# Run by `cmake --install`: writes the desktop entry for the prefix being installed into.
# The path is quoted as desktop entries quote arguments (a backslash before " ` $ and \),
# then the value's own escaping doubles every backslash, and a field code's % is doubled.
set(exec "${CMAKE_INSTALL_PREFIX}/${TESSARU_BINDIR}/tessaru")
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "\"" "\\\"" exec "${exec}")
string(REPLACE "`" "\\`" exec "${exec}")
string(REPLACE "$" "\\$" exec "${exec}")
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(TESSARU_EXEC "\"${exec}\"")
configure_file("${TESSARU_DESKTOP_IN}" "${TESSARU_DESKTOP_OUT}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${TESSARU_DATADIR}/applications" TYPE FILE
     FILES "${TESSARU_DESKTOP_OUT}")
