# `cpack -G DEB` makes the Debian package of the game: everything `cmake --install` puts in a
# prefix, installed under /usr. Its dependencies are the shared libraries the installed
# programs link (found by dpkg-shlibdeps), the OpenGL and EGL libraries that SDL opens at run
# time, the HTTP library that the game opens when it first sends a score, and the font packages
# that the faces of the game's texts come from. The package's copyright file states the licence
# (GPL-3.0-or-later, the text of which Debian keeps in /usr/share/common-licenses/GPL-3).

set(CPACK_PACKAGE_NAME comet-lane-derby)
set(CPACK_PACKAGE_VENDOR "The Comet Lane Derby developers")
set(CPACK_PACKAGE_CONTACT "The Comet Lane Derby developers <comet-lane-derby@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "top-down sci-fi arcade racing game")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Race a field of four to seven computer-driven opponents around twelve tracks in orbit.\n"
       "Twelve tracks and five cars opened by your score, ten player profiles, best times,\n"
       "a local high-score table and tracker-module music.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libgl1, libegl1, libcurl4 | libcurl3-gnutls, fontconfig, fonts-dejavu-core, fonts-liberation2, fonts-roboto-unhinted, fonts-comfortaa, fonts-yanone-kaffeesatz")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
set(CPACK_GENERATOR DEB)

configure_file(${CMAKE_CURRENT_LIST_DIR}/DebianCopyright.in ${CMAKE_BINARY_DIR}/debian/copyright
               @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/comet-lane-derby)
include(CPack)
