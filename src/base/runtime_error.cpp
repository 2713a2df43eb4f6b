#include "base/runtime_error.h"

std::string FatalErrorText(int code, const std::string& message)
{
    return "运行时出错!\r\n\r\n错误代码：" + std::to_string(code) + "\r\n\r\n错误信息：" + message + "\r\n";
}

std::string LoadFailureText()
{
    return std::string("运行时出错!\r\n\r\n错误信息：") + kLoadFailureMessage + "\r\n";
}
