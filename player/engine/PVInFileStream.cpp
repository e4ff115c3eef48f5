#include "player/engine/PVInFileStream.h"

#include "player/engine/MKFile.h"

PVInFileStream::~PVInFileStream()
{
    Close();
}

bool PVInFileStream::Open(const char* path)
{
    Close();
    handle_ = MKFileOpenRead(path);
    owns_ = handle_ != nullptr;
    return owns_;
}

int PVInFileStream::Read(void* buffer, int size)
{
    return MKFileRead(buffer, size, handle_);
}

int PVInFileStream::Close()
{
    if (!handle_)
        return 0;
    int result = owns_ ? MKFileClose(handle_) : 0;
    handle_ = nullptr;
    owns_ = false;
    return result;
}
