# Installation in the layout of cmake/InstallLayout.cmake: the programs, their
# data/ and lng/, the web player module, and what a desktop needs to offer the
# program: launcher, icons, the project-file type, the AppStream description
# and the manual pages (sources in dist/).

# The programs find data/ and lng/, and the module, relative to their own
# folder when they are not beside them (src/app/Platform.cpp).
target_compile_definitions(lumetra_base PRIVATE
  LUMETRA_INSTALLED_PROGRAM_FOLDER="${LUMETRA_PROGRAM_FROM_BINDIR}"
  LUMETRA_INSTALLED_MODULE_FOLDER="${LUMETRA_MODULE_FROM_BINDIR}")

# Only the full build makes something to install.
if(LUMETRA_CORE_ONLY OR NOT TARGET lumetra_webplayer)
  return()
endif()

install(TARGETS lumetra lumetra-make RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS lumetra_webplayer LIBRARY DESTINATION ${LUMETRA_INSTALL_MODULE_DIR})
# Whole folders: whatever the windows and the player add there is delivered.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data ${PROJECT_SOURCE_DIR}/lng
  DESTINATION ${LUMETRA_INSTALL_PROGRAM_DIR})

set(_lumetra_dist ${PROJECT_SOURCE_DIR}/dist)
set(_lumetra_out ${PROJECT_BINARY_DIR}/dist)
set(_lumetra_id org.example.Lumetra)

install(FILES ${_lumetra_dist}/${_lumetra_id}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_lumetra_dist}/${_lumetra_id}.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${_lumetra_dist}/${_lumetra_id}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

configure_file(${_lumetra_dist}/${_lumetra_id}.metainfo.xml.in
  ${_lumetra_out}/${_lumetra_id}.metainfo.xml @ONLY)
install(FILES ${_lumetra_out}/${_lumetra_id}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The fixed icon sizes, rendered from the SVG at build time.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(_lumetra_icons "")
foreach(size 16 32 48 64 128 256)
  set(png ${_lumetra_out}/icons/${size}x${size}/${_lumetra_id}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_lumetra_out}/icons/${size}x${size}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${_lumetra_dist}/${_lumetra_id}.svg
    DEPENDS ${_lumetra_dist}/${_lumetra_id}.svg
    COMMENT "Rendering the ${size}x${size} icon" VERBATIM)
  list(APPEND _lumetra_icons ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages and the package's change log, compressed reproducibly (no
# name or time stamp in the gzip header).
set(_lumetra_gzipped "")
foreach(page lumetra.1 lumetra-make.1 changelog)
  configure_file(${_lumetra_dist}/${page}.in ${_lumetra_out}/${page} @ONLY)
  add_custom_command(OUTPUT ${_lumetra_out}/${page}.gz
    COMMAND gzip -9 -n -f -k ${_lumetra_out}/${page}
    DEPENDS ${_lumetra_out}/${page}
    COMMENT "Compressing ${page}" VERBATIM)
  list(APPEND _lumetra_gzipped ${_lumetra_out}/${page}.gz)
endforeach()
install(FILES ${_lumetra_out}/lumetra.1.gz ${_lumetra_out}/lumetra-make.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# Debian's places for the licence and the change log of a package.
install(FILES ${_lumetra_dist}/copyright ${_lumetra_out}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lumetra)

add_custom_target(lumetra_desktop_files ALL DEPENDS ${_lumetra_icons} ${_lumetra_gzipped})
