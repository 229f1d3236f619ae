// Finds the icon in the resources of the program named on the command line,
// as Explorer does, and checks that all three images came with it.
#include <windows.h>

#include <initializer_list>

int wmain(int argc, wchar_t* argv[])
{
    if (argc != 2)
        return 1;
    const HMODULE program =
        LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!program)
        return 2;
    const HRSRC found = FindResourceW(program, L"IDI_ICON1", RT_GROUP_ICON);
    if (!found)
        return 3;
    // A group icon starts with three 16-bit words: reserved, type, count.
    const auto* group = static_cast<const WORD*>(LockResource(LoadResource(program, found)));
    if (!group || group[2] != 3)
        return 4;
    for (const int size : {32, 16}) {
        const HANDLE icon = LoadImageW(program, L"IDI_ICON1", IMAGE_ICON, size, size, 0);
        if (!icon)
            return 5;
        DestroyIcon(static_cast<HICON>(icon));
    }
    return 0;
}
