# Every source folder is one static library whose sources are found by glob, so that
# adding a file never means editing a CMakeLists.txt.
function(ondrex_module name)
  cmake_parse_arguments(M "" "" "DEPS;PRIVATE_DEPS;EXCLUDE" ${ARGN})
  # EXCLUDE patterns see paths from the module's folder ("/window/x.cpp"), so the name of
  # the folder the repository is checked out in can never match them.
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(TRANSFORM srcs PREPEND "/")
  foreach(ex IN LISTS M_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "${ex}")
  endforeach()
  list(TRANSFORM srcs PREPEND ${CMAKE_CURRENT_SOURCE_DIR})
  if(NOT srcs)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${M_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${M_DEPS} PRIVATE ${M_PRIVATE_DEPS})
endfunction()

# One GoogleTest executable per tests/ subfolder, with the test doubles and the Qt platform
# (tests draw on real canvases too). A folder with its own main.cpp (for example one that
# needs a QApplication) links gtest without gtest_main.
function(ondrex_test_folder name)
  cmake_parse_arguments(T "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${T_DEPS} ondrex_platform_testing ondrex_platform_qt
                        GTest::gtest)
  if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    ONDREX_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ONDREX_CORPUS_DIR="${PROJECT_SOURCE_DIR}/../shared/corpus"
    ONDREX_BINARY="$<TARGET_FILE:ondrex>")
  add_dependencies(${name} ondrex)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
