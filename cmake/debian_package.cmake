# The Debian package, made from a Release build with
#   cpack -G DEB --config build/CPackConfig.cmake
# which writes ovelsk_VERSION_ARCH.deb. Its library dependencies come from
# dpkg-shlibdeps (package dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ovelsk)
set(CPACK_PACKAGE_VENDOR "The Ovelsk developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion for an APRS iGate: keeps its Internet-to-RF list")
set(CPACK_PACKAGE_DESCRIPTION "Ovelsk takes the position beacons heard from radio and from the \
APRS-IS Internet stream, keeps the stations within a range of home, and writes those heard \
through the Internet but not on radio into the iGate's igate.ini, so the gateway passes their \
traffic to radio. A radar shows the tracked stations. It brings its own host, with APRS-IS and \
KISS-over-TCP (Direwolf) feeds, and runs with a window or as a systemd user service.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Ovelsk developers")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS direwolf)
include(CPack)
