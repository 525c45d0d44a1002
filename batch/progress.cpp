#include "batch/progress.h"

#include <array>

namespace {

constexpr auto redraw_interval = std::chrono::milliseconds(100);

void draw(progress_line* progress, std::chrono::steady_clock::time_point now)
{
    const double seconds = std::chrono::duration<double>(now - progress->started).count();
    const double rate = seconds > 0 ? static_cast<double>(progress->done) / seconds : 0.0;
    std::array<char, 96> text{};
    int n = std::snprintf(text.data(), text.size(), "%ld lines, %ld failed, %.0f lines/s",
                          progress->done, progress->failed, rate);
    if (n < 0)
        return;
    if (static_cast<std::size_t>(n) >= text.size())
        n = static_cast<int>(text.size() - 1);
    // A shorter line than the last one leaves no old characters after it.
    const int pad = progress->width > n ? progress->width - n : 0;
    std::fprintf(progress->stream, "\r%s%*s", text.data(), pad, "");
    std::fflush(progress->stream);
    progress->width = n;
    progress->shown = true;
    progress->drawn = now;
}

}  // namespace

void start_progress(progress_line* progress, std::FILE* stream, bool enabled)
{
    *progress = progress_line{};
    progress->stream = stream;
    progress->enabled = enabled;
    progress->started = std::chrono::steady_clock::now();
    // The first line done draws at once; later ones at most ten times a second.
    progress->drawn = progress->started - redraw_interval;
}

void count_progress(progress_line* progress, int code)
{
    ++progress->done;
    if (code != 0)
        ++progress->failed;
    if (!progress->enabled)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - progress->drawn >= redraw_interval)
        draw(progress, now);
}

void hide_progress(progress_line* progress)
{
    if (!progress->shown)
        return;
    std::fprintf(progress->stream, "\r%*s\r", progress->width, "");
    std::fflush(progress->stream);
    progress->shown = false;
    progress->width = 0;
}
