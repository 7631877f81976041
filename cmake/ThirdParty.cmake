# Libraries for the replacement host, the tools and the tests. The plug-in
# itself uses none of them.
#
# Natively they come from Debian's packages. The Windows build uses the
# header-only ones through a folder of links to their headers (adding all of
# /usr/include to a cross build would pull in the host's C library), builds
# GoogleTest from Debian's sources and pugixml from its Debian source package,
# unpacked by tools/ci/fetch-pugixml.sh.

if(CMAKE_CROSSCOMPILING AND WIN32)
  set(_shim ${CMAKE_BINARY_DIR}/third_party/include)
  file(MAKE_DIRECTORY ${_shim})
  foreach(_entry nlohmann CLI tiny_obj_loader.h)
    if(EXISTS /usr/include/${_entry} AND NOT EXISTS ${_shim}/${_entry})
      file(CREATE_LINK /usr/include/${_entry} ${_shim}/${_entry} SYMBOLIC)
    endif()
  endforeach()
  add_library(tervolin_header_libs INTERFACE)
  target_include_directories(tervolin_header_libs SYSTEM INTERFACE ${_shim})

  set(PUGIXML_SOURCE_DIR "${CMAKE_SOURCE_DIR}/.deps/pugixml" CACHE PATH "pugixml sources for the Windows build")
  if(NOT EXISTS ${PUGIXML_SOURCE_DIR}/src/pugixml.cpp)
    message(FATAL_ERROR "pugixml sources not found in ${PUGIXML_SOURCE_DIR}; run tools/ci/fetch-pugixml.sh")
  endif()
  add_library(pugixml STATIC ${PUGIXML_SOURCE_DIR}/src/pugixml.cpp)
  target_include_directories(pugixml SYSTEM PUBLIC ${PUGIXML_SOURCE_DIR}/src)
  add_library(pugixml::pugixml ALIAS pugixml)

  add_library(nlohmann_json::nlohmann_json ALIAS tervolin_header_libs)
  add_library(CLI11::CLI11 ALIAS tervolin_header_libs)
  add_library(tinyobjloader_headers ALIAS tervolin_header_libs)

  if(TERVOLIN_TESTS)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  endif()
else()
  find_package(nlohmann_json 3 REQUIRED)
  find_package(pugixml REQUIRED)
  find_package(CLI11 REQUIRED)
  add_library(tinyobjloader_headers INTERFACE)
  if(TERVOLIN_TESTS)
    find_package(GTest REQUIRED)
  endif()
endif()
