# vantrel_add_resources: runs vantrel as part of a plug-in's build.
#
#   vantrel_add_resources(<target> INPUT <resources.json> IDTOFILE <path>
#                         [MAC <path>] [WINDOWS <path>] [HEADER <path>] [PIPL <path>])
#
# INPUT is relative to the current source folder, the outputs to the current binary folder.
# The tool runs in the folder of INPUT, so the relative "file" paths of the list mean the
# same to it as to the person who wrote them. It runs again when the list or any file the
# list names changes: the tool itself only names those files, but the resource compilers
# embed them, so a fresh .rc / .r is what makes the next compile step pick up a new image.
# The header's folder goes on the target's include path and, on Windows, the .rc is
# compiled into the target. Call it in the folder that creates <target>.

include_guard(GLOBAL)

if(CMAKE_VERSION VERSION_LESS 3.19)
  message(FATAL_ERROR "vantrel_add_resources needs CMake 3.19 or later (string(JSON))")
endif()

# Sets <out_var> to the absolute paths of the "file" members of the list in <input>,
# resolved against <base_dir>. The member names are tried in the tool's order ("file",
# "File", "FILE"); entries the tool would refuse are skipped here and refused by the
# tool at build time. A list CMake cannot parse yields no files and a warning.
function(__vantrel_listed_files out_var input base_dir)
  set(files)
  file(READ "${input}" text)
  string(JSON root_type ERROR_VARIABLE error TYPE "${text}")
  if(error OR NOT root_type STREQUAL "ARRAY")
    message(WARNING "vantrel: cannot read the file list of ${input}; "
                    "only changes to the list itself will re-run vantrel")
    set(${out_var} "" PARENT_SCOPE)
    return()
  endif()
  string(JSON count LENGTH "${text}")
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(index RANGE ${last})
      foreach(key file File FILE)
        string(JSON member_type ERROR_VARIABLE error TYPE "${text}" ${index} ${key})
        if(error)
          continue()
        endif()
        if(member_type STREQUAL "STRING")
          string(JSON path GET "${text}" ${index} ${key})
          if(NOT path STREQUAL "")
            get_filename_component(path "${path}" ABSOLUTE BASE_DIR "${base_dir}")
            list(APPEND files "${path}")
          endif()
        endif()
        break()
      endforeach()
    endforeach()
  endif()
  list(REMOVE_DUPLICATES files)
  set(${out_var} "${files}" PARENT_SCOPE)
endfunction()

function(vantrel_add_resources target)
  set(output_keywords IDTOFILE MAC WINDOWS HEADER PIPL)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "INPUT;${output_keywords}" "")
  if(NOT TARGET ${target})
    message(FATAL_ERROR "vantrel_add_resources: no target named ${target}")
  endif()
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "vantrel_add_resources: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_INPUT)
    message(FATAL_ERROR "vantrel_add_resources: INPUT <resources.json> is required")
  endif()
  if(NOT arg_IDTOFILE OR (NOT arg_MAC AND NOT arg_WINDOWS))
    message(FATAL_ERROR "vantrel_add_resources: IDTOFILE and at least one of MAC or "
                        "WINDOWS are required")
  endif()
  if(NOT TARGET vantrel::vantrel)
    message(FATAL_ERROR "vantrel_add_resources: the vantrel::vantrel program target is "
                        "missing; call find_package(vantrel) first")
  endif()

  get_filename_component(input "${arg_INPUT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  get_filename_component(input_dir "${input}" DIRECTORY)

  # Absolute output paths: the tool runs in the list's folder, not in the build folder.
  set(option_IDTOFILE --adobe)
  set(option_MAC --mac)
  set(option_WINDOWS --windows)
  set(option_HEADER --header)
  set(option_PIPL --pipl)
  set(tool_arguments --input "${input}")
  set(outputs)
  foreach(keyword ${output_keywords})
    if(arg_${keyword})
      get_filename_component(path_${keyword} "${arg_${keyword}}" ABSOLUTE
                             BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
      list(APPEND tool_arguments ${option_${keyword}} "${path_${keyword}}")
      list(APPEND outputs "${path_${keyword}}")
      # The tool does not create folders.
      get_filename_component(output_dir "${path_${keyword}}" DIRECTORY)
      file(MAKE_DIRECTORY "${output_dir}")
    endif()
  endforeach()

  __vantrel_listed_files(listed_files "${input}" "${input_dir}")
  # A changed list may name other files: configure again to read it anew.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${input}")

  # The tool leaves an output unwritten when it has nothing to put in it (no PiPL, no
  # "define"): removing the old outputs first and creating the missing ones afterwards
  # keeps stale content out and lets the build see every output as up to date.
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND "${CMAKE_COMMAND}" -E rm -f ${outputs}
    COMMAND vantrel::vantrel ${tool_arguments}
    COMMAND "${CMAKE_COMMAND}" -E touch ${outputs}
    DEPENDS "${input}" ${listed_files} "$<TARGET_FILE:vantrel::vantrel>"
    WORKING_DIRECTORY "${input_dir}"
    COMMENT "vantrel: generating the resources of ${target} from ${arg_INPUT}"
    VERBATIM)

  # Every output is a source of the target so the command runs before the target builds;
  # only the .rc is compiled, and only when the target is built for Windows.
  target_sources(${target} PRIVATE ${outputs})
  foreach(output ${outputs})
    if(NOT (WIN32 AND output STREQUAL path_WINDOWS))
      set_source_files_properties("${output}" PROPERTIES HEADER_FILE_ONLY TRUE)
    endif()
  endforeach()
  if(WIN32 AND arg_WINDOWS)
    # The .rc names files relative to the list's folder; resource compilers search the
    # include path for them.
    set_property(SOURCE "${path_WINDOWS}" APPEND PROPERTY INCLUDE_DIRECTORIES "${input_dir}")
  endif()
  if(arg_HEADER)
    get_filename_component(header_dir "${path_HEADER}" DIRECTORY)
    target_include_directories(${target} PRIVATE "${header_dir}")
  endif()
endfunction()
