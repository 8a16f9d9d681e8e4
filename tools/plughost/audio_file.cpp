// Reading and writing audio files through libsndfile.
#include "tools/plughost/audio_file.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <unistd.h>

namespace {

std::string lowerExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// The major format libsndfile associates with this extension, or 0.
int majorFormatFor(const std::string& extension) {
    if (extension.empty()) return 0;
    if (extension == "wav") return SF_FORMAT_WAV;
    if (extension == "aif" || extension == "aiff") return SF_FORMAT_AIFF;
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO info{};
        info.format = i;
        sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof info);
        if (info.extension && extension == info.extension) return info.format;
    }
    return 0;
}

} // namespace

bool readAudioFile(const std::string& path, AudioFile& out, std::string& error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        error = "cannot read " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    if (info.channels < 1 || info.samplerate <= 0) {
        sf_close(file);
        error = path + " has no audio channels";
        return false;
    }
    const size_t frames = info.frames > 0 ? static_cast<size_t>(info.frames) : 0;
    std::vector<float> interleaved(frames * static_cast<size_t>(info.channels));
    const sf_count_t got =
        sf_readf_float(file, interleaved.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
    const size_t readFrames = got > 0 ? static_cast<size_t>(got) : 0;
    out.audio.left.resize(readFrames);
    out.audio.right.resize(readFrames);
    const size_t channels = static_cast<size_t>(info.channels);
    for (size_t i = 0; i < readFrames; ++i) {
        out.audio.left[i] = interleaved[i * channels];
        out.audio.right[i] = interleaved[i * channels + (channels > 1 ? 1 : 0)];
    }
    out.sampleRate = info.samplerate;
    out.format = info.format;
    return true;
}

bool writeAudioFile(const std::string& path, const StereoBuffer& audio, int sampleRate,
                    int preferredFormat, std::string& error) {
    const int major = majorFormatFor(lowerExtension(path));
    if (!major) {
        error = "cannot tell the audio format of " + path + " from its extension";
        return false;
    }
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    const int candidates[] = {
        (preferredFormat & SF_FORMAT_TYPEMASK) == major ? preferredFormat : 0,
        major | (preferredFormat & SF_FORMAT_SUBMASK),
        major | SF_FORMAT_FLOAT,
        major | SF_FORMAT_PCM_24,
        major | SF_FORMAT_PCM_16,
        major | SF_FORMAT_VORBIS,
        major | SF_FORMAT_OPUS,
    };
    bool found = false;
    for (int candidate : candidates) {
        info.format = candidate;
        if (candidate && sf_format_check(&info)) {
            found = true;
            break;
        }
    }
    if (!found) {
        error = "libsndfile cannot write stereo audio as " + path;
        return false;
    }

    const std::string temporary = path + ".partial-" + std::to_string(getpid());
    SNDFILE* file = sf_open(temporary.c_str(), SFM_WRITE, &info);
    if (!file) {
        error = "cannot write " + path + ": " + sf_strerror(nullptr);
        return false;
    }
    const size_t frames = audio.frames();
    std::vector<float> interleaved(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        interleaved[2 * i] = audio.left[i];
        interleaved[2 * i + 1] = audio.right[i];
    }
    const sf_count_t written =
        sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(frames));
    const int closed = sf_close(file);
    if (written != static_cast<sf_count_t>(frames) || closed != 0 ||
        std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        error = "cannot write " + path;
        return false;
    }
    return true;
}
