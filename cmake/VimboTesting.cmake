include(GoogleTest)

# vimbo_add_test(NAME name COMMAND ... [LABELS ...] [ENVIRONMENT ...] [TIMEOUT s])
# A CTest test whose name carries this tree's prefix.
function(vimbo_add_test)
    cmake_parse_arguments(ARG "" "NAME;TIMEOUT" "COMMAND;LABELS;ENVIRONMENT" ${ARGN})
    set(name "${VIMBO_TEST_PREFIX}${ARG_NAME}")
    add_test(NAME "${name}" COMMAND ${ARG_COMMAND})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    set_tests_properties("${name}" PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    if(ARG_LABELS)
        set_tests_properties("${name}" PROPERTIES LABELS "${ARG_LABELS}")
    endif()
    if(ARG_ENVIRONMENT)
        set_tests_properties("${name}" PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
    endif()
endfunction()

# vimbo_discover_tests(target [LABELS ...] [ENVIRONMENT ...])
# Registers every GoogleTest case of a test program with this tree's prefix.
function(vimbo_discover_tests target)
    cmake_parse_arguments(ARG "" "" "LABELS;ENVIRONMENT" ${ARGN})
    gtest_discover_tests(${target}
        TEST_PREFIX "${VIMBO_TEST_PREFIX}"
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS "${ARG_LABELS}" ENVIRONMENT "${ARG_ENVIRONMENT}" TIMEOUT 300)
endfunction()
