// Under AddressSanitizer, allocation stacks are unwound fully: GLib is built
// without frame pointers, so the fast unwinder stops inside it and the named
// upstream reports in tests/lsan.supp could not be matched.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}
#endif
