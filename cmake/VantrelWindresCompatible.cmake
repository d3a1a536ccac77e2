# cmake -DINPUT=<.rc> -DOUTPUT=<.rc> -P VantrelWindresCompatible.cmake
#
# Writes a copy of a resource script that GNU windres compiles to the same resources.
# windres joins adjacent quoted strings even across lines, so the name-keyed line that
# follows a file line ("tool" PNGI "images/tool.png" after 10000 PNGI "images/tool.png")
# would extend the file name. A LANGUAGE statement with windres's default language before
# every line that begins with a quote keeps the lines apart and changes no resource.
# A copy that would not change is left alone, keeping its time stamp; a new one replaces
# the old in one step.
file(READ "${INPUT}" text)
string(REGEX REPLACE "\n\"" "\nLANGUAGE 9, 1\n\"" text "${text}")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
  if(previous STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}.vantrel-new" "${text}")
file(RENAME "${OUTPUT}.vantrel-new" "${OUTPUT}")
