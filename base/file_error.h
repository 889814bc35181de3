// The error of the file layer, shared by every part that opens or creates
// files: the list file, the WAV file, the MP3 coder's files.
#pragma once
#include <stdexcept>
#include <string>

class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Cannot open file "<path>". <the system's reason>"
inline std::string CannotOpenFileMessage(const std::string& path, const std::string& reason) {
    return "Cannot open file \"" + path + "\". " + reason;
}

// "Cannot create file "<path>". <the system's reason>"
inline std::string CannotCreateFileMessage(const std::string& path, const std::string& reason) {
    return "Cannot create file \"" + path + "\". " + reason;
}
