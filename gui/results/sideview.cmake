# Soil profile view: the drawing (no widgets; the window, the printer and
# images all paint through it) and the window around it.
add_library(ramvex_gui_sideview_drawing STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PileSideDrawing.cpp ${CMAKE_CURRENT_LIST_DIR}/PileSideDrawing.h)
target_include_directories(ramvex_gui_sideview_drawing PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ramvex_gui_sideview_drawing PUBLIC ramvex_gui_data Qt6::Gui)

add_library(ramvex_gui_sideview STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PileSide.cpp ${CMAKE_CURRENT_LIST_DIR}/PileSide.h)
set_target_properties(ramvex_gui_sideview PROPERTIES AUTOMOC ON)
target_link_libraries(ramvex_gui_sideview PUBLIC ramvex_gui_sideview_drawing Qt6::Widgets Qt6::PrintSupport)
