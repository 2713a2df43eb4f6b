#pragma once

class MainWindow;

// 透明标签2 left button pressed: the hint goes for good.
void DestroyHintLabel(MainWindow& window);
