# Writes the installer's lists of the program folder's files, so that the
# uninstaller removes exactly what the installer put there and nothing a user
# may have added:
#
#   cmake -DSTAGE=DIR -DOUT=DIR -P file_lists.cmake
#
# STAGE is the program folder as `cmake --install` assembles it. OUT receives
# install_files.nsh (SetOutPath and File lines) and uninstall_files.nsh
# (Delete lines, then RMDir for each folder, deepest first).
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${STAGE}" "${STAGE}/*")
if(NOT files)
  message(FATAL_ERROR "file_lists: ${STAGE} holds no files")
endif()
list(SORT files)

set(install "")
set(uninstall "")
set(folders "")
set(current_folder "-")
foreach(file IN LISTS files)
  # NSIS reads $ and the quote itself; no file of the folder needs them.
  if(file MATCHES "[$\"]")
    message(FATAL_ERROR "file_lists: cannot list '${file}' for the installer")
  endif()
  get_filename_component(folder "${file}" DIRECTORY)
  string(REPLACE "/" "\\" windows_file "${file}")
  string(REPLACE "/" "\\" windows_folder "${folder}")
  if(NOT folder STREQUAL current_folder)
    if(folder STREQUAL "")
      string(APPEND install "SetOutPath \"$INSTDIR\"\n")
    else()
      string(APPEND install "SetOutPath \"$INSTDIR\\${windows_folder}\"\n")
    endif()
    set(current_folder "${folder}")
  endif()
  string(APPEND install "File \"${STAGE}/${file}\"\n")
  string(APPEND uninstall "Delete \"$INSTDIR\\${windows_file}\"\n")
  # Every folder on the way, so that none is left behind.
  while(NOT folder STREQUAL "")
    list(APPEND folders "${folder}")
    get_filename_component(folder "${folder}" DIRECTORY)
  endwhile()
endforeach()
string(APPEND install "SetOutPath \"$INSTDIR\"\n")

list(REMOVE_DUPLICATES folders)
# A folder sorts after its parent, so the reversed list empties children first.
list(SORT folders)
list(REVERSE folders)
foreach(folder IN LISTS folders)
  string(REPLACE "/" "\\" windows_folder "${folder}")
  string(APPEND uninstall "RMDir \"$INSTDIR\\${windows_folder}\"\n")
endforeach()

file(WRITE "${OUT}/install_files.nsh" "${install}")
file(WRITE "${OUT}/uninstall_files.nsh" "${uninstall}")
