# The Debian package: `cpack -G DEB` in the build folder (see README). Its dependencies are
# computed from the installed binaries (dpkg-shlibdeps), not listed by hand; only what no binary
# links to (fonts, dictionaries, image plugins, the desktop opener) is recommended.
set(CPACK_PACKAGE_NAME "quillet")
set(CPACK_PACKAGE_VENDOR "Fernlake")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Quillet Vado developers <quillet@fernlake.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rich text and plain text editor with a page and picture viewer")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillet Vado edits rich text (RTF) and plain text files, shows HTML pages and pictures in an\n"
    "embedded viewer, prints with header and footer lines and shows a page preview. The package\n"
    "also holds quillet-convert, which converts between RTF and plain text on the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "editors")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-liberation2, fonts-crosextra-carlito, fonts-crosextra-caladea, fonts-wqy-microhei, \
hunspell-en-us | hunspell-dictionary, qt6-image-formats-plugins, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The launcher, the icons and the MIME associations are picked up by the file triggers of
# desktop-file-utils, hicolor-icon-theme and shared-mime-info; no maintainer scripts are needed.
include(CPack)
