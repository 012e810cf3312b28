# Windows: the preview's adoption layer is C built against GLFW's internal headers of the
# very source tree the static GLFW came from (scripts/setup keeps both). It must not see
# GLFW_INCLUDE_NONE, which GLFW's internal header refuses, so it is a library of its own.
if(WIN32)
  set(LV_GLFW_INTERNAL "${LUMIVANE_DEPS}/glfw-src/src")
  set(LV_GLFW_CONFIG "${LUMIVANE_DEPS}/glfw-build/src")
  if(NOT EXISTS "${LV_GLFW_INTERNAL}/internal.h" OR NOT EXISTS "${LV_GLFW_CONFIG}/glfw_config.h")
    message(FATAL_ERROR "GLFW's source or build tree is missing under ${LUMIVANE_DEPS}: run scripts/setup")
  endif()
  add_library(lv_glfw_adopt STATIC "${CMAKE_CURRENT_LIST_DIR}/win32/glfw_adopt_win32.c")
  target_include_directories(lv_glfw_adopt PRIVATE "${LV_GLFW_INTERNAL}" "${LV_GLFW_CONFIG}")
  target_compile_definitions(lv_glfw_adopt PRIVATE _GLFW_USE_CONFIG_H)
  target_link_libraries(lv_glfw_adopt PRIVATE "${LV_GLFW_ROOT}/lib/libglfw3.a" gdi32 user32)
  target_link_libraries(lumivane_core PUBLIC lv_glfw_adopt)
endif()
