# Libraries from Debian: installed packages on the host, and for the Windows build the
# sources of the same packages, fetched into the build tree by scripts/fetch-source.sh.

if(WIN32)
  if(NOT VQ_PUGIXML_SOURCE_DIR OR NOT EXISTS "${VQ_PUGIXML_SOURCE_DIR}/src/pugixml.cpp")
    message(FATAL_ERROR "Set VQ_PUGIXML_SOURCE_DIR to the unpacked pugixml source "
                        "(scripts/fetch-source.sh pugixml DIR)")
  endif()
  add_library(vq_pugixml STATIC "${VQ_PUGIXML_SOURCE_DIR}/src/pugixml.cpp")
  target_include_directories(vq_pugixml SYSTEM PUBLIC "${VQ_PUGIXML_SOURCE_DIR}/src")
  # Their code, their warnings: ours alone are errors.
  target_compile_options(vq_pugixml PRIVATE -w)
else()
  find_package(pugixml REQUIRED)
  add_library(vq_pugixml INTERFACE)
  target_link_libraries(vq_pugixml INTERFACE pugixml::pugixml)
endif()
