# Installation and the Debian package.
#
# `cmake --install` (and `make install`) puts the program (among the games),
# the archive tool, the desktop entry, the icons, the AppStream metainfo and
# the manual pages in the GNU layout under CMAKE_INSTALL_PREFIX (/usr/local
# unless told), honouring DESTDIR. `make package` builds build/dorirova_<version>_<arch>.deb with CPack
# for /usr; its Depends come from the shared libraries the programs link.
include(GNUInstallDirs)

# The reverse-DNS id of the desktop entry, the metainfo and the icon.
set(DORIROVA_APP_ID org.krv.dorirova)

# The presentation among the games; the archive tool, not a game, in bin.
install(TARGETS dorirova RUNTIME DESTINATION ${DORIROVA_INSTALL_GAMESDIR})
# Found by the program relative to its own folder (platform/video_module.cpp).
install(TARGETS dorirova_video LIBRARY DESTINATION ${DORIROVA_INSTALL_MODULEDIR})
# "rezpack" alone could clash with another program of that name.
install(PROGRAMS $<TARGET_FILE:rezpack> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME dorirova-rezpack)
# Stripped (--strip, and in the package) as Debian strips: the renamed tool,
# which is not stripped by itself, and all three without the compiler's
# .comment notes.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  foreach(file IN ITEMS ${DORIROVA_INSTALL_GAMESDIR}/dorirova ${CMAKE_INSTALL_BINDIR}/dorirova-rezpack
                        ${DORIROVA_INSTALL_MODULEDIR}/dorirova-video.so)
    execute_process(COMMAND ${CMAKE_STRIP} --remove-section=.comment --remove-section=.note
                            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${file}\")
  endforeach()
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

# The manual pages (dorirova(6) carries the version) and the changelog go
# compressed, as Debian keeps them: gzip -9n, no name or time stamp inside.
configure_file(${CMAKE_SOURCE_DIR}/data/dorirova.6.in ${CMAKE_BINARY_DIR}/data/dorirova.6 @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/data/dorirova-rezpack.1 ${CMAKE_BINARY_DIR}/data/dorirova-rezpack.1 COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/data/changelog ${CMAKE_BINARY_DIR}/data/changelog COPYONLY)
set(compressed_docs)
foreach(doc IN ITEMS dorirova.6 dorirova-rezpack.1 changelog)
  set(doc ${CMAKE_BINARY_DIR}/data/${doc})
  add_custom_command(OUTPUT ${doc}.gz COMMAND gzip -9nkf ${doc} DEPENDS ${doc} VERBATIM)
  list(APPEND compressed_docs ${doc}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed_docs})
install(FILES ${CMAKE_BINARY_DIR}/data/dorirova.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/data/dorirova-rezpack.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/data/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Named as Debian wants it; as telling under /usr/local.
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
# What lintian reports and is meant so, with why.
install(FILES ${CMAKE_SOURCE_DIR}/data/dorirova.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME dorirova)

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
# SDL opens the system's libGL.so.1 at run time; libgl1 brings it and,
# through libglx0, a GL implementation (Mesa). When the program links GL
# through libOpenGL (GLVND), libGL.so.1 is out of dpkg-shlibdeps' sight and
# named here; when it links libGL.so.1 itself, dpkg-shlibdeps names libgl1.
# On Wayland, SDL's window gets its title bar and border from libdecor's
# plugin, which Debian only recommends: without it the window has none.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libdecor-0-plugin-1-cairo")
get_target_property(gl_link_type OpenGL::GL TYPE)
if(gl_link_type STREQUAL INTERFACE_LIBRARY)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
