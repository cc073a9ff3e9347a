/* A test's stand-in for a virus scanner or a preview pane: holds a file open for reading,
 * sharing it for reading only, so that no one can write, rename or remove it meanwhile.
 *   hold-file FILE SECONDS READY_FILE
 * READY_FILE is made once FILE is held; the file is let go after SECONDS. */
#include <stdio.h>
#include <wchar.h>
#include <windows.h>

int wmain(int argc, wchar_t **argv)
{
    if (argc != 4) {
        fputws(L"usage: hold-file FILE SECONDS READY_FILE\n", stderr);
        return 2;
    }
    HANDLE held = CreateFileW(
        argv[1], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (held == INVALID_HANDLE_VALUE) {
        fwprintf(stderr, L"hold-file: %ls cannot be opened: error %lu\n", argv[1], GetLastError());
        return 1;
    }
    HANDLE ready
        = CreateFileW(argv[3], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (ready == INVALID_HANDLE_VALUE) {
        fwprintf(stderr, L"hold-file: %ls cannot be made: error %lu\n", argv[3], GetLastError());
        return 1;
    }
    CloseHandle(ready);
    Sleep((DWORD)(wcstod(argv[2], NULL) * 1000));
    CloseHandle(held);
    return 0;
}
