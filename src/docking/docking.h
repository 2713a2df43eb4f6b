#pragma once

class MainWindow;

// 时钟_靠 tick: tucks the window away at a screen edge or brings it back.
void DockToScreenEdge(MainWindow& window);
