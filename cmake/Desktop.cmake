# Desktop integration of the installed program: a menu entry that opens the
# documents the program imports, its icon, and the AppStream data that software
# centres show.
install(FILES ${CMAKE_SOURCE_DIR}/dist/folivox.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/Images/folivox.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

# The AppStream release is the newest entry of the package's changelog.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/dist/changelog)
file(READ ${CMAKE_SOURCE_DIR}/dist/changelog _changelog)
string(REGEX MATCH "^folivox \\(([^)]+)\\)" _ "${_changelog}")
set(FOLIVOX_RELEASE_VERSION ${CMAKE_MATCH_1})
string(REGEX MATCH "\n -- [^\n]*, ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) " _ "${_changelog}")
set(_year ${CMAKE_MATCH_3})
set(_month_name ${CMAKE_MATCH_2})
math(EXPR _day "${CMAKE_MATCH_1}")
set(_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND _months "${_month_name}" _month)
math(EXPR _month "${_month} + 1")
foreach(_n IN ITEMS _month _day)
  if(${_n} LESS 10)
    set(${_n} 0${${_n}})
  endif()
endforeach()
set(FOLIVOX_RELEASE_DATE ${_year}-${_month}-${_day})
if(NOT FOLIVOX_RELEASE_VERSION STREQUAL PROJECT_VERSION)
  message(WARNING "dist/changelog describes ${FOLIVOX_RELEASE_VERSION}, the project is ${PROJECT_VERSION}: add an entry")
endif()
configure_file(${CMAKE_SOURCE_DIR}/dist/org.folivox.folivox.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/share/metainfo/org.folivox.folivox.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/share/metainfo/org.folivox.folivox.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
