# The Debian package: `cpack -G DEB` in a configured and built build folder. The
# libraries it needs come from dpkg-shlibdeps; the Qt platform plugins and a font are
# loaded at run time, not linked, so they are named by hand.
set(CPACK_PACKAGE_NAME quon)
set(CPACK_PACKAGE_VENDOR "Quon Developers")
set(CPACK_PACKAGE_CONTACT "Quon Developers <quon@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Approximates a function of up to four variables by a tensor-product interpolant")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
include(CPack)
