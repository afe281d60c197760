# Third-party libraries, all from Debian 12 packages (scripts/install-deps.sh).
set(_qt_components Core Gui Test LinguistTools)
if(FOLIVOX_BUILD_GUI)
  list(APPEND _qt_components Widgets WebEngineWidgets)
endif()
find_package(Qt6 6.4 REQUIRED COMPONENTS ${_qt_components})

find_package(PkgConfig REQUIRED)
pkg_check_modules(PUGIXML REQUIRED IMPORTED_TARGET pugixml)
# libwebp: page pictures that are lighter than JPEG (text lossless, photographs lossy).
pkg_check_modules(WEBP REQUIRED IMPORTED_TARGET libwebp)
find_package(LibXml2 REQUIRED)
find_package(ZLIB REQUIRED)

# libturbojpeg (TurboJPEG API).
find_path(TURBOJPEG_INCLUDE_DIR turbojpeg.h REQUIRED)
find_library(TURBOJPEG_LIBRARY turbojpeg REQUIRED)
add_library(folivox_turbojpeg INTERFACE)
target_include_directories(folivox_turbojpeg INTERFACE ${TURBOJPEG_INCLUDE_DIR})
target_link_libraries(folivox_turbojpeg INTERFACE ${TURBOJPEG_LIBRARY})

# MuPDF is a static library on Debian; it needs its companions spelled out.
find_path(MUPDF_INCLUDE_DIR mupdf/fitz.h REQUIRED)
find_library(MUPDF_LIBRARY mupdf REQUIRED)
find_library(MUPDF_THIRD_LIBRARY mupdf-third REQUIRED)
add_library(folivox_mupdf INTERFACE)
target_include_directories(folivox_mupdf INTERFACE ${MUPDF_INCLUDE_DIR})
target_link_libraries(folivox_mupdf INTERFACE
  ${MUPDF_LIBRARY} ${MUPDF_THIRD_LIBRARY} mujs gumbo openjp2 jbig2dec jpeg z m freetype harfbuzz)
