// dorirova_recording_bench: how fast a recording runs on this machine, and
// where its time goes (loading, drawing, soundtrack, colour conversion,
// encoding), against the length of the video it makes.
//
//   dorirova_recording_bench WxH FPS SECONDS|whole [FILE]
//
// FILE defaults to a temporary .mp4, deleted afterwards. Drawing runs on the
// main thread; conversion and encoding on the encoding thread, in parallel
// with it, and the encoder's own threads besides: the parts add up to more
// than the total when the two threads overlap. The processor time of all
// threads says how much of the machine the recording had: on a busy machine
// the wall-clock times grow, the processor time hardly. Ends with the peak
// resident memory, which a longer recording must not raise.
#include <sys/resource.h>   // peak resident memory
#include <unistd.h>           // getpid

#include <cstdio>
#include <cstdlib>
#include <string>

#include "recording/recording.h"
#include "recording/key_script.h"
#include "platform/temp_file.h"
#include "resources/embedded_blobs.h"

int main(int argc, char **argv) {
    provideProgramResources();   // as the program's start-up does first
    RecordingSettings settings;
    if (argc < 4 || std::sscanf(argv[1], "%dx%d", &settings.width, &settings.height) != 2) {
        std::fprintf(stderr, "usage: dorirova_recording_bench WxH FPS SECONDS|whole [FILE]\n");
        return 2;
    }
    settings.fps = std::atoi(argv[2]);
    if (std::string(argv[3]) != "whole" && !parseSeconds(argv[3], settings.lengthNs)) {
        std::fprintf(stderr, "dorirova_recording_bench: SECONDS is a number or \"whole\"\n");
        return 2;
    }
    const bool keep = argc > 4;
    settings.file = keep ? argv[4] : tempDirectory() + "/dorirova-recording-bench-" + std::to_string(getpid()) + ".mp4";

    RecordingTimes times;
    const int status = recordVideo(settings, &times);
    if (status != EXIT_STATUS_OK) return status;
    if (!keep) std::remove(settings.file.c_str());

    const double videoSeconds = double(times.frames) / settings.fps;
    std::printf("%dx%d at %d fps, %lld frames (%.1f s of video)\n", settings.width, settings.height, settings.fps,
                static_cast<long long>(times.frames), videoSeconds);
    std::printf("  total     %7.1f s   %.2f x the video's length, %.1f frames/s\n", times.total,
                times.total / videoSeconds, double(times.frames) / (times.total - times.load));
    std::printf("  load      %7.1f s   scene set-up before time 0\n", times.load);
    std::printf("  render    %7.1f s   %.1f ms a frame, drawing and reading back (main thread)\n", times.render,
                1000 * times.render / double(times.frames));
    std::printf("  sound     %7.1f s   the soundtrack (main thread)\n", times.sound);
    std::printf("  convert   %7.1f s   %.1f ms a frame, RGBA to yuv420p (encoding thread)\n", times.convert,
                1000 * times.convert / double(times.frames));
    std::printf("  encode    %7.1f s   %.1f ms a frame, encoders and muxer (encoding thread, waiting on the "
                "encoder's own threads)\n",
                times.encode, 1000 * times.encode / double(times.frames));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    std::printf("  cpu       %7.1f s   all threads (%.2f cores busy on average; %.1f ms a frame)\n", cpu,
                cpu / times.total, 1000 * cpu / double(times.frames));
    std::printf("  memory    %7.0f MiB peak resident (flat: the same for a short and a whole recording)\n",
                double(usage.ru_maxrss) / 1024);
    return 0;
}
