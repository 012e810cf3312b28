# The X11 About window draws its text with Xft (fonts found through fontconfig). It opens
# the library itself when the window opens, so only the headers are needed here.
if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LV_XFT REQUIRED xft fontconfig)
  target_include_directories(lumivane_core PRIVATE ${LV_XFT_INCLUDE_DIRS})
  target_compile_options(lumivane_core PRIVATE ${LV_XFT_CFLAGS_OTHER})
endif()
