# The Debian package "wabrix", made by CPack from the install rules: cpack -G DEB in the build tree
# (scripts/make-package.sh). Its dependencies are those of the programs' libraries, found by
# dpkg-shlibdeps, and the fonts the program draws with. It has no maintainer scripts: the MIME, menu,
# icon and manual page caches are brought up to date by the triggers of the packages that own them
# (shared-mime-info, desktop-file-utils, gtk-update-icon-cache, man-db). CPack stages the files with
# DESTDIR set, so the install rules do not update the caches of the staging tree either.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wabrix)
set(CPACK_PACKAGE_VENDOR "Die Macher von Wabrix")
set(CPACK_PACKAGE_HOMEPAGE_URL ${WABRIX_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arrow-word puzzle maker (Schwedenrätsel-Generator)")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_LIST_DIR}/description.txt)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                                WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${WABRIX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Liberation Sans (Narrow) stands in for the puzzle's Arial fonts; the window's Tahoma comes from Wine's
# fonts; hyphen-de holds the German hyphenation patterns of fitted clues. Qt's German texts give the standard dialogs' buttons their German names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-wine, hyphen-de")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
