#pragma once
#include <stdexcept>
#include <string>

// A fatal run-time error of the program: shown to the user with its code and message,
// after which the process ends with exit code -1 (see ShowFatalErrorAndExit).
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// The texts of the fatal error box. The box shows them byte for byte.
std::string FatalErrorText(int code, const std::string& message);
std::string LoadFailureText();

inline constexpr const char* kFatalCaption = "错误";
inline constexpr const char* kLoadFailureMessage = "载入启动窗口失败";
inline constexpr int kIndexBelowOneCode = 4;
inline constexpr int kIndexAboveLengthCode = 1;
inline constexpr const char* kIndexBelowOneMessage = "数组成员引用下标必须大于等于1";
inline constexpr const char* kIndexAboveLengthMessage = "数组成员引用下标超出定义范围";
