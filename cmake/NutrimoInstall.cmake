# How Nutrimo installs, the way a Debian desktop program does:
#   bin/nutrimo                          the launcher: prepares the Data directory, starts the program there
#   libexec/nutrimo/nutrimo              the program itself
#   libexec/nutrimo/nutrimo-message      shows the launcher's failures in a window
#   share/nutrimo/tables/                the supplied tables (every one the table builder writes for
#                                        the Data directory), copied into each user's Data directory
#   share/nutrimo/CIQUAL.DBF             the whole CIQUAL 2020 table, read by the program where it
#                                        is installed (never copied)
#   share/nutrimo/help/DIETAIDE.HLP      the help file (the program carries its own copy)
#   share/nutrimo/efsa-drv.csv           EFSA's reference values (a person's needs)
#   share/applications/nutrimo.desktop   the menu entry, in French
#   share/icons/hicolor/*/apps/          the icon: the SVG, and PNGs rendered from it at build time
#   share/metainfo/<id>.metainfo.xml     AppStream, for software centres
#   share/man/man1/nutrimo.1.gz          the French manual page
#   share/doc/nutrimo/                   copyright (DEP-5) and changelog
# The launcher finds the rest from its own place, so any prefix works
# (cmake --install --prefix, make install PREFIX=..., DESTDIR staging).
# cpack -G DEB builds the package; dpkg-shlibdeps computes its library
# dependencies from the binaries.
include(GNUInstallDirs)

set(NUTRIMO_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/nutrimo)
set(NUTRIMO_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/nutrimo)
set(NUTRIMO_ICON_SIZES 16 22 24 32 48 64 128 256)
set(gen ${CMAKE_BINARY_DIR}/packaging)

