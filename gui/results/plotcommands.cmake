# Graph window commands.  ramvex_plot_commands_model holds the rules of the
# Plot menu and the legend and the saving of graphs to files, without
# widgets; the dialogs, printing and the menu itself join the graph window's
# library, since the window creates its menu.
add_library(ramvex_plot_commands_model STATIC
  ${CMAKE_CURRENT_LIST_DIR}/PlotMenuState.cpp ${CMAKE_CURRENT_LIST_DIR}/PlotMenuState.h
  ${CMAKE_CURRENT_LIST_DIR}/LegendRules.cpp ${CMAKE_CURRENT_LIST_DIR}/LegendRules.h
  ${CMAKE_CURRENT_LIST_DIR}/GraphSave.cpp ${CMAKE_CURRENT_LIST_DIR}/GraphSave.h)
target_include_directories(ramvex_plot_commands_model PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ramvex_plot_commands_model PUBLIC ramvex_results_model Qt6::Gui Qt6::Svg)

target_sources(ramvex_results_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Caption.cpp ${CMAKE_CURRENT_LIST_DIR}/Caption.h
  ${CMAKE_CURRENT_LIST_DIR}/ChangeLineNames.cpp ${CMAKE_CURRENT_LIST_DIR}/ChangeLineNames.h
  ${CMAKE_CURRENT_LIST_DIR}/ChangeActiveLines.cpp ${CMAKE_CURRENT_LIST_DIR}/ChangeActiveLines.h
  ${CMAKE_CURRENT_LIST_DIR}/SaveAttb.cpp ${CMAKE_CURRENT_LIST_DIR}/SaveAttb.h
  ${CMAKE_CURRENT_LIST_DIR}/PageSet.cpp ${CMAKE_CURRENT_LIST_DIR}/PageSet.h
  ${CMAKE_CURRENT_LIST_DIR}/PlotLegend.cpp ${CMAKE_CURRENT_LIST_DIR}/PlotLegend.h
  ${CMAKE_CURRENT_LIST_DIR}/PlotCommands.cpp ${CMAKE_CURRENT_LIST_DIR}/PlotCommands.h)
target_link_libraries(ramvex_results_widgets PUBLIC ramvex_plot_commands_model ramvex_gui_widgets Qt6::PrintSupport)
