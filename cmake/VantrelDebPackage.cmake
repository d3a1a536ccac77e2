# The Debian package of the installed files under /usr, written by `cpack -G DEB` in the
# native build folder (scripts/package): vantrel_<version>_<architecture>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "vantrel developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "generate plug-in resource sources (.r, .rc, IDtoFile.txt) from a JSON resource list")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# The libraries a dynamically linked program needs (none for the static one), by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
