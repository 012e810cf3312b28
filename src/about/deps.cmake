# The X11 About window draws its text with Xft (fonts found through fontconfig).
if(NOT WIN32)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LV_XFT REQUIRED IMPORTED_TARGET xft fontconfig)
  target_link_libraries(lumivane_core PUBLIC PkgConfig::LV_XFT)
endif()
