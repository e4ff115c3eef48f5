// demo_movie.exe <out.swf> <tone.mp3>: writes the demo's movie (see
// DemoMovieWriter.h) with the tone as its stream sound.
#include "DemoMovieWriter.h"

#include "fixtures/SwfFile.h"
#include "fixtures/SwfSoundWriter.h"

#include <stdio.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: demo_movie <out.swf> <tone.mp3>\n");
        return 2;
    }
    std::vector<uint8_t> mp3 = SwfReadMp3Frames(argv[2]);
    if (mp3.empty()) {
        fprintf(stderr, "demo_movie: no MP3 frames in %ls\n", argv[2]);
        return 1;
    }
    if (!SwfSaveFile(argv[1], DemoMovie(mp3))) {
        fprintf(stderr, "demo_movie: cannot write %ls\n", argv[1]);
        return 1;
    }
    return 0;
}
