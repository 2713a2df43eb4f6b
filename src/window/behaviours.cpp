#include "window/behaviours.h"

#include "window/main_window.h"

void DestroyHintLabel(MainWindow& window)
{
    window.透明标签2.Destroy();
}
