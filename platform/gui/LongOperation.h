#pragma once

#include <functional>

class QWidget;

// Runs a long piece of work (an export): disables the window, shows the wait
// cursor and lets pending events run once before the work; enables the window
// and restores the cursor afterwards, also when the work fails (the error then
// goes on to the caller, after the window is usable again).
void RunLongOperation(QWidget* window, const std::function<void()>& work);
