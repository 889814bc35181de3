// The program folder: the executable's folder with its trailing backslash. Every
// data path is that folder, a subfolder with its backslash, and a file name,
// joined by plain concatenation (never normalised). The program never creates
// these folders; a missing folder is a folder without the wanted file.
#pragma once
#include <string>

class ProgramFolder {
public:
    explicit ProgramFolder(std::string root) : root_(std::move(root)) {}

    const std::string& Root() const { return root_; }
    std::string ListFile() const { return root_ + "Sonoraflux.ini"; }
    std::string Page(const std::string& name) const { return root_ + "Pages\\" + name; }
    std::string Image(const std::string& name) const { return root_ + "Images\\" + name; }
    std::string TransitionFolder() const { return root_ + "Transition\\"; }
    std::string RecordingsFolder() const { return root_ + "Enregistrements\\"; }

private:
    std::string root_;
};

// The folder part of a full path, up to and including its last backslash.
inline std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
