#include "launcher/launcher_life.h"

LauncherLife::ModalEnd LauncherLife::EndModal() {
    ModalEnd end;
    if (modalDepth_ == 0 || --modalDepth_ > 0)
        return end;
    end.outermost = true;
    if (releasePending_) {
        releasePending_ = false;
        rebuildPending_ = false;  // nothing is left to rebuild after the shutdown pass
        end.release = true;
    }
    if (rebuildPending_ && !rebuilding_) {
        rebuildPending_ = false;
        end.rebuild = true;
    }
    return end;
}

bool LauncherLife::RequestRebuild() {
    if (shutDown_)
        return false;
    if (modalDepth_ > 0 || rebuilding_) {
        rebuildPending_ = true;
        return false;
    }
    rebuilding_ = true;
    return true;
}

bool LauncherLife::TakePendingRebuild() {
    if (!rebuildPending_ || modalDepth_ > 0 || shutDown_)
        return false;
    rebuildPending_ = false;
    return true;
}

bool LauncherLife::BeginShutdown() {
    shutDown_ = true;
    if (modalDepth_ > 0) {
        releasePending_ = true;
        return false;
    }
    return true;
}

bool LauncherLife::Resume() {
    shutDown_ = false;
    const bool kept = releasePending_;
    releasePending_ = false;
    return kept;
}
