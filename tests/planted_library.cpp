// A DLL of a name that Windows does not have, which the build puts beside the test programs: the
// start-up test shows that the program no longer loads such a DLL from its own folder.
extern "C" __declspec(dllexport) int PlantedLibraryLoaded()
{
    return 1;
}
