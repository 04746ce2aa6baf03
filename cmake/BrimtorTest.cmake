# brimtor_add_tests(LIBS <targets>... [QT] [LABELS <labels>...])
#
# Every *_test.cpp in the calling folder becomes one test executable registered with CTest.
# Tests never see the real home: CTest points HOME and the XDG folders into the build tree,
# and each test's fixture narrows them further to a fresh temporary folder. QT gives the tests
# a main that creates the QApplication that sockets, timers and widgets need.
function(brimtor_add_tests)
  cmake_parse_arguments(ARG "QT" "" "LIBS;LABELS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(home ${CMAKE_BINARY_DIR}/test-home)
  foreach(source ${tests})
    get_filename_component(stem ${source} NAME_WE)
    set(target ${folder}_${stem})
    add_executable(${target} ${source})
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
    target_link_libraries(${target} PRIVATE testsupport ${ARG_LIBS} GTest::gtest GTest::gmock)
    if(ARG_QT)
      target_link_libraries(${target} PRIVATE testsupport_qtmain Qt6::Test)
    else()
      target_link_libraries(${target} PRIVATE GTest::gtest_main)
    endif()
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES
      LABELS "${folder};${ARG_LABELS}"
      TIMEOUT 300
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_CONFIG_HOME=${home}/.config;XDG_DATA_HOME=${home}/.local/share;XDG_RUNTIME_DIR=${home}/run;TZ=UTC;LANG=C.UTF-8")
  endforeach()
endfunction()
