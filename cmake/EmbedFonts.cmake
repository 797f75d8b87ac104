# Turns the two PSF1 console fonts into a C++ source with two byte arrays.
set(KOVRIN_FONT_DIR "/usr/share/consolefonts" CACHE PATH "Folder holding Lat15-VGA8.psf.gz and Lat15-VGA16.psf.gz")
set(KOVRIN_FONT_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/generated/fonts_data.cpp)
add_custom_command(
  OUTPUT ${KOVRIN_FONT_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DFONT_DIR=${KOVRIN_FONT_DIR} -DOUT=${KOVRIN_FONT_SOURCE}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/GenerateFonts.cmake
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/cmake/GenerateFonts.cmake
  COMMENT "Embedding the VGA console fonts")
