// Only the version resource matters; one export keeps the library ordinary.
extern "C" __declspec(dllexport) int PlayerStubMarker()
{
    return 1;
}
