// The device draws its texts with cairo, which loads fonts through fontconfig;
// fontconfig keeps its caches for the life of the process, and the leak
// checker of the sanitizer build reports them at exit. They are not the
// player's, so they are left out of the report, in the tests and in the
// launcher alike.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
