# Fails when an include runs the wrong way between the program's layers. The layers'
# targets already refuse most of these; this also catches a relative path ("../") and
# the one rule inside the windows' layer: the record windows never include the main
# window's class (they reach its MDI area and section through common/mainframe).
# cmake -DSOURCE_DIR=... -P check_layers.cmake
set(windows "mainwindow|records|setup|output")
set(rules
  "common|(data|${windows}|startup)/"
  "data|(${windows}|startup)/"
  "mainwindow|startup/"
  "records|startup/|mainwindow/frmMain\\.h"
  "setup|startup/"
  "output|startup/")
set(faults "")
foreach(rule IN LISTS rules)
  string(FIND "${rule}" "|" bar)
  string(SUBSTRING "${rule}" 0 ${bar} folder)
  math(EXPR start "${bar} + 1")
  string(SUBSTRING "${rule}" ${start} -1 forbidden)
  file(GLOB_RECURSE files "${SOURCE_DIR}/catalog/${folder}/*.h" "${SOURCE_DIR}/catalog/${folder}/*.cpp")
  foreach(f IN LISTS files)
    file(STRINGS "${f}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
      if(line MATCHES "\"(\\.\\./|(${forbidden}))")
        list(APPEND faults "${f}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Includes against the layers:\n${text}")
endif()
