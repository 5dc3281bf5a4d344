# The Debian package: `cpack -G DEB` (or the `package` target) in a Release
# build makes mevra_<version>_<arch>.deb from the install rules.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mevra)
set(CPACK_PACKAGE_VENDOR "The MEVRA developers")
set(MEVRA_PACKAGE_MAINTAINER "The MEVRA developers <mevra@users.noreply.github.com>"
  CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT ${MEVRA_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_HOMEPAGE_URL ${MEVRA_HOMEPAGE})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "colour reducer and converter for palette images and game textures")
set(CPACK_PACKAGE_DESCRIPTION [=[
MEVRA reduces images to 2 to 256 colours with an exact colour census,
clustering under four priority modes and an optional ordered or
error-diffusion dither, and can keep a transparent key colour out of the
reduction.

It edits pixels and palettes, rotates, mirrors, converts colours, trims and
scales, and loads and saves BMP, PNG, TGA, DDS (uncompressed and
block-compressed), JPEG, TIFF and GIF. A batch dialog converts lists of files,
and an AVI player steps through videos and re-encodes them.

The package holds the Qt desktop program mevra and the headless mevra-cli,
which runs the same conversions from scripts and pipes.]=])

set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps turns the libraries the programs link into Depends. FFmpeg is
# loaded at run time (for the AVI commands), so its libraries are named here,
# by the major versions the programs were built against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
foreach(library avformat avcodec swscale avutil)
  string(TOUPPER ${library} prefix)
  string(REGEX MATCH "^[0-9]+" major "${${prefix}_VERSION}")
  list(APPEND MEVRA_FFMPEG_PACKAGES "lib${library}${major}")
endforeach()
string(REPLACE ";" ", " CPACK_DEBIAN_PACKAGE_DEPENDS "${MEVRA_FFMPEG_PACKAGES}")
# Qt's own dialogs speak the desktop's language only with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
