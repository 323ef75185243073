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
# The data layer holds no window: it includes none of the platform's window headers nor
# the control library's, and it links neither Qt's widgets nor the control library
# (DATA_LINKS: every library it links, directly or not, separated by commas).
# cmake -DSOURCE_DIR=... -DDATA_LINKS=... -P check_layers.cmake
cmake_policy(VERSION 3.25)
set(windows "mainwindow|overview|records|setup|output")
set(windowheaders "(msgbox|system|process|dialogs|net|registration|waitcursor|grid|printer|printchooser|VarnexEditUni|libroutines)\\.h")
set(rules
  "common|(data|${windows}|startup)/"
  "data|(${windows}|startup)/|${windowheaders}"
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
if(NOT DATA_LINKS)
  list(APPEND faults "DATA_LINKS: the data layer's libraries are not given")
endif()
string(REPLACE "," ";" data_links "${DATA_LINKS}")
foreach(library IN ITEMS Qt6::Widgets Qt6::Gui Tabulix)
  if(library IN_LIST data_links)
    list(APPEND faults "oskal_catalog_data links ${library}")
  endif()
endforeach()
if(faults)
  list(JOIN faults "\n" text)
  message(FATAL_ERROR "Against the layers:\n${text}")
endif()
