# Run after a plug-in links, by vantrel_add_resources(... CHECK):
#
#   cmake -DPROGRAM=<vantrel> -DMODULE=<module or bundle> -DBUILT=<linked file>
#         -P VantrelCheckPlugin.cmake
#
# `vantrel --inspect` reads the module back and checks that a host would load it. The
# resource list it prints has no place in a build log; its Error: lines reach the log as
# the tool wrote them. A plug-in that would not load fails the build, and its linked file
# is removed so that no later build takes it for up to date without checking it again.
execute_process(COMMAND "${PROGRAM}" --inspect "${MODULE}" OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status STREQUAL "0")
  file(REMOVE "${BUILT}")
  message(FATAL_ERROR "vantrel: ${MODULE} would not load as a plug-in (vantrel --inspect "
                      "ended with status ${status}); its linked file was removed")
endif()
