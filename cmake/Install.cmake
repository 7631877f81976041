# cmake --install: everything into PREFIX/bin, side by side, since the runner
# and the validator look for the plug-in and the replacement host beside
# themselves. Component "plugin" is the plug-in alone (Tervolin.dll or
# Tervolin.so); component "tools" adds the runner, the validator and the
# host libraries they load.
# The plug-in file alone (no import library: nothing links against it), as a
# target so that `cmake --install --strip` strips it.
install(TARGETS Tervolin
        RUNTIME DESTINATION bin COMPONENT plugin
        LIBRARY DESTINATION bin COMPONENT plugin
        ARCHIVE DESTINATION lib COMPONENT plugin EXCLUDE_FROM_ALL)
set(TERVOLIN_INSTALLED_TOOLS tervolin-run tervolin-validate mqhost mqhost_incomplete)
install(TARGETS ${TERVOLIN_INSTALLED_TOOLS}
        RUNTIME DESTINATION bin COMPONENT tools
        LIBRARY DESTINATION bin COMPONENT tools
        ARCHIVE DESTINATION lib COMPONENT tools EXCLUDE_FROM_ALL)
if(NOT WIN32)
  set_target_properties(${TERVOLIN_INSTALLED_TOOLS} PROPERTIES INSTALL_RPATH "$ORIGIN")
endif()
