# Results summary, CSV results and the calculation report.  The summary
# library has no widgets (QtGui at most, for the PDF pages), so the
# command-line runner writes the same tables and report as the program.
add_library(ramvex_results_summary STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ReportOutcome.cpp ${CMAKE_CURRENT_LIST_DIR}/ReportOutcome.h
  ${CMAKE_CURRENT_LIST_DIR}/ResultsSummary.cpp ${CMAKE_CURRENT_LIST_DIR}/ResultsSummary.h
  ${CMAKE_CURRENT_LIST_DIR}/ResultsCsv.cpp ${CMAKE_CURRENT_LIST_DIR}/ResultsCsv.h
  ${CMAKE_CURRENT_LIST_DIR}/InputEcho.cpp ${CMAKE_CURRENT_LIST_DIR}/InputEcho.h
  ${CMAKE_CURRENT_LIST_DIR}/CalcReport.cpp ${CMAKE_CURRENT_LIST_DIR}/CalcReport.h)
target_include_directories(ramvex_results_summary PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ramvex_results_summary PUBLIC ramvex_results_model ramvex_gui_sideview_drawing Qt6::Gui)
target_compile_definitions(ramvex_results_summary PRIVATE RAMVEX_VERSION="${PROJECT_VERSION}")

# The "Results Summary" child window.
add_library(ramvex_results_summary_widgets STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SummaryForm.cpp ${CMAKE_CURRENT_LIST_DIR}/SummaryForm.h)
set_target_properties(ramvex_results_summary_widgets PROPERTIES AUTOMOC ON)
target_link_libraries(ramvex_results_summary_widgets PUBLIC ramvex_results_summary Qt6::Widgets)
