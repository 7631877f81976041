# The release's version, from the project's (the one source of it):
#   TERVOLIN_VERSION_TEXT   the name users see: major.minor, then the third
#                           number as a letter, so 1.0.2 is "1.0b" (as the
#                           plug-in names itself) and 1.0.0 is "1.0"
#   TERVOLIN_FILE_VERSION   Windows' four-part file version, "1.0.2.0"
# and tervolin_version_resource(), which gives a shipped Windows binary a
# version resource made from them, and a link map.
set(TERVOLIN_VERSION_LETTERS abcdefghijklmnopqrstuvwxyz)
if(PROJECT_VERSION_PATCH GREATER 26)
  message(FATAL_ERROR "the third version number ${PROJECT_VERSION_PATCH} has no letter")
endif()
set(TERVOLIN_VERSION_TEXT ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
if(PROJECT_VERSION_PATCH GREATER 0)
  math(EXPR letter_index "${PROJECT_VERSION_PATCH} - 1")
  string(SUBSTRING ${TERVOLIN_VERSION_LETTERS} ${letter_index} 1 letter)
  string(APPEND TERVOLIN_VERSION_TEXT ${letter})
endif()
set(TERVOLIN_FILE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
# For the release script's archive names and the manual.
file(WRITE ${CMAKE_BINARY_DIR}/tervolin-version.txt "${TERVOLIN_VERSION_TEXT}\n")
file(WRITE ${CMAKE_BINARY_DIR}/tervolin-file-version.txt "${TERVOLIN_FILE_VERSION}\n")
set(TERVOLIN_COMPANY "the Tervolin team")
# The holder and year of the plug-in's own about string.
set(TERVOLIN_COPYRIGHT "Copyright(C) 2026, the Tervolin team")

# A VERSIONINFO resource for `target` (a DLL or a program), with its
# description and the file name it is built as. Elsewhere than Windows, nothing.
function(tervolin_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(TERVOLIN_RC_FILE_TYPE VFT_APP)
    set(suffix ${CMAKE_EXECUTABLE_SUFFIX})
  else()
    set(TERVOLIN_RC_FILE_TYPE VFT_DLL)
    set(suffix ${CMAKE_SHARED_LIBRARY_SUFFIX})
  endif()
  get_target_property(output_name ${target} OUTPUT_NAME)
  if(NOT output_name)
    set(output_name ${target})
  endif()
  set(TERVOLIN_RC_DESCRIPTION "${description}")
  set(TERVOLIN_RC_INTERNAL_NAME ${output_name})
  set(TERVOLIN_RC_ORIGINAL_FILENAME ${output_name}${suffix})
  string(REPLACE "." "," TERVOLIN_RC_FILE_VERSION_LIST ${TERVOLIN_FILE_VERSION})
  set(rc ${CMAKE_BINARY_DIR}/version/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  # The linker's map of what went into the binary: THIRD-PARTY-NOTICES is
  # derived from it (tools/release/third_party_notices.py).
  target_link_options(${target} PRIVATE -Wl,-Map=${CMAKE_BINARY_DIR}/maps/${output_name}${suffix}.map)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/maps)
endfunction()
