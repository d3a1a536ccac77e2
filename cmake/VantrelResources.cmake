# vantrel_add_resources: runs vantrel as part of a plug-in's build.
#
#   vantrel_add_resources(<target> INPUT <resources.json> IDTOFILE <path>
#                         [MAC <path>] [WINDOWS <path>] [RSRC <path>] [RES <path>]
#                         [HEADER <path>] [PIPL <path>] [NO_STRICT] [CHECK])
#
# INPUT is relative to the current source folder, the outputs to the current binary folder.
# The tool runs in the folder of INPUT, so the relative "file" paths of the list mean the
# same to it as to the person who wrote them. It runs again when the list or any file the
# list names changes: the tool's depfile says which files those are, so CMake never reads
# the list itself. An output whose bytes stay the same keeps its time stamp, so that the
# build rebuilds nothing that uses it.
#
# What goes into <target>:
# - the header's folder goes on its include path;
# - Apple: the compiled Mac resource file (RSRC, by default <output name>.rsrc) is copied
#   into the bundle's Contents/Resources/; no Rez is needed;
# - Windows with GNU windres (MinGW): the compiled .res (RES, by default the WINDOWS path
#   with the extension .res) is turned into an object by windres and linked;
# - Windows with another resource compiler (rc.exe): the .rc is compiled.
# Every output's absolute path is the target property VANTREL_<keyword> (VANTREL_IDTOFILE,
# VANTREL_MAC, ...), set only for the outputs the call writes.
#
# The tool runs with --strict: a misspelt member name, a JSON syntax error, two resources
# with one ID or a missing file fails the build with its line and column. NO_STRICT runs
# it without, as lenient as the tool is by default. PIPL is the raw byte image of the
# Illustrator property lists only: a list without an Illustrator PiPL leaves it empty.
# CHECK reads the linked module back with `vantrel --inspect` after every link (on Apple,
# the bundle when the target is one), and fails the build with the check's Error: lines when
# a host would not load it: no PiPL, an unknown kind, an 'hstm' naming a missing aete, or an
# entry point the code does not export for its architecture. Plug-ins load on Windows and
# macOS only: for other systems CHECK does nothing.
#
# DEPFILE needs CMake 3.20 with Makefiles and 3.21 with the Visual Studio and Xcode
# generators; Ninja takes it from 3.20 on as well, with paths relative to the binary folder.

include_guard(GLOBAL)

set_property(GLOBAL PROPERTY __VANTREL_MODULE_DIR "${CMAKE_CURRENT_LIST_DIR}")

if(CMAKE_VERSION VERSION_LESS 3.20)
  message(FATAL_ERROR "vantrel_add_resources needs CMake 3.20 or later (DEPFILE)")
endif()

function(__vantrel_check_arguments target)
  if(NOT TARGET ${target})
    message(FATAL_ERROR "vantrel_add_resources: no target named ${target}")
  endif()
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "vantrel_add_resources: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_INPUT)
    message(FATAL_ERROR "vantrel_add_resources: INPUT <resources.json> is required")
  endif()
  if(NOT arg_IDTOFILE OR NOT (arg_MAC OR arg_WINDOWS OR arg_RSRC OR arg_RES))
    message(FATAL_ERROR "vantrel_add_resources: IDTOFILE and at least one of MAC, "
                        "WINDOWS, RSRC or RES are required")
  endif()
  if(NOT TARGET vantrel::vantrel)
    message(FATAL_ERROR "vantrel_add_resources: the vantrel::vantrel program target is "
                        "missing; call find_package(vantrel) first")
  endif()
  if(CMAKE_GENERATOR MATCHES "Visual Studio|Xcode" AND CMAKE_VERSION VERSION_LESS 3.21)
    message(FATAL_ERROR "vantrel_add_resources needs CMake 3.21 or later with the "
                        "${CMAKE_GENERATOR} generator (DEPFILE)")
  endif()
endfunction()

# Whether <target> is built as a bundle whose Contents/Resources/ can take the .rsrc.
function(__vantrel_is_bundle out_var target)
  get_target_property(bundle ${target} BUNDLE)
  get_target_property(app ${target} MACOSX_BUNDLE)
  get_target_property(framework ${target} FRAMEWORK)
  if(bundle OR app OR framework)
    set(${out_var} TRUE PARENT_SCOPE)
  else()
    set(${out_var} FALSE PARENT_SCOPE)
  endif()
