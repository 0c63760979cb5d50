// The host may destroy a control from inside any of its callbacks. A step that hands
// control to the host (a notification, or a system call that can lead to one) watches the
// control's lifeline across it, and returns at once when the control did not outlive it:
// nothing of a destroyed control may be read or written afterwards.
#pragma once

class Lifeline {
public:
    // Watches one step; watches nest, the innermost last.
    class Watch {
    public:
        explicit Watch(Lifeline& line) : line_(line), outer_(line.innermost_) { line.innermost_ = this; }
        ~Watch()
        {
            if (alive_)
                line_.innermost_ = outer_;  // a dead line is freed memory
        }
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

        bool Alive() const { return alive_; }

    private:
        friend class Lifeline;
        Lifeline& line_;
        Watch* outer_;
        bool alive_ = true;
    };

    Lifeline() = default;
    // Runs with the control's destructor: every step still watching learns of it.
    ~Lifeline()
    {
        for (Watch* watch = innermost_; watch; watch = watch->outer_)
            watch->alive_ = false;
    }
    Lifeline(const Lifeline&) = delete;
    Lifeline& operator=(const Lifeline&) = delete;

private:
    Watch* innermost_ = nullptr;
};
