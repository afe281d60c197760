# `make package`: a Debian package of what `cmake --install` puts under /usr.
# Its dependencies are computed from the binaries (dpkg-shlibdeps, in dpkg-dev)
# plus what the programs load at run time that no linker sees.
set(_doc ${CMAKE_BINARY_DIR}/share/doc/folivox)
add_custom_command(OUTPUT ${_doc}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_doc}
  COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" sh ${CMAKE_SOURCE_DIR}/dist/changelog ${_doc}/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/dist/changelog
  VERBATIM)
add_custom_target(folivox_changelog ALL DEPENDS ${_doc}/changelog.gz)
install(FILES ${_doc}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/folivox)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/folivox RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME folivox)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Folivox developers")
set(CPACK_PACKAGE_CONTACT "The Folivox developers <dev@folivox.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn PDF, text and RTF documents into page-flip e-books")
set(CPACK_PACKAGE_DESCRIPTION
  "Folivox imports a PDF, a plain-text or RTF document, or a folder of pictures,
with a page range, an image quality and its links and bookmarks. Pick a
template and a style, edit colours, texts, pictures and sounds while a live
preview shows the book, and publish a folder that any modern browser plays
with the book's own HTML5 player, or an application bundle. The command-line
tool folivox-cli does the same without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://folivox.org/)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_THREADS 0)  # compress on every core
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts for laying out text and RTF documents. (The web engine's helper process,
# libqt6webenginecore6-bin, comes with the engine's shlibs; the check insists on it.)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# Wayland sessions, opening books and manuals in the user's own programs, Qt's
# own dialogs in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils, qt6-translations-l10n")
# Word-processor documents are converted through LibreOffice.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-writer")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
