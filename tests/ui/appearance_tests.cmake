# The Windows resource script CMake generated must compile and carry the
# versions; MinGW's windres checks it on Linux. Skipped (77) without windres.
add_test(NAME windows_resources
  COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-windres.sh
          ${BRINDELOR_WINDOWS_RC} ${PROJECT_VERSION} ${BRINDELOR_PRODUCT_VERSION})
set_tests_properties(windows_resources PROPERTIES
  LABELS appearance SKIP_RETURN_CODE 77)

# Skipped (77) without desktop-file-validate.
add_test(NAME desktop_file
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/desktop_file_test.sh
          ${PROJECT_SOURCE_DIR}/packaging/brindelor.desktop)
set_tests_properties(desktop_file PROPERTIES
  LABELS appearance SKIP_RETURN_CODE 77)
