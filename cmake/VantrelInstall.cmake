# What `cmake --install` puts under the prefix: the program, its man page, the JSON Schema
# of the resource list, a CMake package for plug-in builds (find_package(vantrel)), and the
# README and licence.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VANTREL_PACKAGE_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/cmake/vantrel")
set(VANTREL_SCHEMA_INSTALL_FILE "${CMAKE_INSTALL_DATADIR}/vantrel/vantrel-resources.schema.json")

# The same name as the installed package's target, for builds that add this tree directly.
add_executable(vantrel::vantrel ALIAS vantrel)

install(TARGETS vantrel EXPORT vantrelTargets RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES "${PROJECT_SOURCE_DIR}/man/vantrel.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${PROJECT_SOURCE_DIR}/schema/vantrel-resources.schema.json"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/vantrel")

install(FILES "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/LICENSE"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}")

# The examples the README and the man page point to.
install(DIRECTORY "${PROJECT_SOURCE_DIR}/examples/"
  DESTINATION "${CMAKE_INSTALL_DATADIR}/vantrel/examples")
install(EXPORT vantrelTargets NAMESPACE vantrel:: DESTINATION "${VANTREL_PACKAGE_INSTALL_DIR}")
configure_package_config_file("${PROJECT_SOURCE_DIR}/cmake/vantrelConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/vantrelConfig.cmake"
  INSTALL_DESTINATION "${VANTREL_PACKAGE_INSTALL_DIR}"
  PATH_VARS VANTREL_SCHEMA_INSTALL_FILE)
# A build tool runs on the build machine: a 64-bit program serves 32-bit plug-in builds too.
write_basic_package_version_file("${PROJECT_BINARY_DIR}/vantrelConfigVersion.cmake"
  COMPATIBILITY SameMajorVersion ARCH_INDEPENDENT)
install(FILES
  "${PROJECT_BINARY_DIR}/vantrelConfig.cmake"
  "${PROJECT_BINARY_DIR}/vantrelConfigVersion.cmake"
  "${PROJECT_SOURCE_DIR}/cmake/VantrelCheckPlugin.cmake"
  "${PROJECT_SOURCE_DIR}/cmake/VantrelResources.cmake"
  "${PROJECT_SOURCE_DIR}/cmake/VantrelUpdateOutputs.cmake"
  "${PROJECT_SOURCE_DIR}/cmake/VantrelDepfile.cmake"
  "${PROJECT_SOURCE_DIR}/cmake/VantrelMissingOutputs.cmake"
  DESTINATION "${VANTREL_PACKAGE_INSTALL_DIR}")
