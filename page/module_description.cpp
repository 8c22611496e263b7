// The module's description, with its quotes, as a module definition's
// DESCRIPTION would give it. GNU ld drops that line, so the string is
// placed in read-only data here; nothing reads it at run time.
__attribute__((used, section(".rdata"))) extern const char moduleDescription[] =
    "\"Ombrix Control Panel Extension to set refresh rates\"";
