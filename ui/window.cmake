# brindelor_ui: the window and the entry
add_library(brindelor_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/frm_CALC.h
  ${CMAKE_CURRENT_LIST_DIR}/frm_CALC.cpp
  ${CMAKE_CURRENT_LIST_DIR}/line_editor.h
  ${CMAKE_CURRENT_LIST_DIR}/line_editor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calc_edit.h
  ${CMAKE_CURRENT_LIST_DIR}/calc_edit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calculator_engine.h
  ${CMAKE_CURRENT_LIST_DIR}/calculator_engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calculator_popup.h
  ${CMAKE_CURRENT_LIST_DIR}/calculator_popup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/modifier_group.h
  ${CMAKE_CURRENT_LIST_DIR}/modifier_group.cpp
  ${CMAKE_CURRENT_LIST_DIR}/error_handler.h
  ${CMAKE_CURRENT_LIST_DIR}/error_handler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/feedback.h
  ${CMAKE_CURRENT_LIST_DIR}/feedback.cpp
  ${CMAKE_CURRENT_LIST_DIR}/number_settings.h
  ${CMAKE_CURRENT_LIST_DIR}/number_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup.h
  ${CMAKE_CURRENT_LIST_DIR}/startup.cpp
)
add_library(Brindelor::ui ALIAS brindelor_ui)
target_include_directories(brindelor_ui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(brindelor_ui
  PUBLIC Brindelor::tariff Qt6::Widgets
  PRIVATE Brindelor::version)
if(TARGET brindelor_appearance)
  target_link_libraries(brindelor_ui PUBLIC brindelor_appearance)
endif()
# Every text of ours is spelt out as UTF-8, never cast from char*.
target_compile_definitions(brindelor_ui PRIVATE QT_NO_CAST_FROM_ASCII)
brindelor_warnings(brindelor_ui)
