# Warnings are errors for our own targets only, so that a project embedding the
# core is not forced into our flags.
function(zav_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# zav_add_test(<name> SOURCES <files...> [LIBS <targets...>])
# One GoogleTest executable per subsystem; each case is registered with ctest.
function(zav_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    zav_warnings(${name})
    # Widget tests need no display and find the pictures in the source tree; set in the program,
    # since discovered tests take one value per property.
    target_compile_definitions(${name} PRIVATE ZAVORA_TEST_RES_DIR="${PROJECT_SOURCE_DIR}/res")
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${name})
endfunction()
