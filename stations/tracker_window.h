#pragma once
// The window as station tracking sees it: the range box, the status line and the
// candidate list. The window's controls stay the state; nothing here caches them.

#include <string>
#include <vector>

namespace ovelsk {

class TrackerWindow {
public:
    virtual ~TrackerWindow() = default;
    // The range box text, read afresh on every call.
    virtual std::string rangeText() const = 0;
    virtual void setStatus(const std::string& text) = 0;
    // Replaces the candidate list with `rows`, already in list order, in one go:
    // the user never sees a half-filled list.
    virtual void replaceCandidateRows(const std::vector<std::string>& rows) = 0;
};

}  // namespace ovelsk
