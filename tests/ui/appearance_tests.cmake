# tests of the look and the links
foreach(name link_label style_manager fonts)
  add_executable(${name}_test ${CMAKE_CURRENT_LIST_DIR}/${name}_test.cpp)
  target_link_libraries(${name}_test PRIVATE Brindelor::appearance Qt6::Test)
  target_compile_definitions(${name}_test PRIVATE QT_NO_CAST_FROM_ASCII)
  brindelor_warnings(${name}_test)
  add_test(NAME ${name}_test COMMAND ${name}_test)
  set_tests_properties(${name}_test PROPERTIES
    ENVIRONMENT QT_QPA_PLATFORM=offscreen
    LABELS appearance)
endforeach()

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
