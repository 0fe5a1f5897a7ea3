# Qt Test of the interface language tables (vireo_ui_language_tests, offscreen), and a check that the
# committed tables are what resources/lang/make_tables.py makes from captions.tsv.
find_package(Qt6 REQUIRED COMPONENTS Test Widgets)
add_executable(vireo_ui_language_tests ${CMAKE_CURRENT_LIST_DIR}/language_table_test.cpp)
set_target_properties(vireo_ui_language_tests PROPERTIES AUTOMOC ON)
target_link_libraries(vireo_ui_language_tests PRIVATE vireo_ui Qt6::Test)
add_test(NAME vireo_ui_language_tests COMMAND vireo_ui_language_tests)
set_tests_properties(vireo_ui_language_tests PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)

find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  add_test(NAME language_tables_current
           COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/resources/lang/make_tables.py --check)
endif()