# The release's version and date are those of the changelog's latest entry.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in changelog ENCODING UTF-8)
list(GET changelog 0 changelogHead)
if(NOT changelogHead MATCHES "^nutrimo \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog.in : la dernière entrée n'est pas la version ${PROJECT_VERSION}.")
endif()
foreach(line IN LISTS changelog)
  if(line MATCHES "^ -- .*>  (.+)$")
    execute_process(COMMAND date -u -d "${CMAKE_MATCH_1}" +%F OUTPUT_VARIABLE NUTRIMO_RELEASE_DATE
                    RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
    break()
  endif()
endforeach()
if(NOT rc EQUAL 0 OR NOT NUTRIMO_RELEASE_DATE MATCHES "^[0-9]+-[0-9]+-[0-9]+$")
  message(FATAL_ERROR "packaging/debian/changelog.in : la date de la dernière entrée est illisible.")
endif()

# The launcher's window for its failures.
add_executable(nutrimo-message ${PROJECT_SOURCE_DIR}/packaging/launchermessage.cpp)
target_link_libraries(nutrimo-message PRIVATE nutrimo_app)
set_target_properties(nutrimo-message PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

configure_file(${PROJECT_SOURCE_DIR}/packaging/nutrimo.in ${gen}/nutrimo @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/nutrimo.metainfo.xml.in
               ${gen}/${NUTRIMO_APPSTREAM_ID}.metainfo.xml @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/copyright.in ${gen}/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/changelog.in ${gen}/changelog @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/nutrimo.1.in ${gen}/nutrimo.1 @ONLY)

# Compressed as Debian wants them: best compression, no name or time inside,
# so that the same sources give the same bytes.
set(packagingFiles)
foreach(f changelog nutrimo.1)
  add_custom_command(OUTPUT ${gen}/${f}.gz
                     COMMAND gzip -9nkf ${gen}/${f}
                     DEPENDS ${gen}/${f} VERBATIM)
  list(APPEND packagingFiles ${gen}/${f}.gz)
endforeach()

# The PNG icons are rendered from the one SVG at every build (librsvg's
# rsvg-convert, from Debian), so they never drift from it.
find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert introuvable : installez librsvg2-bin (bash scripts/deps.sh).")
endif()
set(iconSvg ${PROJECT_SOURCE_DIR}/src/ui/pictures/application.svg)
foreach(s IN LISTS NUTRIMO_ICON_SIZES)
  set(png ${gen}/icons/${s}x${s}/nutrimo.png)
  add_custom_command(OUTPUT ${png}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${gen}/icons/${s}x${s}
                     COMMAND ${RSVG_CONVERT} --width ${s} --height ${s} --output ${png} ${iconSvg}
                     DEPENDS ${iconSvg} VERBATIM)
  list(APPEND packagingFiles ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${s}x${s}/apps)
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${packagingFiles})

install(TARGETS nutrimo nutrimo-message RUNTIME DESTINATION ${NUTRIMO_PROGRAM_DIR})
install(PROGRAMS ${gen}/nutrimo DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${SUPPLIED_TABLES} DESTINATION ${NUTRIMO_SHARE_DIR}/tables)
install(FILES ${CIQUAL_TABLE} DESTINATION ${NUTRIMO_SHARE_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/help/DIETAIDE.HLP DESTINATION ${NUTRIMO_SHARE_DIR}/help)
# EFSA's reference values, from which the program computes a person's needs.
install(FILES ${PROJECT_SOURCE_DIR}/data/sources/efsa-drv.csv DESTINATION ${NUTRIMO_SHARE_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/nutrimo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${iconSvg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME nutrimo.svg)
install(FILES ${gen}/${NUTRIMO_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${gen}/nutrimo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${gen}/copyright ${gen}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/nutrimo)

# Library dependencies come from the binaries (dpkg-shlibdeps); what the
# program loads at run time without linking it is listed here: Qt's platform
# plugins, the SVG plugins that draw its pictures (in the package of the Qt
# SVG library, found with dpkg: libqt6svg6 on bookworm), Qt's French texts,
# and the fonts its pages are drawn with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(svgPackage libqt6svg6)
get_target_property(svgLibrary Qt6::Svg LOCATION)
find_program(DPKG_QUERY dpkg-query)
if(DPKG_QUERY AND svgLibrary)
  get_filename_component(svgLibrary ${svgLibrary} REALPATH)
  execute_process(COMMAND ${DPKG_QUERY} -S ${svgLibrary} OUTPUT_VARIABLE owner
                  RESULT_VARIABLE rc ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(rc EQUAL 0 AND owner MATCHES "^([^:,]+)")
    set(svgPackage ${CMAKE_MATCH_1})
  endif()
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, ${svgPackage} (>= ${Qt6_VERSION_MAJOR}.${Qt6_VERSION_MINOR}), qt6-translations-l10n, fonts-liberation")

# cpack strips the binaries; like dh_strip, also drop the compiler's
# identification notes, which nothing reads.
string(CONFIGURE [[
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program nutrimo nutrimo-message)
      execute_process(COMMAND "@CMAKE_OBJCOPY@" --remove-section=.comment --remove-section=.note
                      "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/@NUTRIMO_PROGRAM_DIR@/${program}" RESULT_VARIABLE rc)
      if(NOT rc EQUAL 0)
        message(FATAL_ERROR "objcopy ${program}: ${rc}")
      endif()
    endforeach()
  endif()]] stripNotes @ONLY)
install(CODE "${stripNotes}")
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME nutrimo)

set(CPACK_PACKAGE_NAME nutrimo)
set(CPACK_PACKAGE_VENDOR "${NUTRIMO_AUTHOR}")
set(CPACK_PACKAGE_CONTACT "${NUTRIMO_AUTHOR} <${NUTRIMO_CONTACT}>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bilan nutritionnel de la ration d'une journée")
# The extended description, in lines under 80 columns as Debian wants them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Nutrimo compose la ration d'une journée, aliment par aliment et en grammes,"
  "à partir de la table de composition des aliments Ciqual (Anses, 2020), et en"
  "dresse le bilan pour l'un de dix-sept groupes de population : énergie et"
  "macronutriments avec des conseils, couverture de l'énergie et de vingt"
  "minéraux et vitamines selon les valeurs de référence de l'EFSA. Le bilan"
  "s'imprime sur une feuille."
  "."
  "Il crée aussi des plats composés, enregistre et rouvre une journée,"
  "consulte, modifie et classe la table des aliments, imprime la liste des"
  "aliments choisis et calcule l'indice de masse corporelle. Le programme et"
  "son aide sont en français.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${NUTRIMO_HOMEPAGE}")
set(CPACK_GENERATOR DEB)
include(CPack)
