// The device draws its task bar text with cairo, which loads fonts through
// fontconfig; fontconfig keeps its caches for the life of the process, and the
// leak checker of the sanitizer build reports them at exit. They are not the
// engine's, so they are left out of the report.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
