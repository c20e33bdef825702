# brindelor_appearance: style manager, style, link labels, resources
add_library(brindelor_appearance STATIC
  ${CMAKE_CURRENT_LIST_DIR}/fonts.h
  ${CMAKE_CURRENT_LIST_DIR}/fonts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_label.h
  ${CMAKE_CURRENT_LIST_DIR}/link_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/slate_style.h
  ${CMAKE_CURRENT_LIST_DIR}/slate_style.cpp
  ${CMAKE_CURRENT_LIST_DIR}/style_manager.h
  ${CMAKE_CURRENT_LIST_DIR}/style_manager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/resources/brindelor.qrc
)
add_library(Brindelor::appearance ALIAS brindelor_appearance)
# Headers are included as "link_label.h" etc. from the ui/ directory.
target_include_directories(brindelor_appearance PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(brindelor_appearance
  PUBLIC Qt6::Widgets Qt6::Gui
  PRIVATE Brindelor::version)
# Texts are spelt out as UTF-8 or Latin-1 on purpose, never cast from char*.
target_compile_definitions(brindelor_appearance PRIVATE QT_NO_CAST_FROM_ASCII)
brindelor_warnings(brindelor_appearance)
