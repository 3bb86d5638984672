# The Debian package, built by scripts/package.sh through CPack. Its library
# dependencies are read from the built programs by dpkg-shlibdeps; Qt's plugins are
# loaded at run time, so no library names them and they are listed by hand: the
# image formats (TIFF, WebP) and the platform plugins that put a window on screen.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarvik)
set(CPACK_PACKAGE_VENDOR "The Zarvik developers")
set(CPACK_PACKAGE_CONTACT "${ZARVIK_CONTACT}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${ZARVIK_HOMEPAGE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn flat pictures into red/cyan anaglyphs")
# CPack puts the summary above this and indents each line as the control file wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Zarvik guesses a grey depth map from a flat picture's colours, shapes it,
makes a second eye's view from it and joins the two views into one picture
that shows depth through red/cyan glasses.

This package holds the desktop program, zarvik, and the command-line
converter, zarvik-convert, which runs the same conversion for batches and
scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
