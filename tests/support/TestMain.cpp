#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The sanitizers' settings, so that a test checks the same way under ctest, ./dev test or run by hand; the
// environment can still override them. The leak checker of GCC 12 misreads the thread-local blocks of a library
// loaded later (an image plugin) and stops with a fatal error unless it leaves __tls_get_addr alone.
extern "C" const char *__asan_default_options() {
    return "detect_leaks=1:check_initialization_order=1:strict_init_order=1:intercept_tls_get_addr=0";
}
extern "C" const char *__lsan_default_options() {
    return "suppressions=" LSAN_SUPPRESSIONS ":print_suppressions=0";
}
extern "C" const char *__ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no application (and leaves nothing for the leak checker).
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    // Launchers and desktop folders land in a home of the tests' own, never in the user's.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toUtf8());
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
