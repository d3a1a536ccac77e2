# vantrel_add_resources: runs vantrel as part of a plug-in's build.
#
#   vantrel_add_resources(<target> INPUT <resources.json> IDTOFILE <path>
#                         [MAC <path>] [WINDOWS <path>] [HEADER <path>] [PIPL <path>]
#                         [NO_STRICT] [CHECK])
#
# INPUT is relative to the current source folder, the outputs to the current binary folder.
# The tool runs in the folder of INPUT, so the relative "file" paths of the list mean the
# same to it as to the person who wrote them. It runs again when the list or any file the
# list names changes. An output whose bytes stay the same keeps its time stamp, so that
# Ninja rebuilds nothing that uses it; the resource compilers embed the listed files, so the
# compiled .rc depends on them directly. The header's folder goes on the target's include
# path and, on Windows, the .rc is compiled into the target (for GNU windres, a copy it
# reads as intended). Call it in the folder that creates <target>.
#
# The tool runs with --strict: a misspelt member name, a JSON syntax error, two resources
# with one ID or a missing file fails the build with its line and column. NO_STRICT runs
# it without, as lenient as the tool is by default. A listed file that does not exist
# (and is not generated in this folder) is named at configure time, with its entry.
# CHECK reads the linked module back with `vantrel --inspect` after every link (on Apple,
# the bundle when the target is one), and fails the build with the check's Error: lines when
# a host would not load it: no PiPL, an unknown kind, an 'hstm' naming a missing aete, or an
# entry point the code does not export for its architecture. Plug-ins load on Windows and
# macOS only: for other systems CHECK does nothing.
# PIPL is the raw byte image of the Illustrator property lists only: Photoshop plug-ins
# have no part in it, and a list without an Illustrator PiPL leaves it empty (configure
# says so).

include_guard(GLOBAL)

set_property(GLOBAL PROPERTY __VANTREL_MODULE_DIR "${CMAKE_CURRENT_LIST_DIR}")

if(CMAKE_VERSION VERSION_LESS 3.19)
  message(FATAL_ERROR "vantrel_add_resources needs CMake 3.19 or later (string(JSON))")
endif()

