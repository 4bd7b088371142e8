# `cpack -G DEB` in the build tree: a Debian package of everything `cmake --install` puts in place.
set(VIMBO_PACKAGE_MAINTAINER "The Vimbo developers <developers@vimbo.app>" CACHE STRING
    "Maintainer field of the packages")
set(CPACK_PACKAGE_NAME vimbo)
set(CPACK_PACKAGE_VENDOR "The Vimbo developers")
set(CPACK_PACKAGE_CONTACT "${VIMBO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://vimbo.app")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Audio visualizer for the desktop")
set(CPACK_PACKAGE_DESCRIPTION
    "Vimbo listens to everything the computer plays, or to the microphone, and
analyses it sixty times a second into level, bass, mid, treble, energy, beats
and a 24-band spectrum, which drive an animated page in its window. Its tray
icon moves with the music too; it shows the track that is playing and exports
what it draws as a video.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# Library dependencies come from dpkg-shlibdeps; what is only loaded at run time is named here: without
# Mesa's drivers WebKit's web process aborts, even where it draws on the CPU.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse")
# WebKit's encoders need them to export H.264 and AAC.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "gstreamer1.0-plugins-ugly, gstreamer1.0-plugins-bad, gstreamer1.0-libav")
include(CPack)
