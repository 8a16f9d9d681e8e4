// Only the holder of the suites' shared precompiled GoogleTest header (tests/CMakeLists.txt).
