# The Debian package: `cpack -G DEB` in a build folder makes
# lumetra_<version>_amd64.deb from the installed layout (cmake/Install.cmake).
if(LUMETRA_CORE_ONLY OR NOT TARGET lumetra_webplayer)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumetra)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Lumetra developers")
set(CPACK_PACKAGE_CONTACT "Lumetra developers <developers@lumetra.example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn pictures into a slideshow for the web")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://lumetra.example.org/)
# The summary above becomes the synopsis; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Lumetra builds a slideshow for a website from JPEG, PNG, BMP, GIF and TIFF
pictures: each slide with a title, a description, a link, a display time, a
transition effect and a text colour; the show with a navigation bar,
repetition, random order and background music. It writes a web page with
resized pictures and its own HTML5 player, and publishes it over FTP or FTPS.

The package holds the program with its window (German and English) and
lumetra-make, which builds and publishes shows from the command line.")

# Library links give the dependencies, the web player module's too (it is
# opened with dlopen, but it is in the package), and Qt WebEngine's helper
# process comes with the engine's own. What is loaded at run time by name
# is added: the GStreamer plugins that play MP3 music, and the window's font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gstreamer1.0-plugins-good, fonts-liberation2")
# GStreamer reaches a PulseAudio or PipeWire sound server through this
# plugin; without it the music preview falls back to ALSA.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-pulseaudio")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
