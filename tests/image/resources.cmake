# The page library's compiled resources (OBXPage.res of the win32 build),
# parsed back and compared with their layouts, and the drawings checked
# against their generator. Included by the image tier's CMakeLists.
add_executable(resource_tests
  ${CMAKE_CURRENT_LIST_DIR}/res_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_resource_source_res.cpp
  ${CMAKE_CURRENT_LIST_DIR}/resource_test.cpp)
target_include_directories(resource_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(resource_tests PRIVATE
  OBX_PAGE_RES_FILE="${OBX_WIN32_BINARY_DIR}/page/resources/OBXPage.res")
target_link_libraries(resource_tests PRIVATE GTest::gtest_main)
gtest_discover_tests(resource_tests PROPERTIES LABELS image DISCOVERY_TIMEOUT 60
  NO_PRETTY_VALUES)

# The same checks on the resource tree of the shipped OBXPage.dll.
add_executable(dll_resource_tests
  ${CMAKE_CURRENT_LIST_DIR}/res_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pe_image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_resource_source_dll.cpp
  ${CMAKE_CURRENT_LIST_DIR}/resource_test.cpp)
target_include_directories(dll_resource_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(dll_resource_tests PRIVATE OBX_PAGE_DLL="${OBX_DIST_DIR}/OBXPage.dll")
target_link_libraries(dll_resource_tests PRIVATE GTest::gtest_main)
gtest_discover_tests(dll_resource_tests TEST_PREFIX OBXPage_dll. PROPERTIES LABELS image
  DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES)

# The committed bitmaps and icon are exactly what the generator draws.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME resources.drawings_reproducible
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/draw_resources.py --check
    ${CMAKE_SOURCE_DIR}/page/resources)
set_tests_properties(resources.drawings_reproducible PROPERTIES LABELS image)
