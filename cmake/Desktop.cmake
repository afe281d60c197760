# Desktop integration of the installed program: a menu entry and its icon.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/folivox.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/Images/folivox.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
