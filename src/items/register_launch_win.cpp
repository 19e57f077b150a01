#include "items/kv_button.h"

void CKVButton::RegisterFile(const std::string& path) {}

void CKVButton::OnDropFiles(HDROP drop) {
    DragFinish(drop);
}

void CKVButton::OnRegisterRequest() {}

void CKVButton::OnOpenLink() {}

void CKVButton::StartLaunch() {}
