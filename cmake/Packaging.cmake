# The Debian package (`cpack -G DEB` in the build folder): what `cmake --install` puts, with
# the shared libraries' packages found by dpkg-shlibdeps and what the window needs besides.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ondrex)
set(CPACK_PACKAGE_VENDOR Ondrex)
set(CPACK_PACKAGE_CONTACT "Ondrex developers <ondrex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reader for web script files: functions, blocks, tags")
# CPack indents every line of the long description itself.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Ondrex reads ASP, VBScript, JavaScript, PHP and Perl files in a syntax-highlighting,"
  "read-only editor, lists their Function/Sub headers and Dim/If/Call statements and"
  "locates the code block of each. Its command line scans a whole site on all"
  "processors and writes tags files for Vim and Emacs.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt platform plugins are loaded at run time, so no library dependency names them; Courier
# New maps to Liberation Mono.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "vim | emacs, cups, cups-client, printer-driver-cups-pdf")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
