# A test that hangs (a lock waited on for ever) fails in minutes, not at ctest's default.
set(VEYLOOM_TEST_TIMEOUT 180)

# veyloom_add_test(<name> SOURCES <files...> LIBRARIES <targets...>)
# One Qt Test executable per unit, run by ctest on the offscreen platform.
function(veyloom_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    qt_add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBRARIES})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        TIMEOUT ${VEYLOOM_TEST_TIMEOUT})
endfunction()
