#pragma once

namespace platform {
class Timer;
}

namespace logger {

// The live polling that a memory exchange holds off while it uses the port
// (the main window's 50 ms reading timer).
class Polling
{
public:
    virtual ~Polling() = default;
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual bool running() const = 0;
};

// Polling driven by a window timer: pause disables it, resume enables it.
class TimerPolling : public Polling
{
public:
    explicit TimerPolling(platform::Timer &timer) : timer_(timer) {}
    void pause() override;
    void resume() override;
    bool running() const override;

private:
    platform::Timer &timer_;
};

} // namespace logger
