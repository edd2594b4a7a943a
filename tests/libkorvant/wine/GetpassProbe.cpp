// Reads a password through LIBKORVANT's getpass and prints it bracketed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    HMODULE library = LoadLibraryA("LIBKORVANT.dll");
    if (library == nullptr) {
        return 2;
    }
    using GetpassFn = char* (*)(const char*);
    auto getpass =
        reinterpret_cast<GetpassFn>(reinterpret_cast<void*>(GetProcAddress(library, "getpass")));
    if (getpass == nullptr) {
        return 3;
    }
    const int calls = argc > 1 ? std::atoi(argv[1]) : 1;
    for (int i = 0; i < calls; ++i) {
        const char* answer = getpass("Password: ");
        std::printf("[%s]\n", answer);
    }
    return 0;
}
