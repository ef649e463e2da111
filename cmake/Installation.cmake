# Installation and the Debian package.
#
# `cmake --install` (and `make install`) puts the program, the archive tool,
# the desktop entry, the icons, the AppStream metainfo and the manual pages in
# the GNU layout under CMAKE_INSTALL_PREFIX (/usr/local unless told), honouring
# DESTDIR. `make package` builds build/dorirova_<version>_<arch>.deb with CPack
# for /usr; its Depends come from the shared libraries the programs link.
include(GNUInstallDirs)

# The reverse-DNS id of the desktop entry, the metainfo and the icon.
set(DORIROVA_APP_ID org.krv.dorirova)

install(TARGETS dorirova RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Found by the program relative to its own folder (platform/video_module.cpp).
install(TARGETS dorirova_video LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/dorirova)
# "rezpack" alone could clash with another program of that name.
install(PROGRAMS $<TARGET_FILE:rezpack> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME dorirova-rezpack)
# Stripped with the targets (--strip, and in the package), which a renamed
# program is not by itself.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND ${CMAKE_STRIP} \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/dorirova-rezpack\")
endif()")

install(FILES ${CMAKE_SOURCE_DIR}/data/${DORIROVA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/${DORIROVA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN ITEMS 48 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/dorirova-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${DORIROVA_APP_ID}.png)
endforeach()

# The manual page carries the version.
configure_file(${CMAKE_SOURCE_DIR}/data/dorirova.6.in ${CMAKE_BINARY_DIR}/data/dorirova.6 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/data/dorirova.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/data/dorirova-rezpack.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Named as Debian wants it; as telling under /usr/local.
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dorirova)
set(CPACK_PACKAGE_VENDOR krv)
set(CPACK_PACKAGE_CONTACT "krv <dorirova@krv.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "photographs, a text scroller and music by the group krv, in real time")
set(CPACK_PACKAGE_DESCRIPTION
  "A small real-time audiovisual presentation: 24 photographs in a picture frame
on a star field under the group's logo, changing every four seconds through a
pixelating cross-fade, with a bitmap-font scroller, a member menu and a tracker
module. A settings dialog chooses the resolution; the cursor keys steer it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# SDL opens the system's libGL.so.1 only at run time, out of dpkg-shlibdeps'
# sight; libgl1 brings it and, through libglx0, a GL implementation (Mesa).
# On Wayland, SDL's window gets its title bar and border from libdecor's
# plugin, which Debian only recommends: without it the window has none.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libdecor-0-plugin-1-cairo")
set(CPACK_STRIP_FILES ON)
include(CPack)
