#include "platform/gui/ModalRun.h"

#include <QDialog>
#include <QPointer>
#include <utility>
#include <vector>

namespace {
ModalScript* script = nullptr;
std::vector<QPointer<QDialog>> running;
} // namespace

int RunModal(QDialog& dialog) {
    if (script != nullptr) {
        ++script->runs_;
        return script->handler_(dialog);
    }
    running.emplace_back(&dialog);
    int result = dialog.exec();
    running.pop_back();
    return result;
}

ModalScript::ModalScript(Handler handler)
    : handler_(std::move(handler)), outer_(std::exchange(script, this)) {}
ModalScript::~ModalScript() {
    script = outer_;
}

void RejectOpenModals() {
    for (auto it = running.rbegin(); it != running.rend(); ++it)
        if (*it) (*it)->reject();
}
