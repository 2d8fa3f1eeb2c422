#include "main_window/win32_taskbar_progress.h"

namespace vestro {

void TaskbarProgress::Show(HWND window, unsigned permille) {
    if (ITaskbarList3* taskbar = Taskbar()) {
        taskbar->SetProgressState(window, TBPF_NORMAL);
        taskbar->SetProgressValue(window, permille, 1000);
    }
}

void TaskbarProgress::ShowUnknownShare(HWND window) {
    if (ITaskbarList3* taskbar = Taskbar()) {
        taskbar->SetProgressState(window, TBPF_INDETERMINATE);
    }
}

void TaskbarProgress::Clear(HWND window) {
    if (ITaskbarList3* taskbar = Taskbar()) {
        taskbar->SetProgressState(window, TBPF_NOPROGRESS);
    }
}

ITaskbarList3* TaskbarProgress::Taskbar() {
    if (!tried_) {
        tried_ = true;
        void* created = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_ITaskbarList3, &created))) {
            taskbar_.reset(static_cast<ITaskbarList3*>(created));
            if (FAILED(taskbar_->HrInit())) {
                taskbar_.reset();
            }
        }
    }
    return taskbar_.get();
}

}  // namespace vestro
