// Work a program hands to a thread of its own (a download, say), which will
// post its result back with PostMessageW. The thread holds a BackgroundWork for
// as long as the result is outstanding; meanwhile a virtual device clock waits
// for it instead of moving on, so that tests stay deterministic. On a real
// handheld it does nothing.
#pragma once

class BackgroundWork {
public:
    BackgroundWork();
    ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

private:
    bool counted = false;
};
