// Text of the application's general error box: the message, with a full stop
// added when it does not already end with one.
#pragma once
#include <string>

inline std::string ErrorBoxText(std::string message) {
    if (message.empty() || message.back() != '.') message += '.';
    return message;
}
