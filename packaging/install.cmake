# Installation under the usual prefix layout, and the Debian package
# (cpack -G DEB, see scripts/package.sh).
include(GNUInstallDirs)

set(ZARVEN_PKG zarven4-config)
set(ZARVEN_PKG_DOC ${CMAKE_INSTALL_DATADIR}/doc/${ZARVEN_PKG})
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS zarven4-config zarven4-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Read-only data: the program copies the dictionary into each user's folder.
install(FILES ${CMAKE_SOURCE_DIR}/data/trans.dic DESTINATION ${CMAKE_INSTALL_DATADIR}/${ZARVEN_PKG})
# The udev rule for the usual USB-serial bridges: the desktop user's access,
# ModemManager kept off, FTDI latency 1 ms. Always under /usr/lib, where udev
# reads the rules of packages.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/70-zarven4-config.rules DESTINATION /usr/lib/udev/rules.d)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zarven4-config.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/org.example.zarven4_config.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zarven4-config.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/zarven4-config-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME zarven4-config.png)
endforeach()

# Debian wants the changelog compressed without a time stamp.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
add_custom_target(zarven4-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz ${CMAKE_SOURCE_DIR}/packaging/copyright
        DESTINATION ${ZARVEN_PKG_DOC})
# Manual pages, compressed the same way.
foreach(page zarven4-config zarven4-sim)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${page}.1.gz
        COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/${page}.1 > ${CMAKE_BINARY_DIR}/${page}.1.gz
        DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${page}.1)
    add_custom_target(${page}-manpage ALL DEPENDS ${CMAKE_BINARY_DIR}/${page}.1.gz)
    install(FILES ${CMAKE_BINARY_DIR}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/docs/user-guide.md ${CMAKE_SOURCE_DIR}/docs/user-guide.en.md
        DESTINATION ${ZARVEN_PKG_DOC})

set(CPACK_PACKAGE_NAME ${ZARVEN_PKG})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "ZARVEN Support <support@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for the ZARVEN-4 GSM alarm controller")
set(CPACK_PACKAGE_DESCRIPTION "Finds the ZARVEN-4 GSM alarm controller on a serial port or USB adapter,
reads its settings into one window, lets the installer edit them, writes
them back and keeps them in configuration files. It also manages the
controller's Touch Memory keys and shows its GSM signal level, in Russian
or English. The package also holds zarven4-sim, a simulated controller on
a pseudo-terminal, for demonstrations and support.")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/zarven4")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The maintainer scripts apply the udev rule to adapters already plugged in.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/debian/postinst
    ${CMAKE_SOURCE_DIR}/packaging/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
# The X11 and offscreen platforms and the JPEG reader (the maker's banner)
# are plug-ins of the Qt GUI library's package, which the computed
# dependencies already name.
# The SQLite driver of Qt SQL is a plug-in of a package of its own, loaded
# at run time, so no library dependency names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
include(CPack)
