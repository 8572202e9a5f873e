// SPDX-License-Identifier: MIT
/* Holds a file open the way an editor or a compiler might (shared for reading and
 * writing, not for deleting or renaming), so that a run can meet a target it cannot
 * replace. Usage: mholdopen FILE MARKER. MARKER is created once FILE is held, and the
 * holder lets go once FILE's name is gone, or after a minute. */
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    HANDLE hFile = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1;
    HANDLE hMarker = CreateFileA(argv[2], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (hMarker == INVALID_HANDLE_VALUE)
        return 1;
    CloseHandle(hMarker);
    for (int nTick = 0; nTick < 600 && GetFileAttributesA(argv[1]) != INVALID_FILE_ATTRIBUTES;
         ++nTick)
        Sleep(100);
    CloseHandle(hFile);
    return 0;
}
