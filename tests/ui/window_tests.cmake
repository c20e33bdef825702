# tests of the window
# Each test program runs its widgets under the offscreen platform with a
# French system locale (set by its main before the application starts).
function(brindelor_window_test name)
  add_executable(${name} ${ARGN}
    ${CMAKE_CURRENT_LIST_DIR}/ui_test_main.h
    ${CMAKE_CURRENT_LIST_DIR}/window_fixture.h)
  target_link_libraries(${name} PRIVATE Brindelor::app Qt6::Test)
  brindelor_warnings(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    TIMEOUT 300)
endfunction()

brindelor_window_test(window_tests ${CMAKE_CURRENT_LIST_DIR}/window_test.cpp)
target_link_libraries(window_tests PRIVATE Brindelor::version)
brindelor_window_test(calc_edit_tests ${CMAKE_CURRENT_LIST_DIR}/calc_edit_test.cpp)
brindelor_window_test(ui_rules_tests ${CMAKE_CURRENT_LIST_DIR}/ui_rules_test.cpp)
