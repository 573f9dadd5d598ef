# Debian packages of the three install components (./qv package).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qvuser)
set(CPACK_PACKAGE_VENDOR "Harbrane")
set(CPACK_PACKAGE_CONTACT "QVUser developers <qvuser@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Data views user interface for document hosts")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development demo)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The dependencies on other packages are read off the binaries; our own
# libraries are the runtime package's, which the others depend on by name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libqvuser${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "QVUser libraries and their 1033 resources")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libqvuser-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "qt6-base-dev")
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "QVUser headers, CMake package and pkg-config file")

set(CPACK_DEBIAN_DEMO_PACKAGE_NAME qvdemo)
set(CPACK_DEBIAN_DEMO_PACKAGE_SECTION editors)
set(CPACK_COMPONENT_DEMO_DEPENDS runtime)
set(CPACK_COMPONENT_DEMO_DESCRIPTION "QVUser demo editor, sample data generator and the host process qvhostd")

# dpkg-shlibdeps runs in each package's staging folder and finds our own
# libraries among the staged runtime files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
  "usr/${CMAKE_INSTALL_LIBDIR};../runtime/usr/${CMAKE_INSTALL_LIBDIR}")
include(CPack)
