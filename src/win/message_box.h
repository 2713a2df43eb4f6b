#pragma once
#include <string>

// The program's message box: no owner, task-modal unless system-modal is asked for, the
// caption "信息：" when none is given. Returns OK 0, Cancel 1, Abort 2, Retry 3,
// Ignore 4, Yes 5, No 6, anything else 0.
int ShowMessage(const std::string& text, unsigned style, const char* caption = nullptr);
