// Reading and writing audio files through libsndfile, as float stereo.
#pragma once

#include "tools/plughost/test_signal.h"

#include <string>

struct AudioFile {
    StereoBuffer audio;
    int sampleRate = 0;
    int format = 0; // libsndfile format of the file read
};

// Reads any format libsndfile knows; a mono file feeds both channels, files with more channels
// use their first two.
bool readAudioFile(const std::string& path, AudioFile& out, std::string& error);

// Writes a stereo file whose type follows the path's extension (the input's format when it has
// the same extension). The file appears only when it is complete: it is written next to its
// final name and renamed at the end, and removed again on any failure.
bool writeAudioFile(const std::string& path, const StereoBuffer& audio, int sampleRate,
                    int preferredFormat, std::string& error);
