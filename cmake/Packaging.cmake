# `make package`: a Debian package of the two programs and the desktop files, for /usr. Its
# library dependencies are read from the binaries (dpkg-shlibdeps); Qt's platform plugins and
# the desktop's opener are not linked libraries, so they are named by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brimtor)
set(CPACK_PACKAGE_VENDOR "Quorv")
set(CPACK_PACKAGE_CONTACT "Quorv <support@brimtor.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bookmark cleaner: finds broken links and removes them")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Brimtor checks every link of a bookmark source (a Favorites folder, the Firefox or\n"
  "Netscape profile's bookmark file, a bookmark HTML file or a text file of links), shows\n"
  "which are broken or redirected, and removes the ticked ones after a backup. The command\n"
  "brimtor-check does the same without a window.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.brimtor.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
