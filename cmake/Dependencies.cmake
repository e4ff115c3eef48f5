# Imported targets for the static dependencies cross-built by tools/setup.sh.
function(vistello_dep name lib)
  add_library(dep::${name} STATIC IMPORTED GLOBAL)
  set_target_properties(dep::${name} PROPERTIES
    IMPORTED_LOCATION ${VISTELLO_DEPS}/lib/${lib}
    INTERFACE_INCLUDE_DIRECTORIES ${VISTELLO_DEPS}/include
    INTERFACE_LINK_LIBRARIES "${ARGN}")
endfunction()

vistello_dep(zlib libz.a)
vistello_dep(png libpng16.a dep::zlib)
vistello_dep(jpeg libjpeg.a)
vistello_dep(expat libexpatw.a)
vistello_dep(lzma liblzma.a)
vistello_dep(pixman libpixman-1.a)
vistello_dep(cairo libcairo.a dep::pixman gdi32 msimg32 ssp)
set_property(TARGET dep::expat APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS XML_STATIC XML_UNICODE_WCHAR_T XML_UNICODE)
set_property(TARGET dep::lzma APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS LZMA_API_STATIC)
set_property(TARGET dep::cairo APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS CAIRO_WIN32_STATIC_BUILD)
set_property(TARGET dep::cairo APPEND PROPERTY INTERFACE_INCLUDE_DIRECTORIES ${VISTELLO_DEPS}/include/cairo)
set_property(TARGET dep::pixman APPEND PROPERTY INTERFACE_INCLUDE_DIRECTORIES ${VISTELLO_DEPS}/include/pixman-1)
