# Manual pages for both programs, made from their own --help at build time so
# that a new option shows up in the manual without anyone remembering it.
# Not for sanitizer builds: nothing is installed from them.
if(FOLIVOX_SANITIZE)
  return()
endif()
find_package(Python3 COMPONENTS Interpreter)
if(NOT Python3_Interpreter_FOUND)
  message(WARNING "python3 not found: no manual pages")
  return()
endif()

set(_man_dir ${CMAKE_BINARY_DIR}/share/man/man1)
set(_man_pages)
foreach(program IN ITEMS folivox folivox-cli)
  if(NOT TARGET ${program})
    continue()
  endif()
  set(_page ${_man_dir}/${program}.1.gz)
  add_custom_command(OUTPUT ${_page}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-manpage.py $<TARGET_FILE:${program}>
            --include ${CMAKE_SOURCE_DIR}/dist/${program}.1.roff --output ${_page}
    DEPENDS ${program} ${CMAKE_SOURCE_DIR}/scripts/make-manpage.py ${CMAKE_SOURCE_DIR}/dist/${program}.1.roff
    COMMENT "Writing the manual page of ${program}"
    VERBATIM)
  list(APPEND _man_pages ${_page})
endforeach()
add_custom_target(folivox_manpages ALL DEPENDS ${_man_pages})
install(FILES ${_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
