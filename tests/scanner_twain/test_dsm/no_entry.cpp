// A library named TWAIN_32.DLL that does not export DSM_Entry.
extern "C" __attribute__((visibility("default"))) int NotTheEntryPoint() { return 0; }
