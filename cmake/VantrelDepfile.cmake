# cmake -DINPUT=<vantrel's depfile> -DOUTPUT=<depfile> -DTARGET=<stamp> -DBASE=<folder>
#       -P VantrelDepfile.cmake
#
# Writes the depfile the build reads from the one vantrel wrote. vantrel names the files
# as the list does, relative to the folder it ran in (BASE); the build reads relative
# paths against the binary folder, and its targets must be the command's own output
# (TARGET). So the targets become TARGET, and each relative path gets BASE in front,
# escaped as vantrel escapes paths: a blank or tab after its backslashes doubled and one
# more, `#` after a backslash, `$` doubled. The text is never split as a CMake list: a
# path may hold `;`.
#
# Ninja's depfile reader ends a path at characters it has no escape for (`;`, `'`, `&`,
# `*`, `?`, `<`, `>`, `|`, `^`, a backquote), and Make reads `;` as the start of a recipe.
# Such a file is named through a symbolic link of a plain name beside OUTPUT instead: both
# tools take the time stamp of the file a link points to.

# <path> as one Makefile word.
function(__vantrel_make_word out_var path)
  string(REGEX REPLACE "(\\\\*)([ \t])" "\\1\\1\\\\\\2" word "${path}")
  string(REPLACE "#" "\\#" word "${word}")
  string(REPLACE "$" "$$" word "${word}")
  set(${out_var} "${word}" PARENT_SCOPE)
endfunction()

# <word> with BASE in front unless it is absolute. Escaping changes no leading `/`,
# backslash or drive letter.
function(__vantrel_based out_var word)
  if(word MATCHES "^(/|[A-Za-z]:[/\\\\])" OR (WIN32 AND word MATCHES "^\\\\[^ \t#]"))
    set(${out_var} "${word}" PARENT_SCOPE)
  else()
    set(${out_var} "${base_word}/${word}" PARENT_SCOPE)
  endif()
endfunction()

# <word>, or when the build tools cannot read it, a link of a plain name to its file.
function(__vantrel_readable out_var word)
  if(NOT word MATCHES "[;'&*?<>|^`]")
    set(${out_var} "${word}" PARENT_SCOPE)
    return()
  endif()
  string(REPLACE "$$" "$" path "${word}")
  string(REGEX REPLACE "\\\\([ \t#])" "\\1" path "${path}")
  # Named by the path, so that a build tool that still remembers a link finds it again.
  string(SHA1 link_name "${path}")
  set(link "${OUTPUT}.links/${link_name}")
  file(REMOVE "${link}")
  file(CREATE_LINK "${path}" "${link}" RESULT failure SYMBOLIC)
  if(failure)
    message(FATAL_ERROR "vantrel: the build cannot follow \"${path}\": its name holds a "
                        "character that depfiles cannot carry, and a link to it failed "
                        "(${failure}); rename the file")
  endif()
  __vantrel_make_word(link_word "${link}")
  set(${out_var} "${link_word}" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY "${OUTPUT}.links")
__vantrel_make_word(base_word "${BASE}")
__vantrel_make_word(target_word "${TARGET}")
file(READ "${INPUT}" text)
set(result "")
set(first_line TRUE)
while(NOT text STREQUAL "")
  string(FIND "${text}" "\n" end)
  if(end EQUAL -1)
    string(LENGTH "${text}" end)
  endif()
  string(SUBSTRING "${text}" 0 ${end} line)
  math(EXPR next "${end} + 1")
  string(SUBSTRING "${text}" ${next} -1 text)
  if(first_line)
    # "<targets>:" then, when the list names files, " \" and one prerequisite a line.
    string(REGEX MATCH ":( \\\\)?$" rest "${line}")
    string(APPEND result "${target_word}${rest}\n")
    set(first_line FALSE)
  elseif(line MATCHES "^  (.*)$")
    set(word "${CMAKE_MATCH_1}")
    string(REGEX MATCH " \\\\$" continued "${word}")
    string(REGEX REPLACE " \\\\$" "" word "${word}")
    __vantrel_based(word "${word}")
    __vantrel_readable(word "${word}")
    string(APPEND result "  ${word}${continued}\n")
  elseif(line STREQUAL "")
    string(APPEND result "\n")
  else()
    string(REGEX REPLACE ":$" "" word "${line}")
    __vantrel_based(word "${word}")
    __vantrel_readable(word "${word}")
    string(APPEND result "${word}:\n")
  endif()
endwhile()
file(WRITE "${OUTPUT}" "${result}")
