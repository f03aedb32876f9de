# The Debian package, made from a Release build with
#   cpack -G DEB --config build/CPackConfig.cmake
# which writes ovelsk_VERSION_ARCH.deb. Its library dependencies come from
# dpkg-shlibdeps (package dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ovelsk)
set(CPACK_PACKAGE_VENDOR "The Ovelsk developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "companion for an APRS iGate: keeps its Internet-to-RF list")
# Wrapped by hand: the package's control file keeps the lines as they are here.
set(CPACK_PACKAGE_DESCRIPTION "Ovelsk takes the position beacons heard on radio and through the APRS-IS
Internet stream, keeps the stations within a range of home, and writes those
heard through the Internet but not on radio lately into the iGate's igate.ini,
so their traffic is passed from the Internet to radio. A radar shows the
tracked stations.

It brings its own host, with APRS-IS and KISS TNC feeds (Direwolf over TCP, or
a hardware TNC on a serial port), and gateways in both directions, from the
Internet to radio and from radio to the Internet, each off until switched on.
It runs with a window or as a systemd user service.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Ovelsk developers <${OVELSK_MAINTAINER_EMAIL}>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${OVELSK_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS direwolf)
include(CPack)