# The first of the member's three names (<name>, <Name>, <NAME>) that entry <index> of the
# list in <text> holds, as the tool tries them; "" when it holds none.
function(__vantrel_entry_member out_var text index name)
  string(SUBSTRING "${name}" 0 1 first)
  string(SUBSTRING "${name}" 1 -1 rest)
  string(TOUPPER "${first}" first)
  string(TOUPPER "${name}" upper)
  foreach(key ${name} ${first}${rest} ${upper})
    string(JSON member_type ERROR_VARIABLE error TYPE "${text}" ${index} ${key})
    if(NOT error)
      set(${out_var} "${key}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out_var} "" PARENT_SCOPE)
endfunction()

# Sets <out_var> to the absolute paths of the "file" members of the list in <input>,
# resolved against <base_dir>, and <illustrator_var> to whether the list holds an
# Illustrator PiPL. The member names are tried in the tool's order ("file", "File",
# "FILE"); entries the tool would refuse are skipped here and refused by the tool at build
# time. A listed file that does not exist and is not generated in this folder is a
# configure error naming its entry. A list CMake cannot parse yields no files and a warning.
function(__vantrel_listed_files out_var illustrator_var input base_dir)
  set(files)
  set(missing)
  file(READ "${input}" text)
  string(JSON root_type ERROR_VARIABLE error TYPE "${text}")
  if(error OR NOT root_type STREQUAL "ARRAY")
    message(WARNING "vantrel: cannot read the file list of ${input}; "
                    "only changes to the list itself will re-run vantrel")
    set(${out_var} "" PARENT_SCOPE)
    set(${illustrator_var} TRUE PARENT_SCOPE)  # not known to lack one: no second warning
    return()
  endif()
  set(${illustrator_var} FALSE PARENT_SCOPE)
  string(JSON count LENGTH "${text}")
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(index RANGE ${last})
      __vantrel_entry_member(key "${text}" ${index} file)
      if(key)
        string(JSON member_type TYPE "${text}" ${index} ${key})
      endif()
      if(key AND member_type STREQUAL "STRING")
        string(JSON path GET "${text}" ${index} ${key})
        if(NOT path STREQUAL "")
          get_filename_component(absolute "${path}" ABSOLUTE BASE_DIR "${base_dir}")
          list(APPEND files "${absolute}")
          get_source_file_property(generated "${absolute}" GENERATED)
          if(NOT EXISTS "${absolute}" AND NOT generated)
            string(APPEND missing "\n  entry ${index}: ${path} (${absolute})")
          endif()
        endif()
      endif()
      __vantrel_entry_member(type_key "${text}" ${index} type)
      __vantrel_entry_member(data_key "${text}" ${index} data)
      if(type_key AND data_key)
        string(JSON type ERROR_VARIABLE error GET "${text}" ${index} ${type_key})
        string(JSON plugin_type ERROR_VARIABLE error GET "${text}" ${index} ${data_key} PluginType)
        if(type STREQUAL "PiPL" AND plugin_type STREQUAL "Illustrator")
          set(${illustrator_var} TRUE PARENT_SCOPE)
        endif()
      endif()
    endforeach()
  endif()
  if(missing)
    message(SEND_ERROR "vantrel: ${input} names files that do not exist:${missing}")
  endif()
  list(REMOVE_DUPLICATES files)
  set(${out_var} "${files}" PARENT_SCOPE)
endfunction()

# Runs the load checks on <target>'s linked module after each link (VantrelCheckPlugin.cmake).
function(__vantrel_add_load_check target)
  if(NOT WIN32 AND NOT APPLE)
    message(STATUS "vantrel: CHECK of ${target} skipped: hosts load plug-ins built for "
                   "Windows and macOS only")
    return()
  endif()
  set(module "$<TARGET_FILE:${target}>")
  get_target_property(is_bundle ${target} BUNDLE)
  if(APPLE AND is_bundle)
    set(module "$<TARGET_BUNDLE_DIR:${target}>")
  endif()
  get_property(module_dir GLOBAL PROPERTY __VANTREL_MODULE_DIR)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND "${CMAKE_COMMAND}" "-DPROGRAM=$<TARGET_FILE:vantrel::vantrel>" "-DMODULE=${module}"
            "-DBUILT=$<TARGET_FILE:${target}>" -P "${module_dir}/VantrelCheckPlugin.cmake"
    COMMENT "vantrel: checking that ${target} would load as a plug-in"
    VERBATIM)
endfunction()

