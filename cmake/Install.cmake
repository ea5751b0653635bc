# What `cmake --install` puts where a Linux desktop finds it: the program and
# the tool in bin/, the game folder in share/veltogame/game/ (the program
# looks there when started without a game folder), the desktop entry and the
# icon drawn at build time in the freedesktop places.
include(GNUInstallDirs)

# The game folder to install. By default the demo game, which the target
# demo_game makes from demo/ in this build (VELTO_BUILD_DEMO); a build that
# makes another game points this at its output.
set(VELTO_GAME_DIR "${CMAKE_BINARY_DIR}/game" CACHE PATH "Game folder installed beside the program")

# The icon at the sizes desktops ask for.
set(VELTO_ICON_SIZES 48 128 256)
set(VELTO_ICON_FILES)
foreach(size IN LISTS VELTO_ICON_SIZES)
  set(icon ${CMAKE_BINARY_DIR}/share/icons/hicolor/${size}x${size}/apps/veltogame.png)
  add_custom_command(
    OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/icons/hicolor/${size}x${size}/apps
    COMMAND velto-icon ${size} ${icon}
    DEPENDS velto-icon
    COMMENT "Drawing the ${size}-pixel icon")
  list(APPEND VELTO_ICON_FILES ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(velto_icons ALL DEPENDS ${VELTO_ICON_FILES})

# The desktop shows the window's title.
if(VELTO_TITLE_PHRASE)
  set(VELTO_DESKTOP_NAME "${VELTO_TITLE_PHRASE}")
elseif(VELTO_TEXT_PROFILE STREQUAL "GBK")
  set(VELTO_DESKTOP_NAME "VELTO 星之回廊")
else()
  set(VELTO_DESKTOP_NAME "VELTO 星の回廊")
endif()
configure_file(${CMAKE_SOURCE_DIR}/dist/veltogame.desktop.in ${CMAKE_BINARY_DIR}/share/applications/veltogame.desktop
               @ONLY)

install(TARGETS veltogame velto-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/share/applications/veltogame.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${VELTO_GAME_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/veltogame/game
        PATTERN ".made" EXCLUDE)
