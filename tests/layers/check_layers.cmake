# Fails when an include runs the wrong way between the program's layers. The layers'
# targets already refuse most of these; this also catches a relative path ("../") and
# the rules inside the windows' layer, whose folders share one target:
# - only mainwindow/ includes anything of mainwindow/: the main window's class and its
#   modules are its own (the others reach its MDI area, status bar and end through
#   common/mainframe);
# - only mainwindow/ (which opens the overview and sends it the record commands) and the
#   overview itself include overview/: the record, setup and output windows reach the
#   overview's state through data/currentoverview, never its window.
# startup/ is on top and may include every layer.
# cmake -DSOURCE_DIR=... -P check_layers.cmake
set(windows "mainwindow|overview|records|setup|output")
set(rules
  "common|(data|${windows}|startup)/"
  "data|(${windows}|startup)/"
  "mainwindow|startup/"
  "overview|(startup|mainwindow)/"
  "records|(startup|mainwindow|overview)/"
  "setup|(startup|mainwindow|overview)/"
  "output|(startup|mainwindow|overview)/")
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
