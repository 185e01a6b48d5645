# Result graphs.  ramvex_results_model holds the graph model, its scales and
# the plot-file reader, and paints graphs with QPainter onto any device; it
# has no widgets, so the export, the summary and the tests use it without a
# display.  ramvex_results_widgets adds the graph window.
add_library(ramvex_results_model STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PltData.cpp ${CMAKE_CURRENT_LIST_DIR}/PltData.h
  ${CMAKE_CURRENT_LIST_DIR}/ResultGraphs.cpp ${CMAKE_CURRENT_LIST_DIR}/ResultGraphs.h
  ${CMAKE_CURRENT_LIST_DIR}/ReadPlotFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlotView.cpp ${CMAKE_CURRENT_LIST_DIR}/PlotView.h
  ${CMAKE_CURRENT_LIST_DIR}/PlotDraw.cpp ${CMAKE_CURRENT_LIST_DIR}/PlotDraw.h)
target_include_directories(ramvex_results_model PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ramvex_results_model PUBLIC ramvex_gui_data Qt6::Core Qt6::Gui)

add_library(ramvex_results_widgets STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PlotForm.cpp ${CMAKE_CURRENT_LIST_DIR}/PlotForm.h)
set_target_properties(ramvex_results_widgets PROPERTIES AUTOMOC ON)
target_link_libraries(ramvex_results_widgets PUBLIC ramvex_results_model Qt6::Widgets)
