# Where `cmake --install` puts the programs, and what a Debian package made
# from them holds and depends on. Included from the top-level CMakeLists.txt
# after every target is defined.
include(GNUInstallDirs)

# hhc goes beside chmbook and chmbook-cli, since both start the compiler from
# their own folder, as a portable copy does. It also works as a command of its own.
install(TARGETS chmbook-cli hhc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET chmbook)
  install(TARGETS chmbook RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(NOT WIN32)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/chmbook.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(size 16 32 48 64 128)
      install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/${size}x${size}/chmbook.png
              DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
  endif()
endif()

set(CPACK_PACKAGE_NAME chmbook)
set(CPACK_PACKAGE_VENDOR "chmbook")
set(CPACK_PACKAGE_CONTACT "chmbook maintainers <chmbook@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns a folder of text files into one compiled HTML Help book")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "Makes one compiled HTML Help book (.chm) from the text files of a folder:\n"
       "a list page that links every file and shows the start of its text, and one\n"
       "page per file. Comes with a window (chmbook), a command line (chmbook-cli)\n"
       "and its own HTML Help compiler (hhc).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries the programs link against, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A viewer for the finished books, and xdg-open, through which the book is opened.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xchm, xdg-utils")
include(CPack)
