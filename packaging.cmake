# The Debian package, built with `cpack -G DEB` in a build folder.
set(CPACK_PACKAGE_NAME veltrin)
set(CPACK_PACKAGE_VERSION 1.00)
set(CPACK_PACKAGE_VENDOR "Veltrin maintainers")
set(CPACK_PACKAGE_CONTACT "Veltrin maintainers <maintainers@veltrin.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Solver for a 3x3 colour-cycling puzzle")
set(CPACK_PACKAGE_DESCRIPTION
    "Veltrin works out how many times to press each square of a 3x3 grid of three colours, in a game where a press advances a square and its neighbours, to make the grid one colour.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # library dependencies computed by dpkg-shlibdeps
# Qt loads its platform plugins at run time, so no library dependency names them, and
# libqt6gui6 only recommends them: without them the program cannot open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
