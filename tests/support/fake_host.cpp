#include "tests/support/fake_host.h"

namespace testing_support {

void FakeHost::Yield() {
    ++yields;
    if (on_yield) on_yield(yields);
}

void FakeHost::Reload() {
    ++reloads;
    if (!workspace_) return;
    workspace_->picOriginal.SetPicture(picture_);
    workspace_->picResult.SetPicture(picture_);
    workspace_->picDepth.SetPicture(picture_);
}

void FakeHost::AttachWorkspace(core::Workspace& workspace, platform::Picture picture) {
    workspace_ = &workspace;
    picture_ = std::move(picture);
}

}  // namespace testing_support