endfunction()

# The outputs a platform needs to build <target> but the call left out get their default
# paths in the caller's arg_<keyword>.
macro(__vantrel_add_platform_outputs target)
  if(APPLE AND NOT arg_RSRC)
    get_target_property(output_name ${target} OUTPUT_NAME)
    if(NOT output_name)
      set(output_name ${target})
    endif()
    set(arg_RSRC "${output_name}.rsrc")
  endif()
  if(WIN32 AND CMAKE_RC_COMPILER MATCHES "windres" AND NOT arg_RES)
    if(arg_WINDOWS)
      get_filename_component(rc_dir "${arg_WINDOWS}" DIRECTORY)
      get_filename_component(rc_name "${arg_WINDOWS}" NAME_WLE)
      set(arg_RES "${rc_dir}/${rc_name}.res")
      if(NOT rc_dir)
        set(arg_RES "${rc_name}.res")
      endif()
    else()
      set(arg_RES "${target}.res")
    endif()
  endif()
endmacro()

# Builds the files the platform's linker takes from the outputs and adds them to <target>.
function(__vantrel_link_outputs target stamp input_dir)
  get_target_property(rsrc ${target} VANTREL_RSRC)
  get_target_property(res ${target} VANTREL_RES)
  get_target_property(rc ${target} VANTREL_WINDOWS)
  if(APPLE AND rsrc)
    __vantrel_is_bundle(is_bundle ${target})
    if(is_bundle)
      set_source_files_properties("${rsrc}" PROPERTIES MACOSX_PACKAGE_LOCATION Resources
                                  HEADER_FILE_ONLY FALSE)
    else()
      message(WARNING "vantrel: ${target} is not a bundle (set its BUNDLE property), so "
                      "its resource file ${rsrc} is written but not put into it")
    endif()
  elseif(WIN32 AND res AND CMAKE_RC_COMPILER MATCHES "windres")
    # windres turns a .res into an object the GNU linker links; the .rc is not compiled.
    set(object "${res}.obj")
    add_custom_command(
      OUTPUT "${object}"
      COMMAND "${CMAKE_RC_COMPILER}" -J res -O coff -i "${res}" -o "${object}"
      DEPENDS "${stamp}" "${res}"
      COMMENT "vantrel: turning ${res} into an object"
      VERBATIM)
    target_sources(${target} PRIVATE "${object}")
    set_source_files_properties("${object}" PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  elseif(WIN32 AND rc)
    # The .rc names files relative to the list's folder, which resource compilers find
    # on their include path. The stamp is renewed whenever a listed file changed, so the
    # script is compiled anew although its text stays the same.
    set_source_files_properties("${rc}" PROPERTIES HEADER_FILE_ONLY FALSE
                                OBJECT_DEPENDS "${stamp}")
    set_property(SOURCE "${rc}" APPEND PROPERTY INCLUDE_DIRECTORIES "${input_dir}")
    # The script is UTF-8: names such as "Café" must not be read in the ANSI code page.
    set_property(SOURCE "${rc}" APPEND PROPERTY COMPILE_OPTIONS /c65001)
  endif()
endfunction()

# Make builds do not look at outputs that a command lists as by-products: when one of them
# was deleted, this target removes the stamp first, so that the command runs again. Ninja
# treats by-products as outputs and needs no such step.
function(__vantrel_regenerate_missing_outputs target stamp outputs)
  if(CMAKE_GENERATOR MATCHES "Ninja")
    return()
  endif()
  get_property(module_dir GLOBAL PROPERTY __VANTREL_MODULE_DIR)
  add_custom_target(${target}_vantrel_outputs
    COMMAND "${CMAKE_COMMAND}" "-DSTAMP=${stamp}" -P "${module_dir}/VantrelMissingOutputs.cmake"
            -- ${outputs}
    VERBATIM)
  add_dependencies(${target} ${target}_vantrel_outputs)
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
  # Each output's keyword and the tool's option for it, in the same order.
  set(output_keywords IDTOFILE MAC WINDOWS RSRC RES HEADER PIPL)
  set(output_options --adobe --mac --windows --rsrc --res --header --pipl)
  cmake_parse_arguments(PARSE_ARGV 1 arg "NO_STRICT;CHECK" "INPUT;${output_keywords}" "")
  __vantrel_check_arguments(${target})
  __vantrel_add_platform_outputs(${target})

  get_filename_component(input "${arg_INPUT}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  get_filename_component(input_dir "${input}" DIRECTORY)
  set(work_dir "${CMAKE_CURRENT_BINARY_DIR}/CMakeFiles/${target}.vantrel")
  set(stamp "${work_dir}/stamp")
  set(depfile "${work_dir}/resources.d")
  file(MAKE_DIRECTORY "${work_dir}")

  # Absolute output paths: the tool runs in the list's folder, not in the build folder.
  # It writes each output to a staged file beside it (see VantrelUpdateOutputs.cmake).
  set(tool_arguments --input "${input}" --depfile "${depfile}.tool")
  if(NOT arg_NO_STRICT)
    list(PREPEND tool_arguments --strict)
  endif()
  set(outputs)
  set(staged_files)
  set(update_arguments)
  foreach(keyword option IN ZIP_LISTS output_keywords output_options)
    if(arg_${keyword})
      get_filename_component(path "${arg_${keyword}}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_BINARY_DIR}")
      get_filename_component(output_dir "${path}" DIRECTORY)
      get_filename_component(output_name "${path}" NAME)
      set(staged "${output_dir}/.${output_name}.vantrel-staged")
      list(APPEND tool_arguments ${option} "${staged}")
      list(APPEND outputs "${path}")
      list(APPEND staged_files "${staged}")
      list(APPEND update_arguments "${staged}" "${path}")
      set_property(TARGET ${target} PROPERTY VANTREL_${keyword} "${path}")
      # The tool does not create folders.
      file(MAKE_DIRECTORY "${output_dir}")
    endif()
  endforeach()
  set_property(TARGET ${target} PROPERTY VANTREL_DEPFILE "${depfile}")

  # The staged files left by an earlier run that was stopped are removed first: the tool
  # writes none for an output it has nothing to put in. The stamp marks when the command
  # last ran, as the outputs themselves may keep older time stamps; Ninja then looks at
  # them again after the command (restat) and runs only what depends on a changed one.
  get_property(module_dir GLOBAL PROPERTY __VANTREL_MODULE_DIR)
  add_custom_command(
    OUTPUT "${stamp}"
    BYPRODUCTS ${outputs}
    COMMAND "${CMAKE_COMMAND}" -E rm -f ${staged_files} "${depfile}.tool"
    COMMAND vantrel::vantrel ${tool_arguments}
    COMMAND "${CMAKE_COMMAND}" -P "${module_dir}/VantrelUpdateOutputs.cmake"
            -- ${update_arguments}
    COMMAND "${CMAKE_COMMAND}" "-DINPUT=${depfile}.tool" "-DOUTPUT=${depfile}"
            "-DTARGET=${stamp}" "-DBASE=${input_dir}" -P "${module_dir}/VantrelDepfile.cmake"
    COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
    DEPENDS "${input}" "$<TARGET_FILE:vantrel::vantrel>"
    DEPFILE "${depfile}"
    WORKING_DIRECTORY "${input_dir}"
    COMMENT "vantrel: generating the resources of ${target} from ${arg_INPUT}"
    # Ninja then passes the tool's error lines on as they come, before its own report of
    # the failed command with its long line of arguments.
    USES_TERMINAL
    VERBATIM)

  # Every output is a source of the target so the command runs before the target builds;
  # only what __vantrel_link_outputs marks is compiled or packaged.
  target_sources(${target} PRIVATE ${outputs} "${stamp}")
  set_source_files_properties(${outputs} "${stamp}" PROPERTIES HEADER_FILE_ONLY TRUE)
  __vantrel_link_outputs(${target} "${stamp}" "${input_dir}")
  __vantrel_regenerate_missing_outputs(${target} "${stamp}" "${outputs}")
  if(arg_HEADER)
    get_target_property(header ${target} VANTREL_HEADER)
    get_filename_component(header_dir "${header}" DIRECTORY)
    target_include_directories(${target} PRIVATE "${header_dir}")
  endif()
  if(arg_CHECK)
    __vantrel_add_load_check(${target})
  endif()
endfunction()
