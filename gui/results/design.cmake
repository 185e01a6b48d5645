# Design checks: the embedment sweep and the mesh check as functions over
# the project object and the results summary.  No widgets: the command-line
# tool and the design window share it.
add_library(ramvex_design STATIC
  ${CMAKE_CURRENT_LIST_DIR}/DesignCheck.cpp ${CMAKE_CURRENT_LIST_DIR}/DesignCheck.h)
target_include_directories(ramvex_design PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ramvex_design PUBLIC ramvex_results_summary)
