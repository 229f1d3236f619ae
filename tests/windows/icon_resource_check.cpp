// Finds the program's icon in the resources it is linked with, as Explorer
// does, and checks that all three images came with it.
#include <windows.h>

#include <initializer_list>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    const HRSRC found = FindResourceA(instance, "IDI_ICON1", RT_GROUP_ICON);
    if (!found)
        return 1;
    // A group icon starts with three 16-bit words: reserved, type, count.
    const auto* group = static_cast<const WORD*>(LockResource(LoadResource(instance, found)));
    if (!group || group[2] != 3)
        return 2;
    for (const int size : {32, 16}) {
        const HANDLE icon = LoadImageA(instance, "IDI_ICON1", IMAGE_ICON, size, size, 0);
        if (!icon)
            return 3;
        DestroyIcon(static_cast<HICON>(icon));
    }
    return 0;
}
