# One way to add a test: every test runs headless, with the SQL statement file at hand, in the
# locale of the environment it is started in (CI runs the suite on a C and on a Greek system).
#   orvanta_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [GTEST])
# GTEST tests link GoogleTest's main; the others are Qt Test programs.

function(orvanta_add_test name)
    cmake_parse_arguments(T "GTEST" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} orvanta_testsupport Qt6::Test)
    if(T_GTEST)
        target_link_libraries(${name} PRIVATE orvanta_gtest_main GTest::gtest)
    endif()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORVANTA_TEST_DATA_DIR=${CMAKE_SOURCE_DIR}/tests/data;ORVANTA_LAYOUTS_DIR=${CMAKE_SOURCE_DIR}/layouts;QT_LOGGING_RULES=qt.qpa.*=false"
        TIMEOUT 600)
    if(name IN_LIST ORVANTA_SERVER_TESTS)
        set_tests_properties(${name} PROPERTIES LABELS server)
    endif()
endfunction()

# Registers a test a second time, so that it runs once on a Greek system (the test's own name)
# and once under LANG=C (NAME_c), whatever the environment: one test, both decimal separators.
function(orvanta_run_in_both_locales name)
    get_test_property(${name} ENVIRONMENT environment)
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${environment};LC_ALL=el_GR.UTF-8;LANG=el_GR.UTF-8")
    add_test(NAME ${name}_c COMMAND ${name})
    set_tests_properties(${name}_c PROPERTIES ENVIRONMENT "${environment};LC_ALL=C;LANG=C"
        TIMEOUT 600)
endfunction()
