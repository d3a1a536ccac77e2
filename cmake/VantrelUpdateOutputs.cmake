# cmake -P VantrelUpdateOutputs.cmake -- <staged> <output> [<staged> <output>...]
#
# Puts what vantrel wrote to the staged files in place of the outputs. A staged file whose
# bytes differ from its output's is renamed over it, in one step, so that the output is
# never half written; one with the same bytes is dropped, and the output keeps its time
# stamp, so that a build which looks at the outputs again after the command (Ninja's
# restat) rebuilds nothing that uses it. vantrel writes no file for an output it has
# nothing to put in (no "define", no Illustrator PiPL, no file resources): that output is
# made empty, rather than keeping what an earlier list put there.
set(pairs)
set(after_separator FALSE)
math(EXPR last_argument "${CMAKE_ARGC} - 1")
foreach(index RANGE ${last_argument})
  if(after_separator)
    list(APPEND pairs "${CMAKE_ARGV${index}}")
  elseif(CMAKE_ARGV${index} STREQUAL "--")
    set(after_separator TRUE)
  endif()
endforeach()

list(LENGTH pairs count)
while(count GREATER 1)
  list(POP_FRONT pairs staged output)
  math(EXPR count "${count} - 2")
  if(EXISTS "${staged}")
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${staged}" "${output}"
                    RESULT_VARIABLE differs OUTPUT_QUIET ERROR_QUIET)
    if(differs)
      file(RENAME "${staged}" "${output}")
    else()
      file(REMOVE "${staged}")
    endif()
  elseif(NOT EXISTS "${output}")
    file(WRITE "${output}" "")
  else()
    file(SIZE "${output}" size)
    if(size GREATER 0)
      file(WRITE "${output}" "")
    endif()
  endif()
endwhile()