function(vantrel_add_resources target)
  set(output_keywords IDTOFILE MAC WINDOWS HEADER PIPL)
  cmake_parse_arguments(PARSE_ARGV 1 arg "NO_STRICT;CHECK" "INPUT;${output_keywords}" "")
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
  # The tool writes each output to a staged file beside it (see VantrelUpdateOutputs.cmake).
  set(tool_arguments --input "${input}")
  if(NOT arg_NO_STRICT)
    list(PREPEND tool_arguments --strict)
  endif()
  set(outputs)
  set(staged_files)
  set(update_arguments)
  foreach(keyword ${output_keywords})
    if(arg_${keyword})
      get_filename_component(path_${keyword} "${arg_${keyword}}" ABSOLUTE
                             BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
      get_filename_component(output_dir "${path_${keyword}}" DIRECTORY)
      get_filename_component(output_name "${path_${keyword}}" NAME)
      set(staged "${output_dir}/.${output_name}.vantrel-staged")
      list(APPEND tool_arguments ${option_${keyword}} "${staged}")
      list(APPEND outputs "${path_${keyword}}")
      list(APPEND staged_files "${staged}")
      list(APPEND update_arguments "${staged}" "${path_${keyword}}")
      # The tool does not create folders.
      file(MAKE_DIRECTORY "${output_dir}")
    endif()
  endforeach()

  __vantrel_listed_files(listed_files has_illustrator_pipl "${input}" "${input_dir}")
  if(arg_PIPL AND NOT has_illustrator_pipl)
    message(WARNING "vantrel: ${arg_INPUT} holds no Illustrator PiPL, so the PiPL byte image "
                    "${arg_PIPL} will be empty: it holds Illustrator property lists only")
  endif()
  # A changed list may name other files: configure again to read it anew.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${input}")

  # The script compiled into a Windows target: the tool's .rc, or for GNU windres a copy
  # it reads as intended (see VantrelWindresCompatible.cmake).
  get_property(module_dir GLOBAL PROPERTY __VANTREL_MODULE_DIR)
  set(compiled_rc)
  set(windres_commands)
  if(WIN32 AND arg_WINDOWS)
    set(compiled_rc "${path_WINDOWS}")
    if(CMAKE_RC_COMPILER MATCHES "windres")
      get_filename_component(rc_name "${path_WINDOWS}" NAME_WLE)
      get_filename_component(rc_dir "${path_WINDOWS}" DIRECTORY)
      set(compiled_rc "${rc_dir}/${rc_name}.windres.rc")
      set(windres_commands COMMAND "${CMAKE_COMMAND}" "-DINPUT=${path_WINDOWS}"
          "-DOUTPUT=${compiled_rc}" -P "${module_dir}/VantrelWindresCompatible.cmake")
      # The script is UTF-8: names such as "Café" must not be read in the ANSI code page.
      set_property(SOURCE "${compiled_rc}" APPEND PROPERTY COMPILE_OPTIONS -c 65001)
    endif()
  endif()

  # The staged files left by an earlier run that was stopped are removed first: the tool
  # writes none for an output it has nothing to put in. The stamp marks when the command
  # last ran, as the outputs themselves may keep older time stamps; Ninja then looks at
  # them again after the command (restat) and runs only what depends on a changed one.
  set(stamp "${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/${target}.vantrel.stamp")
  set(all_outputs ${outputs} ${compiled_rc})
  list(REMOVE_DUPLICATES all_outputs)
  add_custom_command(
    OUTPUT "${stamp}"
    BYPRODUCTS ${all_outputs}
    COMMAND "${CMAKE_COMMAND}" -E rm -f ${staged_files}
    COMMAND vantrel::vantrel ${tool_arguments}
    COMMAND "${CMAKE_COMMAND}" -P "${module_dir}/VantrelUpdateOutputs.cmake"
            -- ${update_arguments}
    ${windres_commands}
    COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
    DEPENDS "${input}" ${listed_files} "$<TARGET_FILE:vantrel::vantrel>"
    WORKING_DIRECTORY "${input_dir}"
    COMMENT "vantrel: generating the resources of ${target} from ${arg_INPUT}"
    # Ninja then passes the tool's error lines on as they come, before its own report of
    # the failed command with its long line of arguments.
    USES_TERMINAL
    VERBATIM)

  # Every output is a source of the target so the command runs before the target builds;
  # only the .rc is compiled, and only when the target is built for Windows.
  target_sources(${target} PRIVATE ${all_outputs} "${stamp}")
  foreach(output ${all_outputs} "${stamp}")
    if(NOT output STREQUAL compiled_rc)
      set_source_files_properties("${output}" PROPERTIES HEADER_FILE_ONLY TRUE)
    endif()
  endforeach()
  if(compiled_rc)
    # The .rc names files relative to the list's folder; resource compilers search the
    # include path for them. A changed file must be embedded anew although the script
    # naming it stays the same.
    set_property(SOURCE "${compiled_rc}" APPEND PROPERTY INCLUDE_DIRECTORIES "${input_dir}")
    set_property(SOURCE "${compiled_rc}" APPEND PROPERTY OBJECT_DEPENDS ${listed_files})
  endif()
  if(arg_HEADER)
    get_filename_component(header_dir "${path_HEADER}" DIRECTORY)
    target_include_directories(${target} PRIVATE "${header_dir}")
  endif()
  if(arg_CHECK)
    __vantrel_add_load_check(${target})
  endif()
endfunction()
