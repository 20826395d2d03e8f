# Installation (cmake --install) and the Debian package (cpack -G DEB).
#
# Installs the program, its desktop entry, its icon in the hicolor theme, its AppStream
# metainfo, the licence and the README. Works the same when another project adds this one
# with add_subdirectory: every path here is this project's own.

include(GNUInstallDirs)

set(PL4120_APP_ID "org.pl4120.pl4120" CACHE INTERNAL "AppStream and desktop id of the program")
set(_pl4120_assets "${PROJECT_SOURCE_DIR}/assets")
set(_pl4120_docdir "${CMAKE_INSTALL_DATAROOTDIR}/doc/pl4120")

# The program needs no library of its own at run time: no $ORIGIN search path; a Qt outside the
# system's library folders is still found through the folders it was linked from.
set_target_properties(pl4120 PROPERTIES INSTALL_RPATH "" INSTALL_RPATH_USE_LINK_PATH TRUE)
install(TARGETS pl4120 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT pl4120)
install(FILES "${_pl4120_assets}/${PL4120_APP_ID}.desktop"
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT pl4120)
install(FILES "${_pl4120_assets}/${PL4120_APP_ID}.metainfo.xml"
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo COMPONENT pl4120)
install(FILES "${_pl4120_assets}/icons/pl4120.svg"
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
  RENAME ${PL4120_APP_ID}.svg COMPONENT pl4120)
foreach(size 32 64 128 256)
  install(FILES "${_pl4120_assets}/icons/pl4120-${size}.png"
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${PL4120_APP_ID}.png COMPONENT pl4120)
endforeach()
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" "${PROJECT_SOURCE_DIR}/README.md"
  DESTINATION ${_pl4120_docdir} COMPONENT pl4120)

# The package is made only by a build of this project itself, not by one that includes it.
if(PROJECT_IS_TOP_LEVEL)
  set(CPACK_PACKAGE_NAME "pl4120")
  set(CPACK_PACKAGE_VENDOR "the ПЛ 4120 utility developers")
  set(CPACK_PACKAGE_CONTACT "the ПЛ 4120 utility developers")
  set(CPACK_PACKAGE_VERSION "${pl4120_VERSION}")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "utility for the PL 4120 dot-matrix printer (ESC/P, code page 866)")
  set(CPACK_PACKAGE_DESCRIPTION
    "Sets up the PL 4120 dot-matrix printer with ESC/P codes and prints DOS Cyrillic\n(code page 866) texts byte for byte to a printer port, a network printer, a print\nqueue or a file. The user interface is in Russian.")
  set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
  set(CPACK_PACKAGE_INSTALL_DIRECTORY "pl4120")
  set(CPACK_STRIP_FILES ON)

  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
  set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
  # The libraries the program links come from dpkg-shlibdeps; the platform plugins that show
  # a window on X11 or Wayland are loaded at run time, so they are named here.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  # Qt's own texts (dialogs, context menus, standard buttons) in Russian; the fonts the window
  # and the preview are drawn with (Cyrillic and box drawing).
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-dejavu-core")
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")
  include(CPack)
endif()
