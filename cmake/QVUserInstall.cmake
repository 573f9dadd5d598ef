# What `cmake --install` puts where, and the Debian packages CPack makes of it.
#   runtime      the libraries and share/qvuser/1033 (strings, help, tutorial)
#   development  include/qvuser, the CMake package QVUser and qvuser.pc
#   demo         the demo editor and its sample generator
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QV_LIBRARIES qvplatform qvplatformui qvconfig qvdata qvbiz qvuser)
foreach(library IN LISTS QV_LIBRARIES)
  # Each library finds the others beside it wherever the folder is moved.
  set_target_properties(${library} PROPERTIES
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR} INSTALL_RPATH "$ORIGIN")
  add_library(QVUser::${library} ALIAS ${library})
endforeach()

install(TARGETS ${QV_LIBRARIES} EXPORT QVUserTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/1033 DESTINATION ${CMAKE_INSTALL_DATADIR}/qvuser
  COMPONENT runtime)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/qvuser DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  COMPONENT development FILES_MATCHING PATTERN "*.h")

set(QV_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/QVUser)
install(EXPORT QVUserTargets NAMESPACE QVUser:: DESTINATION ${QV_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QVUserConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/QVUserConfig.cmake INSTALL_DESTINATION ${QV_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QVUserConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QVUserConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/QVUserConfigVersion.cmake
  DESTINATION ${QV_CMAKE_DIR} COMPONENT development)

# pkg-config: the prefix is found from the file's own place, so that a copy
# unpacked elsewhere (a scratch root) still answers its own folders.
file(RELATIVE_PATH QV_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
configure_file(${CMAKE_CURRENT_LIST_DIR}/qvuser.pc.in ${CMAKE_CURRENT_BINARY_DIR}/qvuser.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qvuser.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT development)

include(${CMAKE_CURRENT_LIST_DIR}/QVUserPackages.cmake)
