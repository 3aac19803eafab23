#pragma once
// What a long ROM database run asks of its window: whether the user has
// cancelled, a chance for window events to run, and where to show progress
// and changed lines. Every hook may be left empty.

#include <QString>
#include <cstdint>
#include <functional>

namespace romdb {

// The window's Tag holds this while a cancel is pending.
inline const QString kCancelMarker = QStringLiteral("Quit");

// CancelledAfterRenaming: every file was renamed and moved; only identifying
// them again was cancelled.
enum class RunOutcome { Completed, Cancelled, CancelledAfterRenaming, Failed };

struct RunHooks {
    std::function<bool()> cancelRequested;
    std::function<void()> doEvents;
    std::function<void(int32_t percent)> drawProgress;
    // Line `index` of the file list has a new text.
    std::function<void(int32_t index)> fileChanged;
    // The folder or the whole file list changed.
    std::function<void()> listingChanged;

    bool cancelled() const { return cancelRequested && cancelRequested(); }
    void letEventsRun() const
    {
        if (doEvents)
            doEvents();
    }
    void progress(int32_t percent) const
    {
        if (drawProgress)
            drawProgress(percent);
    }
};

// The whole percentage nearest to from + span * index / count, a half
// going to the even neighbour.
int32_t ProgressPercent(int32_t from, int32_t span, int32_t index, int32_t count);

} // namespace romdb
