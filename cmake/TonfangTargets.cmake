# Small helpers so that each layer's CMakeLists.txt stays a few lines long.

# tonfang_layer(NAME DIR LIBS...): one static library from the sources of a folder.
function(tonfang_layer name)
  cmake_parse_arguments(L "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  set(compiled ${sources})
  list(FILTER compiled INCLUDE REGEX "\\.cpp$")
  if(NOT compiled)
    # A layer whose first file has not landed yet still links.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${L_LIBS})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_LIBS})
endfunction()

# tonfang_gtest(NAME LABEL label [MAIN qt|app] [ENV var=value...] [TIMEOUT s]
#               SOURCES... LIBS...): one GoogleTest executable, one ctest test.
# MAIN qt gives the test a QApplication, MAIN app the programme's own
# TonfangApplication; without MAIN it is a plain GoogleTest main.
function(tonfang_gtest name)
  cmake_parse_arguments(T "" "LABEL;TIMEOUT;MAIN" "SOURCES;LIBS;ENV;ARGS" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${name} ${T_SOURCES})
  if(T_MAIN STREQUAL "qt")
    set(main qt_gtest_main)
  elseif(T_MAIN STREQUAL "app")
    set(main app_gtest_main)
  else()
    set(main GTest::gtest_main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${main} GTest::gtest)
  add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS "${T_LABEL}" TIMEOUT ${T_TIMEOUT}
                       ENVIRONMENT "${T_ENV}")
endfunction()
