# The test programs are built as unity builds: their files, each a handful of tests on the same fakes and
# worlds, share most of what they include, and in the sanitizer build each unit would otherwise generate the
# same GoogleTest and Qt template code again (a program of seven files compiles in a third of the time). So
# names local to one test file (anonymous namespaces, static functions) must differ from those of the other
# files of the same program. clang-tidy still checks each file on its own (scripts/tidy.py).
option(PIPFIELD_UNITY_TESTS "Build each test program's files as one unit" ON)

if(PIPFIELD_TESTS AND PIPFIELD_UNITY_TESTS)
    set_target_properties(
        app_tests game_tests kit_tests manage_tests model_tests platform_tests pipfield_scene_tests
        pipfield_view_tests strip_tests
        PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
endif()
