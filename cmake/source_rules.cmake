# The rules on the sources that the layers' include roots cannot enforce, checked by
# reading the sources: cmake -DRULE=rule -DFOLDER=folder -P cmake/source_rules.cmake
# fails naming every line of FOLDER's sources that breaks RULE.
#
#   relative_include     no include names a path with a "." or ".." folder in it: the
#                        compiler looks for a quoted include beside the including file
#                        first, and from there "../model/system.h" reaches any layer
#   export_reports_only  export/ never ends the process (exit, _exit, _Exit, quick_exit,
#                        abort): it reports, and the front ends decide whether to end
cmake_minimum_required(VERSION 3.18)

if(RULE STREQUAL "relative_include")
  set(pattern "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*/)?\\.\\.?/")
elseif(RULE STREQUAL "export_reports_only")
  set(pattern "(^|[^A-Za-z0-9_])(exit|_exit|_Exit|quick_exit|abort)[ \t]*\\(")
else()
  message(FATAL_ERROR "source_rules.cmake: unknown RULE '${RULE}'")
endif()
if(NOT IS_DIRECTORY "${FOLDER}")
  message(FATAL_ERROR "source_rules.cmake: no folder '${FOLDER}'")
endif()

file(GLOB_RECURSE sources "${FOLDER}/*.h" "${FOLDER}/*.cpp")
set(broken 0)
foreach(source ${sources})
  file(STRINGS "${source}" lines)
  foreach(line IN LISTS lines)
    # What a line comment says is no code.
    string(REGEX REPLACE "//.*" "" code "${line}")
    if(code MATCHES "${pattern}")
      file(RELATIVE_PATH shown "${FOLDER}" "${source}")
      message("${shown}: ${line}")
      math(EXPR broken "${broken} + 1")
    endif()
  endforeach()
endforeach()
if(broken GREATER 0)
  message(FATAL_ERROR "${RULE}: broken by ${broken} lines")
endif()
