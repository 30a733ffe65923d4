# The program's layers and their sources: one list for the desktop and the web builds.
# Each layer is a library with an include root of its own, a folder of links to its
# source folders, so that a file sees the headers of its own layer and of the layers it
# links and no others: an include that runs the wrong way does not compile.
#
#   numeric   common timeresp analysis freqchar exact regime: plain values in and out
#   text      the translators' catalogs and the lookup of a text in the reader's language
#   model     the physical system and everything derived from it
#   state     the one state: the model's values and the session's
#   session   what a front end does to the state between frames
#   picture   the clear view and the panels as plain shapes, and those shapes as SVG
#   console, export, graphics   what the front ends share: the dialogue, the files, the drawing
#   driver                      what the window and the page do alike: frames, playback,
#                               the progress of background work, the window's keys
#   window, app, web            the front ends
#
# The numerical layer is layered in turn, a library and a root per folder, each folder
# seeing its own headers and those of the folders below it:
#
#   common              the cores, the background job, the constants, the damping regimes
#   timeresp, analysis  over common: the integration; the closed forms and their ranges
#   freqchar, exact     over analysis, neither seeing the other: the stick-slip curves;
#                       the exact motion
#   regime              over freqchar and exact: the map compares their answers
#
# fvnumeric is the whole numerical layer, for what links it as one.
#
# An include root cannot stop an include that names a path from the including file's
# own folder ("../model/system.h", "exact/../model/system.h"): such a path is refused by
# the LayerRule.relative_include test (cmake/source_rules.cmake) instead.

set(FV_SRC ${PROJECT_SOURCE_DIR}/src)
set(FV_LAYER_ROOTS ${CMAKE_BINARY_DIR}/layers)

# The numerical folders from the bottom up, each with its sources and the folders below
# it that it links.
set(FV_FOLDERS_numeric common timeresp analysis freqchar exact regime)
set(FV_SOURCES_common common/job.cpp)
set(FV_SOURCES_timeresp timeresp/integrate.cpp)
set(FV_BELOW_timeresp fvcommon)
set(FV_SOURCES_analysis analysis/continuous.cpp analysis/range.cpp)
set(FV_BELOW_analysis fvcommon)
set(FV_SOURCES_freqchar freqchar/stickslip.cpp freqchar/curves.cpp)
set(FV_BELOW_freqchar fvanalysis)
set(FV_SOURCES_exact exact/motion.cpp exact/steady.cpp exact/dots.cpp exact/orbit.cpp
  exact/energy.cpp exact/trajectory.cpp exact/period_map.cpp)
set(FV_BELOW_exact fvanalysis)
set(FV_SOURCES_regime regime/map.cpp)
set(FV_BELOW_regime fvfreqchar fvexact)
set(FV_SOURCES_text text/catalog.cpp text/languages.cpp)
set(FV_SOURCES_model model/system.cpp model/derive.cpp model/chart.cpp model/verdict.cpp
  model/summary.cpp model/response.cpp model/cycle.cpp model/trajectory.cpp model/stability.cpp)
set(FV_SOURCES_state state/state.cpp)
set(FV_SOURCES_session session/views.cpp session/keys.cpp session/background.cpp session/motion.cpp
  session/playback.cpp session/pass.cpp)
set(FV_SOURCES_console console/console.cpp console/input.cpp console/dialogue.cpp)
# What the browser builds of the export and the drawing; the desktop adds files, PNG and
# its GL port.
set(FV_SOURCES_export export/tables.cpp export/pass_files.cpp)
set(FV_SOURCES_export_desktop export/report.cpp export/shown_text.cpp export/atomic_file.cpp
  export/folder_lock.cpp export/file_lock.cpp export/old_content.cpp export/leftovers.cpp
  export/replace_check.cpp export/interrupt.cpp export/png.cpp
  export/picture_file.cpp export/set_journal.cpp export/whole_file.cpp)
set(FV_SOURCES_picture picture/scene.cpp picture/axes.cpp picture/charts.cpp picture/regime.cpp
  picture/panels.cpp picture/clear.cpp picture/svg.cpp)
set(FV_SOURCES_graphics graphics/gl_common.cpp graphics/primitives.cpp graphics/timeview.cpp
  graphics/freqview.cpp graphics/regimeview.cpp graphics/scene_gl.cpp graphics/display.cpp)
set(FV_SOURCES_graphics_desktop graphics/gl_port.cpp graphics/labels.cpp)
set(FV_SOURCES_driver driver/driver.cpp)
set(FV_SOURCES_window window/window.cpp window/keyboard.cpp window/picture.cpp
  window/xserver.cpp window/ending.cpp window/typed_keys.cpp)
set(FV_SOURCES_app app/options.cpp app/streams.cpp app/signals.cpp app/window_loader.cpp
  app/outputs.cpp app/language.cpp)

# The include root of layer: ${FV_LAYER_ROOTS}/layer, holding links to its folders.
function(fv_layer_root layer)
  set(folders ${ARGN})
  if(NOT folders)
    set(folders ${layer})
  endif()
  file(MAKE_DIRECTORY ${FV_LAYER_ROOTS}/${layer})
  foreach(folder ${folders})
    file(CREATE_LINK ${FV_SRC}/${folder} ${FV_LAYER_ROOTS}/${layer}/${folder} SYMBOLIC)
  endforeach()
endfunction()

# A layer's library: its sources (paths below src/), its root, the layers it links.
function(fv_add_layer target layer)
  cmake_parse_arguments(L "" "" "SOURCES;LINKS" ${ARGN})
  list(TRANSFORM L_SOURCES PREPEND ${FV_SRC}/)
  add_library(${target} STATIC ${L_SOURCES})
  target_include_directories(${target} PUBLIC ${FV_LAYER_ROOTS}/${layer})
  target_link_libraries(${target} PUBLIC ${L_LINKS})
endfunction()

# The numerical layer's libraries: fvcommon, fvtimeresp and the others, one a folder, and
# fvnumeric, all of them.
function(fv_add_numeric_layers)
  foreach(folder ${FV_FOLDERS_numeric})
    fv_add_layer(fv${folder} ${folder} SOURCES ${FV_SOURCES_${folder}} LINKS ${FV_BELOW_${folder}})
  endforeach()
  add_library(fvnumeric INTERFACE)
  target_link_libraries(fvnumeric INTERFACE fvtimeresp fvregime)
endfunction()

foreach(layer ${FV_FOLDERS_numeric} text model state session picture console export graphics driver window app)
  fv_layer_root(${layer})
endforeach()
