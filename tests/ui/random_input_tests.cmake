# The random-input test of the window. BRINDELOR_RANDOM_SEED replays a run,
# BRINDELOR_RANDOM_EVENTS sets its length (the sanitizer run shortens it).
brindelor_window_test(random_input_tests ${CMAKE_CURRENT_LIST_DIR}/random_input_test.cpp)
set_tests_properties(random_input_tests PROPERTIES TIMEOUT 1200)
