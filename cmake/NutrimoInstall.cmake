# How Nutrimo installs, the way a Debian desktop program does:
#   bin/nutrimo                         the launcher: prepares the Data directory, starts the program there
#   libexec/nutrimo/nutrimo             the program itself
#   share/nutrimo/tables/               the supplied tables, copied into each user's Data directory
#   share/nutrimo/help/DIETAIDE.HLP     the help file (the program carries its own copy)
#   share/nutrimo/efsa-drv.csv          EFSA's reference values (a person's needs)
#   share/applications/nutrimo.desktop  the menu entry, in French
#   share/icons/hicolor/scalable/apps/nutrimo.svg
# The launcher finds the rest from its own place, so any prefix works
# (cmake --install --prefix, make install PREFIX=..., DESTDIR staging).
# cpack -G DEB builds the package, depending on Debian's Qt 6 runtime.
include(GNUInstallDirs)

set(NUTRIMO_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/nutrimo)
set(NUTRIMO_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/nutrimo)

configure_file(${PROJECT_SOURCE_DIR}/packaging/nutrimo.in ${CMAKE_BINARY_DIR}/packaging/nutrimo @ONLY)

install(TARGETS nutrimo RUNTIME DESTINATION ${NUTRIMO_PROGRAM_DIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/nutrimo DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES
  ${CMAKE_BINARY_DIR}/tables/DIETAB.DBF
  ${CMAKE_BINARY_DIR}/tables/BESOINS.DBF
  ${CMAKE_BINARY_DIR}/tables/CHOIX.DBF
  ${CMAKE_BINARY_DIR}/tables/choix0.dbf
  ${CMAKE_BINARY_DIR}/tables/Alimcomp.DBF
  DESTINATION ${NUTRIMO_SHARE_DIR}/tables)
install(FILES ${PROJECT_SOURCE_DIR}/data/help/DIETAIDE.HLP DESTINATION ${NUTRIMO_SHARE_DIR}/help)
# EFSA's reference values, from which the program computes a person's needs.
install(FILES ${PROJECT_SOURCE_DIR}/data/sources/efsa-drv.csv DESTINATION ${NUTRIMO_SHARE_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/nutrimo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/ui/pictures/application.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME nutrimo.svg)

# The package's dependencies are the Debian packages that hold the Qt 6
# libraries the program links, as this machine names them (libqt6core6 on
# bookworm, libqt6core6t64 after it), found with dpkg; the platform plugins,
# the SVG plugins, Qt's French texts and the fonts are needed at run time,
# and GLPK.
set(NUTRIMO_DEB_DEPENDS "")
find_program(DPKG_QUERY dpkg-query)
foreach(module Core Gui Widgets PrintSupport Svg)
  set(package "libqt6${module}6")
  string(TOLOWER ${package} package)
  get_target_property(location Qt6::${module} LOCATION)
  if(DPKG_QUERY AND location)
    get_filename_component(location ${location} REALPATH)
    execute_process(COMMAND ${DPKG_QUERY} -S ${location} OUTPUT_VARIABLE owner
                    RESULT_VARIABLE rc ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(rc EQUAL 0 AND owner MATCHES "^([^:,]+)")
      set(package ${CMAKE_MATCH_1})
    endif()
  endif()
  list(APPEND NUTRIMO_DEB_DEPENDS "${package} (>= ${Qt6_VERSION_MAJOR}.${Qt6_VERSION_MINOR})")
endforeach()
# The solver behind "Compléter la ration": the package of the GLPK library
# the program links (libglpk40 on bookworm).
if(DPKG_QUERY AND GLPK_LIBRARY)
  get_filename_component(glpk ${GLPK_LIBRARY} REALPATH)
  execute_process(COMMAND ${DPKG_QUERY} -S ${glpk} OUTPUT_VARIABLE owner
                  RESULT_VARIABLE rc ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(rc EQUAL 0 AND owner MATCHES "^([^:,]+)")
    list(APPEND NUTRIMO_DEB_DEPENDS ${CMAKE_MATCH_1})
  endif()
endif()
list(APPEND NUTRIMO_DEB_DEPENDS qt6-qpa-plugins qt6-translations-l10n fonts-liberation)
list(JOIN NUTRIMO_DEB_DEPENDS ", " NUTRIMO_DEB_DEPENDS)

set(CPACK_PACKAGE_NAME nutrimo)
set(CPACK_PACKAGE_VENDOR "L'équipe Nutrimo")
set(CPACK_PACKAGE_CONTACT "L'équipe Nutrimo <contact@nutrimo.example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Bilan nutritionnel de la ration d'une journée")
set(CPACK_PACKAGE_DESCRIPTION "Nutrimo compose la ration d'une journée à partir d'une table de \
composition des aliments et en dresse le bilan pour l'un de dix-sept groupes de population : \
énergie, macronutriments, minéraux et vitamines, imprimable sur une feuille.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://nutrimo.example.org")
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${NUTRIMO_DEB_DEPENDS}")
set(CPACK_GENERATOR DEB)
include(CPack)
