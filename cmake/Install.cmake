# cmake --install: everything into PREFIX/bin, side by side, since the runner
# and the validator look for the plug-in and the replacement host beside
# themselves. Component "plugin" is the plug-in alone (Tervolin.dll or
# Tervolin.so); component "tools" adds the runner, the validator and the
# host libraries they load.
# The plug-in file alone (no import library: nothing links against it).
install(FILES $<TARGET_FILE:Tervolin> DESTINATION bin COMPONENT plugin)
set(TERVOLIN_INSTALLED_TOOLS tervolin-run tervolin-validate mqhost mqhost_incomplete)
install(TARGETS ${TERVOLIN_INSTALLED_TOOLS}
        RUNTIME DESTINATION bin COMPONENT tools
        LIBRARY DESTINATION bin COMPONENT tools
        ARCHIVE DESTINATION lib COMPONENT tools EXCLUDE_FROM_ALL)
if(NOT WIN32)
  set_target_properties(${TERVOLIN_INSTALLED_TOOLS} PROPERTIES INSTALL_RPATH "$ORIGIN")
endif()
