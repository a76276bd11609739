# How the desktop game is installed: the program with its sound files in one program
# folder, the kelto1 command, a desktop entry with icons, AppStream metadata and a
# manual page. `cmake --install build --prefix PREFIX` puts:
#   PREFIX/lib/kelto1/          the program, its sound files, the per-user marker
#   PREFIX/<bin>/kelto1         a link to the program (<bin> is KELTO1_INSTALL_BINDIR:
#                               bin, or games in the Debian package)
#   PREFIX/share/applications/  io.github.kelto1.Kelto1.desktop
#   PREFIX/share/icons/hicolor/ kelto1.png at 32, 48, 64, 128 and 256 pixels
#   PREFIX/share/metainfo/      io.github.kelto1.Kelto1.metainfo.xml
#   PREFIX/share/man/man6/      kelto1.6
# Included from the top-level CMakeLists.txt after cmake/desktop.cmake.
if(NOT TARGET kelto1)
  return()
endif()
include(GNUInstallDirs)
set(KELTO1_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR} CACHE STRING
    "Folder under the prefix for the kelto1 command (games for the Debian package)")
set(KELTO1_PROGRAM_DIR lib/kelto1)
set(kelto1_out ${CMAKE_BINARY_DIR}/install)

install(TARGETS kelto1 RUNTIME DESTINATION ${KELTO1_PROGRAM_DIR})
file(GLOB KELTO1_SOUND_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*.wav ${CMAKE_SOURCE_DIR}/data/*.mid)
install(FILES ${KELTO1_SOUND_FILES} DESTINATION ${KELTO1_PROGRAM_DIR})
# An installed game is shared by the machine's users: it keeps each player's settings in
# their own folder and writes nothing beside the program, even as root.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/per-user-settings DESTINATION ${KELTO1_PROGRAM_DIR})

# The command is a link to the program; the program finds its folder through the link.
file(RELATIVE_PATH kelto1_link_target /${KELTO1_INSTALL_BINDIR} /${KELTO1_PROGRAM_DIR}/kelto1)
file(MAKE_DIRECTORY ${kelto1_out})
file(CREATE_LINK ${kelto1_link_target} ${kelto1_out}/kelto1 SYMBOLIC)
install(FILES ${kelto1_out}/kelto1 DESTINATION ${KELTO1_INSTALL_BINDIR})

# The desktop: entry, metadata and manual page, with the version and release date filled in.
configure_file(${CMAKE_SOURCE_DIR}/packaging/io.github.kelto1.Kelto1.metainfo.xml.in
               ${kelto1_out}/io.github.kelto1.Kelto1.metainfo.xml @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/kelto1.6.in ${kelto1_out}/kelto1.6 @ONLY)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/io.github.kelto1.Kelto1.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${kelto1_out}/io.github.kelto1.Kelto1.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${kelto1_out}/kelto1.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The icon enlarged pixel-sharp for the icon theme, made when the game is built.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(kelto1_icons "")
foreach(size IN ITEMS 32 48 64 128 256)
  set(icon ${kelto1_out}/icons/${size}x${size}/kelto1.png)
  add_custom_command(
    OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${kelto1_out}/icons/${size}x${size}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/scale_icon.py ${CMAKE_SOURCE_DIR}/assets/icon.png ${size} ${icon}
    DEPENDS ${CMAKE_SOURCE_DIR}/assets/icon.png ${CMAKE_SOURCE_DIR}/tools/scale_icon.py
    COMMENT "Icon at ${size} pixels"
    VERBATIM)
  list(APPEND kelto1_icons ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(kelto1_icons DEPENDS ${kelto1_icons})
add_dependencies(kelto1 kelto1_icons)
