#pragma once

#include <string>
#include <vector>

namespace brimtor::test {

// A fresh temporary folder that HOME and the XDG folders point into for the life of the
// object, so no test ever reads or writes the real home. Restores the old values and deletes
// the folder when it goes.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& Path() const { return m_path; }
    // Path() + "/" + relative.
    std::string operator/(const std::string& relative) const;
    // Writes the bytes to Path()/relative, creating the folders on the way; returns the path.
    // Throws when the file cannot be written, so a broken set-up never passes for a wrong result.
    std::string WriteFile(const std::string& relative, const std::string& bytes) const;
    // Writes each line followed by CR LF, as a text file of links; returns the path.
    std::string WriteLines(const std::string& relative, const std::vector<std::string>& lines) const;

private:
    struct Saved {
        std::string name;
        bool wasSet = false;
        std::string value;
    };
    std::string m_path;
    std::vector<Saved> m_saved;
};

// The lines, each followed by CR LF (or by the line end given, for an LF file).
std::string CrLfLines(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n");

// The whole file, or "<missing>" when it cannot be read.
std::string ReadAll(const std::string& path);

// The names of the files directly in a folder, sorted.
std::vector<std::string> ListNames(const std::string& folder);

}  // namespace brimtor::test
