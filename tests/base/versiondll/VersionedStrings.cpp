// Only the version resource matters; one export keeps the library ordinary.
extern "C" __declspec(dllexport) int VersionedStringsMarker()
{
    return 1;
}
