#pragma once
#include <cstddef>
#include <string>
#include <vector>

// An ordered list of texts addressed from 1, as the program's loops walk it.
// Reading outside 1..Length() is a fatal RuntimeError (codes 4 and 1).
class TextList {
public:
    TextList() = default;
    explicit TextList(std::vector<std::string> items) : items_(std::move(items)) {}

    int Length() const { return static_cast<int>(items_.size()); }
    const std::string& At(int position) const;
    void Append(std::string text) { items_.push_back(std::move(text)); }
    void Clear() { items_.clear(); }
    const std::vector<std::string>& Items() const { return items_; }

private:
    std::vector<std::string> items_;
};
