# The Debian package of the window and the command line, built by `make package` into
# build/package/. Included from the top level, where CPack must be set up.
set(LUMISK_MAINTAINER "Varnok <support@varnok.com>")
set(LUMISK_HOMEPAGE https://www.varnok.com/lumisk/)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumisk)
set(CPACK_PACKAGE_VENDOR Varnok)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_SOURCE_DIR}/build/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${LUMISK_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${LUMISK_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The browser for an adapter's web page, and Arial's metrics for the dialogs' layout.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-liberation, gvfs-backends, gvfs-fuse")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "find and set up Velnora network storage adapters
Lumisk finds the Velnora network storage adapters on the LAN and sets them
up: their LAN settings (a static address or DHCP), their shares mapped to
drive letters, their web page and their language.
.
The package holds the window, lumisk, and the command line for scripts,
lumisk-cli.")
include(CPack)
