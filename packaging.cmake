# The Debian package, built with `cpack -G DEB` in a build folder.
set(CPACK_PACKAGE_NAME veltrin)
set(CPACK_PACKAGE_VERSION ${VELTRIN_VERSION})
set(CPACK_PACKAGE_VENDOR "Veltrin maintainers")
set(CPACK_PACKAGE_CONTACT "Veltrin maintainers <maintainers@veltrin.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "solver for a 3x3 colour-cycling puzzle")
# Debian wants description lines of at most 80 columns.
set(CPACK_PACKAGE_DESCRIPTION [[
Veltrin works out how many times to press each square of a 3x3 grid of
three colours, in a game where a press advances a square and its orthogonal
neighbours, to make the whole grid one colour. Copy the game's grid by
clicking squares, press Solve!, and read the combination.]])
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://veltrin.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # library dependencies computed by dpkg-shlibdeps
# Qt loads its platform plugins at run time, so no library dependency names them, and
# libqt6gui6 only recommends them: without them the program cannot open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# Qt's own texts (a message's OK, the command line's headings) in the user's language; Veltrin's
# own are in the program.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
