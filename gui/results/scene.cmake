# Three-dimensional scene and view.  The scene builder and the view's rules
# are plain C++ over the project data, drawn through an interface of their
# own, so tests and benchmarks reach them without a window or a GL context.
add_library(ramvex_gui_scene STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SceneSurface.h
  ${CMAKE_CURRENT_LIST_DIR}/SceneSymbols.cpp ${CMAKE_CURRENT_LIST_DIR}/SceneSymbols.h
  ${CMAKE_CURRENT_LIST_DIR}/Scene3D.cpp ${CMAKE_CURRENT_LIST_DIR}/Scene3D.h
  ${CMAKE_CURRENT_LIST_DIR}/View3dState.cpp ${CMAKE_CURRENT_LIST_DIR}/View3dState.h)
target_include_directories(ramvex_gui_scene PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(ramvex_gui_scene PUBLIC ramvex_gui_data)
