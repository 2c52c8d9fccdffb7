// A library without an unregistration function, for the uninstaller's tests.
extern "C" __attribute__((visibility("default"))) int ZarnelTestPlainFunction() {
    return 7;
}
