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

# The "3-D View" window, its OpenGL surface and the deformed-shape dialog.
# OpenGL 1.1 immediate mode and display lists need a compatibility context
# and the system's GL library.
find_package(OpenGL REQUIRED)
add_library(ramvex_gui_view3d STATIC
  ${CMAKE_CURRENT_LIST_DIR}/glWindow.cpp ${CMAKE_CURRENT_LIST_DIR}/glWindow.h
  ${CMAKE_CURRENT_LIST_DIR}/DeformedShape.cpp ${CMAKE_CURRENT_LIST_DIR}/DeformedShape.h
  ${CMAKE_CURRENT_LIST_DIR}/View3dUnit1.cpp ${CMAKE_CURRENT_LIST_DIR}/View3dUnit1.h)
set_target_properties(ramvex_gui_view3d PROPERTIES AUTOMOC ON)
target_link_libraries(ramvex_gui_view3d PUBLIC ramvex_gui_scene Qt6::Widgets Qt6::OpenGL Qt6::OpenGLWidgets OpenGL::GL)
