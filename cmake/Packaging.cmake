# Installing vantrel on a Linux desktop (cmake --install, or the Debian
# package that cpack builds): the program, its desktop entry as the handler of
# SWF movies, the movie type, its icon in the hicolor theme and its manual page.
include(GNUInstallDirs)
set(packaging "${PROJECT_SOURCE_DIR}/packaging/linux")

install(TARGETS vantrel RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${packaging}/vantrel.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${packaging}/vantrel.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages")
install(DIRECTORY "${packaging}/icons/" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor")

# The manual page carries the version and is compressed, as Debian keeps them.
find_program(GZIP gzip REQUIRED)
set(manual "${CMAKE_BINARY_DIR}/vantrel.1")
configure_file("${packaging}/vantrel.1" "${manual}" @ONLY)
add_custom_command(
    OUTPUT "${manual}.gz"
    COMMAND "${GZIP}" -9 -n -c "${manual}" > "${manual}.gz"
    DEPENDS "${manual}"
    VERBATIM)
add_custom_target(vantrel_manual ALL DEPENDS "${manual}.gz")
install(FILES "${manual}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "Vantrel")
set(CPACK_PACKAGE_CONTACT "Vantrel developers <vantrel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "movie player for Pocket PC handhelds, on a simulated handheld")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vantrel plays SWF movies as a Pocket PC handheld plays them: the handheld\n"
    "player runs, unchanged, on a simulated Pocket PC shown in a window. It is the\n"
    "desktop's handler of .swf files; a movie opened while a player is running\n"
    "plays in that player.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
# The shared libraries it links come from dpkg-shlibdeps; the user-interface
# font is read at run time. The desktop's caches of handlers, types and icons
# are built by those packages' triggers.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libavcodec, libavutil, libcurl and SDL2 are loaded at run time, so
# dpkg-shlibdeps does not see them: they are named here, libavcodec and
# libavutil by the versions the program was built with, libcurl and SDL2 by
# the binary interfaces the program loads (libcurl.so.4, libSDL2-2.0.so.0).
pkg_check_modules(PACKAGED_AVCODEC REQUIRED libavcodec)
pkg_check_modules(PACKAGED_AVUTIL REQUIRED libavutil)
string(REGEX MATCH "^[0-9]+" packaged_avcodec_major "${PACKAGED_AVCODEC_VERSION}")
string(REGEX MATCH "^[0-9]+" packaged_avutil_major "${PACKAGED_AVUTIL_VERSION}")
string(CONCAT CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-dejavu-core, libavcodec${packaged_avcodec_major}, libavutil${packaged_avutil_major}, "
    "libcurl4, libsdl2-2.0-0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "desktop-file-utils, shared-mime-info, hicolor-icon-theme, xdg-utils")
include(CPack)
