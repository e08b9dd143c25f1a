# The Debian package (cpack -G DEB, or the target "package"): the two programs, the desktop
# entry and the icons under /usr. Its dependencies are Debian's Qt 6 runtime packages, found
# by dpkg-shlibdeps from the libraries the programs link, plus the plugins Qt loads at run
# time, which no library names: the window system's platform plugins and the SQLite driver
# of the run journal.
set(TAMREL_PACKAGE_CONTACT "Utility for Tamrel developers <utility-for-tamrel@localhost>"
    CACHE STRING "Maintainer of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME utility-for-tamrel)
set(CPACK_PACKAGE_VENDOR Tamrel)
set(CPACK_PACKAGE_CONTACT "${TAMREL_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Bench utility for a Tamrel immittance meter and a DS1820 thermometer")
set(CPACK_PACKAGE_DESCRIPTION
    "Drives a Tamrel immittance (LCR) meter and reads a DS1820 thermometer over two serial
ports, mirrors the meter's front panel, runs measurement tables over temperature and
frequency and saves them as semicolon-separated files. tamrel-sim simulates both
instruments on pseudo-terminals.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
# The standard dialogs' buttons in Russian.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)
