# The Windows resource script must compile; MinGW's windres checks it on Linux.
find_program(BRINDELOR_WINDRES NAMES x86_64-w64-mingw32-windres)
if(BRINDELOR_WINDRES)
  add_test(NAME windows_resources
    COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-windres.sh
            ${PROJECT_SOURCE_DIR}/packaging/windows/brindelor.rc ${PROJECT_VERSION})
  set_tests_properties(windows_resources PROPERTIES
    ENVIRONMENT WINDRES=${BRINDELOR_WINDRES}
    LABELS appearance)
endif()

find_program(BRINDELOR_DESKTOP_FILE_VALIDATE NAMES desktop-file-validate)
if(BRINDELOR_DESKTOP_FILE_VALIDATE)
  add_test(NAME desktop_file
    COMMAND ${BRINDELOR_DESKTOP_FILE_VALIDATE} ${PROJECT_SOURCE_DIR}/packaging/brindelor.desktop)
  set_tests_properties(desktop_file PROPERTIES LABELS appearance)
endif()
