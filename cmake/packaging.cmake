# The Debian package of the installed program (cmake/install.cmake): `cpack` in the build
# folder, or scripts/quantorium.sh package, writes packaging/quantorium_VERSION_ARCH.deb there.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quantorium)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR KX)
set(CPACK_PACKAGE_CONTACT "KX <kx.quantorium@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "graphs, surfaces and a calculator in any number base")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${PROJECT_SOURCE_DIR}/packaging/description.txt)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Everything installed by default, and the files only the Debian package has a use for.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/"
                                 "${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Russian in the toolkit's own dialogs, and the fonts the pictures and printouts are made with.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-dejavu-core, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
