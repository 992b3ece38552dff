# One static library per source folder, its files picked up by glob so a new
# file needs no edit here.
function(orvane_library name)
  cmake_parse_arguments(ARG "QT" "" "DEPS;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.qrc)
  foreach(ex ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${ex})
  endforeach()
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS} Threads::Threads)
    return()
  endif()
  add_library(${name} STATIC ${sources})
  set_target_properties(${name} PROPERTIES LINKER_LANGUAGE CXX)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} Threads::Threads)
  if(NOT ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
  endif()
endfunction()

# Every tests/<layer>/<name>_test.cpp is its own test program, so a broken or
# slow test never hides the others.
function(orvane_tests layer)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/support/*.cpp)
  foreach(src ${tests})
    get_filename_component(stem ${src} NAME_WE)
    set(target ${layer}_${stem})
    add_executable(${target} ${src} ${helpers})
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(${target} PRIVATE
      ORVANE_BIN_DIR="${ORVANE_BIN_DIR}" ORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    if(NOT ARG_QT)
      set_target_properties(${target} PROPERTIES AUTOMOC OFF AUTORCC OFF AUTOUIC OFF)
    endif()
    # Tests on an X display of their own run one at a time: several X
    # servers, window managers and tray hosts at once starve a small machine
    # until a window or a tray icon misses its wait.
    set(lock "")
    if(stem MATCHES "_e2e_test$")
      set(lock RESOURCE_LOCK xdisplay)
    elseif(stem STREQUAL "composite_capture_test")
      # Its on-screen keyboard tests start a stand-in keyboard program and
      # look for one by name: side by side, one sees the other's.
      set(lock RESOURCE_LOCK onscreen-keyboard)
    endif()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORVANE_BIN_DIR=${ORVANE_BIN_DIR};ORVANE_CHECK_LOCK_ORDER=1"
                 LABELS ${layer} ${lock})
  endforeach()
endfunction()
