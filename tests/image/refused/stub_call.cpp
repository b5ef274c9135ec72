// A Windows operation declared without dllimport is called through the import library's jump
// stub, which LAUNCH.EXE does not carry: the object check refuses it.
extern "C" __attribute__((stdcall)) void ExitProcess(unsigned exitCode);

extern "C" __attribute__((stdcall)) void StubEntry() {
    ExitProcess(0);
}
