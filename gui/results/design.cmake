# Design checks: the embedment sweep and the mesh check as functions over
# the project object and the results summary.  No widgets: the command-line
# tool and the design window share it.
add_library(ramvex_design STATIC
  ${CMAKE_CURRENT_LIST_DIR}/DesignCheck.cpp ${CMAKE_CURRENT_LIST_DIR}/DesignCheck.h)
target_include_directories(ramvex_design PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ramvex_design PUBLIC ramvex_results_summary)

# The design check window: a self-contained widget that the main window
# opens; the study runs in the ramvex-design program through QProcess.
add_library(ramvex_design_widgets STATIC
  ${CMAKE_CURRENT_LIST_DIR}/DesignCheckForm.cpp ${CMAKE_CURRENT_LIST_DIR}/DesignCheckForm.h)
set_target_properties(ramvex_design_widgets PROPERTIES AUTOMOC ON)
target_link_libraries(ramvex_design_widgets PUBLIC ramvex_design ramvex_results_model Qt6::Widgets)
