# The translators' catalogs: every po/CODE.po present when the build is configured is a
# language. msgfmt --check compiles each into locale/CODE.mo in the build folder, beside
# the program, where the program reads them (the web build embeds that folder in the
# page). A new po/CODE.po is found by the next build: the glob is checked at every build.
find_program(FV_MSGFMT msgfmt REQUIRED)
file(GLOB FV_PO_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/*.po)
set(FV_LOCALE_DIR ${CMAKE_BINARY_DIR}/locale)
set(FV_MO_FILES)
# A catalog whose PO file has gone is no longer a language.
file(GLOB FV_OLD_MO_FILES ${FV_LOCALE_DIR}/*.mo)
foreach(mo ${FV_OLD_MO_FILES})
  get_filename_component(code ${mo} NAME_WE)
  if(NOT EXISTS ${PROJECT_SOURCE_DIR}/po/${code}.po)
    file(REMOVE ${mo})
  endif()
endforeach()
foreach(po ${FV_PO_FILES})
  get_filename_component(code ${po} NAME_WE)
  set(mo ${FV_LOCALE_DIR}/${code}.mo)
  add_custom_command(OUTPUT ${mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FV_LOCALE_DIR}
    COMMAND ${FV_MSGFMT} --check -o ${mo} ${po}
    DEPENDS ${po} COMMENT "Compiling the catalog ${code}.po" VERBATIM)
  list(APPEND FV_MO_FILES ${mo})
endforeach()
add_custom_target(fvcatalogs ALL DEPENDS ${FV_MO_FILES})
