# Spreadsheet export.  ramvex_export lays the plot workbook out and writes it
# with libxlsxwriter; it has no widgets, so the tests write and read back
# workbooks without a display.  ramvex_export_widgets adds the dialog.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)

add_library(ramvex_export STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ExportLayout.cpp ${CMAKE_CURRENT_LIST_DIR}/ExportLayout.h
  ${CMAKE_CURRENT_LIST_DIR}/ExportWorkbook.cpp ${CMAKE_CURRENT_LIST_DIR}/ExportWorkbook.h)
target_include_directories(ramvex_export PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ramvex_export PUBLIC ramvex_results_model Qt6::Core Qt6::Gui PRIVATE PkgConfig::XLSXWRITER)

add_library(ramvex_export_widgets STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ExportDlg.cpp ${CMAKE_CURRENT_LIST_DIR}/ExportDlg.h)
target_link_libraries(ramvex_export_widgets PUBLIC ramvex_export Qt6::Widgets)
