# Release packages with CPack, one per build: the Linux build gives the Debian package,
# the Windows build the zip. scripts/package runs both into dist/.
set(CPACK_PACKAGE_NAME lumivane)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Lumivane developers")
set(CPACK_PACKAGE_CONTACT "${LUMIVANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_STRIP_FILES ON)
# Directories the install step creates get the usual modes whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "lumivane-${PROJECT_VERSION}-win32")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION x11)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The About window opens Xft at run time, out of shlibdeps' sight.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS libxft2)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xscreensaver)
  set(CPACK_PACKAGE_DESCRIPTION [=[
Glowing curved streaks wave over a dark ground, every pixel computed by a
fragment shader with OpenGL. The package installs it as a hack of
xscreensaver, with its entry for the settings dialog and its manual, and as
the command lumivane for running it by hand.]=])
endif()
include(CPack)
