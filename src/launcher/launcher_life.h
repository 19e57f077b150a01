// The launcher's life: starting up, running, inside modal loops, rebuilding, shut down at the
// end of a session and resumed when the end was cancelled. It decides what may happen when; the
// launcher window carries its answers out. Its rules:
//   - A rebuild destroys every button, so it waits while a modal loop runs (a button's file
//     dialog still works on its button) and while another rebuild is under way (a message box
//     of the icon load pumps messages). Asked for meanwhile, it runs once they have ended.
//   - A launcher that is shut down is not rebuilt.
//   - A shutdown pass frees nothing a modal loop still uses: the buttons and icons are freed at
//     the end of the outermost loop instead, or kept when the session's end is cancelled first.
#pragma once

class LauncherLife {
public:
    // Start-up: the icon data file of an earlier run is kept while it lasts.
    void BeginStart() { starting_ = true; }
    void EndStart() { starting_ = false; }
    bool IsStarting() const { return starting_; }

    // True when this opens the outermost loop (the hook's messages are then locked out).
    bool BeginModal() { return modalDepth_++ == 0; }
    bool InModal() const { return modalDepth_ > 0; }
    // What the end of a modal loop leaves to do, in this order.
    struct ModalEnd {
        bool outermost = false;  // unlock the hook's messages
        bool release = false;    // free the buttons and icons a shutdown pass left
        bool rebuild = false;    // run the rebuild asked for during the loop
    };
    ModalEnd EndModal();

    // Asks for a rebuild; true when it may run now (the caller then runs it and calls
    // EndRebuild), false when it is refused or left pending.
    bool RequestRebuild();
    // After one rebuild pass: true when a rebuild asked for meanwhile may run now.
    bool TakePendingRebuild();
    void EndRebuild() { rebuilding_ = false; }

    bool IsShutDown() const { return shutDown_; }
    // A shutdown pass has saved what it saves. True when the buttons and icons may be freed now;
    // false when a modal loop still uses them.
    bool BeginShutdown();
    // The end of the session was cancelled. True when the buttons and icons a modal loop kept
    // are still whole; false when they were freed and must be made again.
    bool Resume();

private:
    bool starting_ = false;
    bool shutDown_ = false;
    int modalDepth_ = 0;
    bool rebuilding_ = false;
    bool rebuildPending_ = false;
    bool releasePending_ = false;
};
