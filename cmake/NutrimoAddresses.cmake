# The project's web page and contact address, set in one place for the whole
# build: the About box's two links, the Debian package (Homepage, Maintainer),
# the AppStream metainfo, the copyright file, the changelog and the manual
# page all take them from here. nutrimo.example.org is a placeholder domain
# (example.org is reserved and never answers): a distributor sets the real
# ones with cmake -D NUTRIMO_HOMEPAGE=https://... -D NUTRIMO_CONTACT=...@...
set(NUTRIMO_HOMEPAGE "https://nutrimo.example.org" CACHE STRING
    "Web page of the project (About box, package, metainfo); the default is a placeholder")
set(NUTRIMO_CONTACT "contact@nutrimo.example.org" CACHE STRING
    "Mail address of the project (About box, package maintainer, metainfo); the default is a placeholder")
set(NUTRIMO_AUTHOR "L'équipe Nutrimo" CACHE STRING "Name of the maintainer beside the contact address")

# Both end up inside C++ string literals, XML and control fields: refuse
# anything that is not a plain address rather than escape it.
if(NOT NUTRIMO_HOMEPAGE MATCHES "^https?://([a-zA-Z0-9.-]+)(/[^\"'<>\\ ]*)?$")
  message(FATAL_ERROR "NUTRIMO_HOMEPAGE « ${NUTRIMO_HOMEPAGE} » n'est pas une adresse http(s) simple.")
endif()
set(nutrimoHost ${CMAKE_MATCH_1})
if(NOT NUTRIMO_CONTACT MATCHES "^[a-zA-Z0-9._+-]+@[a-zA-Z0-9.-]+$")
  message(FATAL_ERROR "NUTRIMO_CONTACT « ${NUTRIMO_CONTACT} » n'est pas une adresse électronique simple.")
endif()
if(NUTRIMO_AUTHOR MATCHES "[<>\"@,]")
  message(FATAL_ERROR "NUTRIMO_AUTHOR « ${NUTRIMO_AUTHOR} » ne peut contenir ni <, >, \", @ ni virgule.")
endif()

# The AppStream identifier is the web page's domain reversed, as software
# centres expect (nutrimo.example.org gives org.example.nutrimo), with the
# program's name after a two-part domain (nutrimo.fr gives fr.nutrimo.nutrimo),
# since software centres want three parts.
string(REGEX REPLACE "^www\\." "" nutrimoHost "${nutrimoHost}")
string(TOLOWER "${nutrimoHost}" nutrimoHost)
string(REPLACE "." ";" nutrimoHostParts "${nutrimoHost}")
list(REVERSE nutrimoHostParts)
list(LENGTH nutrimoHostParts nutrimoHostLength)
if(nutrimoHostLength LESS 3)
  list(APPEND nutrimoHostParts nutrimo)
endif()
list(JOIN nutrimoHostParts "." NUTRIMO_APPSTREAM_ID)

# The About box reads them from a generated header.
set(NUTRIMO_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${PROJECT_SOURCE_DIR}/src/app/projectlinks.h.in
               ${NUTRIMO_GENERATED_DIR}/app/projectlinks.h @ONLY)
include_directories(${NUTRIMO_GENERATED_DIR})
