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

  if(NOT VQ_PORTABLE_ONLY)
    # SQLite's amalgamation, made from Debian's sqlite3 source by scripts/build-windows.sh.
    if(NOT VQ_SQLITE_SOURCE_DIR OR NOT EXISTS "${VQ_SQLITE_SOURCE_DIR}/sqlite3.c")
      message(FATAL_ERROR "Set VQ_SQLITE_SOURCE_DIR to a directory with sqlite3.c and sqlite3.h")
    endif()
    add_library(vq_sqlite3 STATIC "${VQ_SQLITE_SOURCE_DIR}/sqlite3.c")
    target_include_directories(vq_sqlite3 SYSTEM PUBLIC "${VQ_SQLITE_SOURCE_DIR}")
    target_compile_options(vq_sqlite3 PRIVATE -w)
    # find_package(SQLite3) then finds this library and keeps its target.
    add_library(SQLite::SQLite3 ALIAS vq_sqlite3)
    set(SQLite3_INCLUDE_DIR "${VQ_SQLITE_SOURCE_DIR}" CACHE PATH "" FORCE)
    set(SQLite3_LIBRARY vq_sqlite3 CACHE STRING "" FORCE)
  endif()
else()
  find_package(pugixml REQUIRED)
  add_library(vq_pugixml INTERFACE)
  target_link_libraries(vq_pugixml INTERFACE pugixml::pugixml)
endif()
