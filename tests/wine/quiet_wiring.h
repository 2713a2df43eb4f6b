#pragma once
#include <algorithm>
#include <vector>

#include "app/features.h"
#include "app/wiring.h"

// The program's wiring without the forum notice on closing, which waits for an answer:
// for programs that drive the window with nobody to answer it (the tests, the benchmarks).
inline std::vector<WiringRow> WiringWithoutForum(Features& features)
{
    std::vector<WiringRow> rows = MainWiring(features);
    std::erase_if(rows, [](const WiringRow& row) {
        const auto* handler = row.handler.target<void (*)(MainWindow&)>();
        return handler && *handler == &AnnounceForum;
    });
    return rows;
}
