# The Debian package that scripts/package builds with CPack.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallomer)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Tallomer developers <developers@tallomer.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "day book for a company cashier")
# CPack puts the summary on the Description line and indents these lines
# under it, an empty line becoming the " ." of a paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Tallomer keeps a company cashier's cash journal and bank journal one
month at a time, with running balances, a search over all months,
statistics by summary, by month and by voucher number, a bar chart,
print preview and export to text, CSV, HTML, RTF and Excel files,
operators with passwords, and backup and restore. Its user interface
is in Chinese.

The package also holds tallomer-db, which creates, checks, backs up,
restores, exports and prints a book from the terminal.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tallomer.org/)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies come from the libraries the two programs link, through dpkg-shlibdeps;
# the rest are what they load at run time rather than link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-cjk, fonts-arphic-uming")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
