#pragma once

#include <functional>

// The state of the transfer progress bar: a value 0..100, shown only while a transfer runs.
struct ProgressState {
    int value = 0;
    bool visible = false;

    bool operator==(const ProgressState &other) const
    {
        return value == other.value && visible == other.visible;
    }
    bool operator!=(const ProgressState &other) const { return !(*this == other); }
};

// Called with the new state each time the value or the visibility changes.
using ProgressCallback = std::function<void(const ProgressState &)>;
