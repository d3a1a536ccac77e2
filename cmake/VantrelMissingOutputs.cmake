# cmake -DSTAMP=<stamp> -P VantrelMissingOutputs.cmake -- <output>...
#
# Removes the stamp of vantrel's command when one of its outputs is missing, so that a
# Make build, which does not look at the command's by-products, runs the command again.
math(EXPR last_argument "${CMAKE_ARGC} - 1")
set(after_separator FALSE)
foreach(index RANGE ${last_argument})
  if(after_separator AND NOT EXISTS "${CMAKE_ARGV${index}}")
    file(REMOVE "${STAMP}")
    return()
  elseif(CMAKE_ARGV${index} STREQUAL "--")
    set(after_separator TRUE)
  endif()
endforeach()
