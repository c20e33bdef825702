# tests of the window's look, from the program's own start-up
add_executable(look_tests ${CMAKE_CURRENT_LIST_DIR}/look_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_fixture.h)
target_link_libraries(look_tests PRIVATE Brindelor::app Qt6::Test)
target_compile_definitions(look_tests PRIVATE QT_NO_CAST_FROM_ASCII)
brindelor_warnings(look_tests)

add_test(NAME look_tests COMMAND look_tests)
# The same at twice the size through Qt's scaling, and on a desktop whose
# fontconfig asks for full hinting (wider Tahoma advances).
add_test(NAME look_tests_scale2 COMMAND look_tests)
add_test(NAME look_tests_full_hinting COMMAND look_tests)
set_tests_properties(look_tests look_tests_scale2 look_tests_full_hinting PROPERTIES
  LABELS appearance TIMEOUT 300)
set_tests_properties(look_tests PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
set_tests_properties(look_tests_scale2 PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")
set_tests_properties(look_tests_full_hinting PROPERTIES
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen;FONTCONFIG_FILE=${CMAKE_CURRENT_LIST_DIR}/fonts-hintfull.conf")

# The real program under Xvfb: a screenshot after 100 and "K", kept beside
# the build for a look; skipped (77) without xvfb-run, xdotool or import.
foreach(scale 1 2)
  if(scale EQUAL 1)
    set(_name screenshot_test)
    set(_shot ${CMAKE_BINARY_DIR}/screenshot.png)
  else()
    set(_name screenshot_test_scale${scale})
    set(_shot ${CMAKE_BINARY_DIR}/screenshot-scale${scale}.png)
  endif()
  add_test(NAME ${_name}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/screenshot_test.sh $<TARGET_FILE:brindelor> ${_shot} ${scale}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  # xvfb-run -a is not safe against itself starting at the same moment.
  set_tests_properties(${_name} PROPERTIES
    LABELS appearance SKIP_RETURN_CODE 77 TIMEOUT 120 RESOURCE_LOCK xvfb)
endforeach()

# What `make package` makes: the .deb's contents, and its program runs.
add_test(NAME packaging_test
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/packaging_test.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(packaging_test PROPERTIES
  LABELS appearance SKIP_RETURN_CODE 77 TIMEOUT 300)
