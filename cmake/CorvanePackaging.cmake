# Installs the program like other software of the system, and packs it as a
# Debian package with CPack.
include(GNUInstallDirs)

set(packaging ${PROJECT_SOURCE_DIR}/packaging/linux)
install(TARGETS Corvane2 corvane corvane-net RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${packaging}/org.corvane.Corvane2.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/org.corvane.Corvane2.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/images/corvane-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME corvane2.png)
endforeach()

# Debian's documents: the copyright, the changelog and the manual pages,
# compressed without a time stamp.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
    COMMAND gzip -9 -n -c ${packaging}/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
    DEPENDS ${packaging}/changelog VERBATIM)
set(manuals)
foreach(page Corvane2.1 corvane.1 corvane-net.1)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${page}.gz
        COMMAND gzip -9 -n -c ${packaging}/${page} > ${CMAKE_BINARY_DIR}/${page}.gz
        DEPENDS ${packaging}/${page} VERBATIM)
    list(APPEND manuals ${CMAKE_BINARY_DIR}/${page}.gz)
endforeach()
add_custom_target(corvane_documents ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz ${manuals})
install(FILES ${packaging}/copyright ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/corvane)
install(FILES ${manuals} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Corvane developers <developers@corvane.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "map network shares to drive letters")
# The synopsis comes from the summary; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Corvane keeps a catalogue of network share paths, builds named profiles
 that bind drive letters to them, and attaches or detaches a whole profile,
 or one line of it, at a click. The drive letters are entries of a drives
 folder in the home folder; shares are mounted through GVfs.")
# The libraries from the binaries; the GVfs pieces the network command mounts with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gvfs-backends, gvfs-fuse")
include(CPack)
